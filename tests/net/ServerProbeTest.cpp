// One server's questions and answers on a clock the test moves: retries, limits, round-trip
// times and servers that answer twice, late, in circles or not at all.
#include <gtest/gtest.h>

#include "AnswerSummary.h"
#include "Responder.h"
#include "net/ServerProbe.h"

namespace fenmar::net {
namespace {

using namespace std::chrono_literals;
using Event = ServerProbe::Event;
using testing::NqLastRuleAnswer;
using testing::NqPlayerAnswer;
using testing::NqRuleAnswer;
using testing::NqServerInfoAnswer;

constexpr auto kTimeout = 1000ms;

class Probe {
public:
    explicit Probe(const char* address = "nq://127.0.0.1:26000", bool details = true)
        : probe_(*ParseServerAddress(address), Options(details), 0) {
        probe_.Start(now_, sent_);
    }
    static QueryOptions Options(bool details) {
        QueryOptions options;
        options.timeout = kTimeout;
        options.details = details;
        return options;
    }
    // Moves the clock to `at` after the start, waking the probe whenever it asked to be.
    Event At(std::chrono::milliseconds at) {
        const auto until = start_ + at;
        Event last = Event::None;
        while (!probe_.Finished() && probe_.NextWake() <= until) {
            now_ = std::max(now_, probe_.NextWake());
            last = probe_.Wake(now_, sent_);
        }
        now_ = until;
        return last;
    }
    Event Reply(const Bytes& packet) { return probe_.Reply(packet, now_, sent_); }
    ServerProbe& operator*() { return probe_; }
    ServerProbe* operator->() { return &probe_; }
    std::vector<Bytes>& Sent() { return sent_; }

private:
    ServerProbe::Clock::time_point start_ = ServerProbe::Clock::time_point{} + 1h;
    ServerProbe::Clock::time_point now_ = start_;
    std::vector<Bytes> sent_;
    ServerProbe probe_;
};

TEST(ServerProbe, PingIsTimedFromTheSendTheAnswerAnswers) {
    // Answered after the retry went out: no way to tell which send it answers, so the first.
    Probe late;
    late.At(600ms);
    ASSERT_EQ(late.Sent().size(), 2u) << "the request and its retry";
    late.Reply(NqServerInfoAnswer("h", "m", 0, 4));
    EXPECT_EQ(late->Result().pingMs, 600);
    // A later question answered before its retry is a true round trip and wins.
    late.At(640ms);
    late.Reply(NqRuleAnswer("a", "1"));
    EXPECT_EQ(late->Result().pingMs, 40);
    // A late answer to a retried question says nothing of its own.
    late.At(1200ms);
    late.Reply(NqRuleAnswer("b", "1"));
    EXPECT_EQ(late->Result().pingMs, 40);

    // DarkPlaces-protocol questions carry challenges: the retry's answer is timed from the retry.
    Probe dp("dp://127.0.0.1:26000");
    dp.At(530ms);
    dp.Reply(testing::DpAnswer("infoResponse", "\\hostname\\dp\\challenge\\" + dp->Challenge(1)));
    EXPECT_EQ(dp->Result().kind, ServerKind::DarkPlaces);
    EXPECT_EQ(dp->Result().pingMs, 30);
}

TEST(ServerProbe, AServerThatAnsweredStaysOkWhateverItLeavesOut) {
    // Ignores the rule requests.
    Probe noRules;
    noRules.Reply(NqServerInfoAnswer("h", "m", 0, 4));
    EXPECT_EQ(noRules.At(5000ms), Event::Finished);
    EXPECT_EQ(noRules->Result().state, QueryState::Answered);
    // One of two players left before his answer; the other one is kept, and the rules asked.
    Probe playerLeft;
    EXPECT_EQ(playerLeft.Reply(NqServerInfoAnswer("h", "m", 2, 4)), Event::Changed);
    playerLeft.Reply(NqPlayerAnswer(1, "stays", 3, 60));
    playerLeft.At(1100ms);
    playerLeft.Reply(NqRuleAnswer("fraglimit", "10"));
    EXPECT_EQ(playerLeft.Reply(NqLastRuleAnswer()), Event::Finished);
    const ServerResult& r = playerLeft->Result();
    EXPECT_EQ(testing::Summary(r),
              std::tuple(QueryState::Answered, ServerKind::NetQuake, "h", "m", 2, 4));
    ASSERT_EQ(r.playerList.size(), 1u);
    EXPECT_EQ(r.playerList[0].name, "stays");
    EXPECT_EQ(r.rules.size(), 1u);
    // Nothing at all: no answer, after the one retry.
    Probe silent;
    EXPECT_EQ(silent.At(kTimeout), Event::Finished);
    EXPECT_EQ(silent->Result().state, QueryState::NoAnswer);
    EXPECT_EQ(silent.Sent().size(), 2u);
}

TEST(ServerProbe, AnswersRepeatedForRetriesAreTakenOnce) {
    Probe p;
    p.Reply(NqServerInfoAnswer("h", "m", 2, 4));
    for (int n : {0, 0, 1, 0, 1}) {
        p.Reply(NqPlayerAnswer(n, "p" + std::to_string(n), n, 60));
    }
    for (const char* rule : {"a", "a", "b", "b", "c"}) {
        p.Reply(NqRuleAnswer(rule, "v"));
    }
    EXPECT_EQ(p.Reply(NqLastRuleAnswer()), Event::Finished);
    EXPECT_EQ(p->Result().playerList.size(), 2u);
    EXPECT_EQ(p->Result().rules, (std::vector<std::pair<std::string, std::string>>{
                                     {"a", "v"}, {"b", "v"}, {"c", "v"}}));
}

TEST(ServerProbe, RulesInACircleOrWithoutEndStopInTime) {
    Probe circle;
    circle.Reply(NqServerInfoAnswer("h", "m", 0, 4));
    for (const char* rule : {"a", "b", "c"}) {
        EXPECT_EQ(circle.Reply(NqRuleAnswer(rule, "v")), Event::None);
    }
    EXPECT_EQ(circle.Reply(NqRuleAnswer("a", "v")), Event::Finished) << "a came before";
    EXPECT_EQ(circle->Result().rules.size(), 3u);
    EXPECT_EQ(circle->Result().state, QueryState::Answered);

    // Each rule just before its timer: the server's time in all still ends.
    Probe slow;
    slow.Reply(NqServerInfoAnswer("h", "m", 0, 4));
    int rules = 0;
    for (auto at = 400ms; !slow->Finished(); at += 400ms) {
        slow.At(at);
        if (!slow->Finished()) {
            slow.Reply(NqRuleAnswer("r" + std::to_string(++rules), "v"));
        }
    }
    EXPECT_EQ(slow->Result().state, QueryState::Answered);
    EXPECT_LE(rules, kDeadlineTimeouts * 1000 / 400);
}

TEST(ServerProbe, AnUnforcedAddressIsAskedInEveryWayAndTheFirstSoundAnswerDecides) {
    Probe any("127.0.0.1:27500", false);
    ASSERT_EQ(any.Sent().size(), 3u);
    EXPECT_EQ(any.Sent()[0], NqServerInfoRequest());
    EXPECT_EQ(any.Sent()[1], QwStatusRequest());
    EXPECT_EQ(any.Sent()[2], DpInfoRequest(any->Challenge(0)));
    // Another challenge is no answer to ours.
    any.Reply(testing::DpAnswer("infoResponse", "\\hostname\\x\\challenge\\guess"));
    EXPECT_FALSE(any->Finished());
    EXPECT_EQ(any.Reply(testing::DpAnswer("infoResponse",
                                          "\\hostname\\dp\\mapname\\start"
                                          "\\clients\\1\\sv_maxclients\\4"
                                          "\\challenge\\" +
                                              any->Challenge(0))),
              Event::Finished);
    EXPECT_EQ(testing::Summary(any->Result()),
              std::tuple(QueryState::Answered, ServerKind::DarkPlaces, "dp", "start", 1, 4));
    // Without a port of its own: not asked as a QuakeWorld server.
    Probe noPort("127.0.0.1", false);
    EXPECT_EQ(noPort.Sent().size(), 2u);
}

TEST(ServerProbe, ADarkPlacesServerTellsItsPlayersOnStatus) {
    Probe p("dp://127.0.0.1");
    const std::string info = "\\hostname\\dp\\mapname\\e1m1\\clients\\2\\sv_maxclients\\8";
    EXPECT_EQ(p.Reply(testing::DpAnswer("infoResponse", info + "\\challenge\\" + p->Challenge(0))),
              Event::Changed);
    ASSERT_EQ(p.Sent().back(), DpStatusRequest(p->Challenge(2)));
    EXPECT_EQ(p.Reply(testing::DpAnswer("statusResponse", info + "\\challenge\\" + p->Challenge(2),
                                        "5 30 \"one\"\n7 45 \"two\"\n")),
              Event::Finished);
    ASSERT_EQ(p->Result().playerList.size(), 2u);
    EXPECT_EQ(p->Result().playerList[1].ping, 45);
    EXPECT_EQ(p->Result().playerList[1].frags, 7);
    EXPECT_EQ(p->Result().rules.size(), 4u) << "the challenge is ours, not a rule";
}

}  // namespace
}  // namespace fenmar::net
