// The query loop against small servers run by the tests on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "AnswerSummary.h"
#include "Responder.h"
#include "net/ServerQuery.h"

namespace fenmar::net {
namespace {

using namespace std::chrono_literals;
using testing::NqControl;
using testing::NqServerInfoAnswer;
using testing::NqServerScript;
using testing::Responder;
using testing::Summary;

// Generous: the machine may be loaded; what matters is that the loop ends by itself.
QueryOptions Options(std::chrono::milliseconds timeout = 1500ms) {
    QueryOptions options;
    options.timeout = timeout;
    return options;
}

// A loopback port nobody listens on: bound, noted and closed again.
std::uint16_t ClosedPort() {
    auto socket = platform::UdpSocket::Open(false);
    socket->Bind(*platform::ParseNumericAddress("127.0.0.1", 0));
    return socket->LocalAddress()->port;
}

TEST(QueryLoop, AsksANetQuakeServerForInfoPlayersAndRules) {
    Responder server(NqServerScript("Fenmar test", "e1m3", 8, {{"Ranger", 5}, {"Grunt", -1}},
                                    {{"deathmatch", "1"}, {"fraglimit", "15"}}));
    const auto results = QueryServers({{server.Address(), ServerKind::NetQuake}}, Options());
    ASSERT_EQ(results.size(), 1u);
    const ServerResult& r = results[0];
    EXPECT_EQ(Summary(r),
              std::tuple(QueryState::Answered, ServerKind::NetQuake, "Fenmar test", "e1m3", 2, 8));
    EXPECT_GE(r.pingMs, 0);
    ASSERT_EQ(r.playerList.size(), 2u);
    EXPECT_EQ(r.rules, (std::vector<std::pair<std::string, std::string>>{{"deathmatch", "1"},
                                                                         {"fraglimit", "15"}}));
}

TEST(QueryLoop, AsksQuakeWorldServersWithStatusAndFindsTheKindByItself) {
    const std::string answer =
        "\xFF\xFF\xFF\xFFn\\hostname\\QW box\\map\\dm6\\maxclients\\12\n1 3 7 20 \"a\" \"\" 0 0\n";
    Responder server([&](ByteView request, int) -> std::vector<Bytes> {
        const std::string text(request.begin(), request.end());
        if (text != "\xFF\xFF\xFF\xFFstatus\n") {
            return {};
        }
        return {Bytes(answer.begin(), answer.end())};
    });
    // With a port of its own, an entry of no forced kind asks both protocols.
    for (const ServerKind kind : {ServerKind::Auto, ServerKind::QuakeWorld}) {
        const auto results = QueryServers({{server.Address(), kind}}, Options());
        const ServerResult& r = results[0];
        EXPECT_EQ(Summary(r),
                  std::tuple(QueryState::Answered, ServerKind::QuakeWorld, "QW box", "dm6", 1, 12));
        ASSERT_EQ(r.playerList.size(), 1u);
        EXPECT_EQ(r.playerList[0].seconds, 7 * 60);
    }
    // Forced to NetQuake it never sends the QuakeWorld request.
    const int before = server.Requests();
    const auto nq = QueryServers({{server.Address(), ServerKind::NetQuake}}, Options(400ms));
    EXPECT_EQ(nq[0].state, QueryState::NoAnswer);
    EXPECT_EQ(server.Requests(), before + 2) << "the request and its one retry";
}

TEST(QueryLoop, ClosedAndSilentPortsEndAsNoAnswerWithinTheTimeoutAfterOneRetry) {
    Responder silent([](ByteView, int) { return std::vector<Bytes>{}; });
    const auto start = std::chrono::steady_clock::now();
    const auto results =
        QueryServers({{"127.0.0.1:" + std::to_string(ClosedPort()), ServerKind::NetQuake},
                      {silent.Address(), ServerKind::NetQuake}},
                     Options(800ms));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(results[0].state, QueryState::NoAnswer);
    EXPECT_EQ(results[1].state, QueryState::NoAnswer);
    EXPECT_EQ(silent.Requests(), 2);
    EXPECT_GE(took, 800ms);
    EXPECT_LT(took, 10s) << "the loop must end by itself";
}

TEST(QueryLoop, AServerThatMissesTheFirstRequestIsReachedByTheRetry) {
    auto script = NqServerScript("late", "start", 4, {}, {});
    Responder server([&](ByteView request, int count) {
        return count == 1 ? std::vector<Bytes>{} : script(request, count);
    });
    const auto results = QueryServers({{server.Address(), ServerKind::NetQuake}}, Options());
    EXPECT_EQ(results[0].state, QueryState::Answered);
    EXPECT_EQ(results[0].hostName, "late");
}

TEST(QueryLoop, IgnoresDamagedUnexpectedAndForeignAnswers) {
    // Garbage, cut answers and answers to questions never asked: not a Quake server.
    Responder garbage([](ByteView, int) {
        Bytes cut = NqServerInfoAnswer("h", "m", 0, 4);
        cut.pop_back();
        return std::vector<Bytes>{Bytes{1, 2, 3}, cut, testing::NqRuleAnswer("a", "b"),
                                  Bytes(kMaxReplySize + 100, 0x80)};
    });
    // A sound answer, but sent from another port than the one asked.
    Responder stranger(NqServerScript("stranger", "start", 4, {}, {}));
    stranger.AnswerFromElsewhere();
    const auto results = QueryServers(
        {{garbage.Address(), ServerKind::NetQuake}, {stranger.Address(), ServerKind::NetQuake}},
        Options(600ms));
    EXPECT_EQ(results[0].state, QueryState::NotQuake);
    EXPECT_EQ(results[0].hostName, "");
    EXPECT_EQ(results[1].state, QueryState::NoAnswer);
    EXPECT_EQ(results[1].hostName, "");
}

TEST(QueryLoop, AFloodingServerCannotHoldTheLoop) {
    Responder flood([](ByteView, int) { return std::vector<Bytes>(400, Bytes(1000, 0xFF)); });
    const auto start = std::chrono::steady_clock::now();
    const auto results = QueryServers({{flood.Address(), ServerKind::NetQuake}}, Options(600ms));
    EXPECT_EQ(results[0].state, QueryState::NotQuake);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(QueryLoop, AServerThatStopsAnsweringKeepsWhatItToldAndStaysOk) {
    Responder server([](ByteView request, int) -> std::vector<Bytes> {
        if (request[4] == kCcreqServerInfo) {
            return {NqServerInfoAnswer("half", "e1m1", 2, 4)};
        }
        if (request[4] == kCcreqPlayerInfo && request[5] == 0) {
            return {testing::NqPlayerAnswer(0, "one", 1, 1)};
        }
        return {};
    });
    const auto results = QueryServers({{server.Address(), ServerKind::NetQuake}}, Options(600ms));
    EXPECT_EQ(results[0].state, QueryState::Answered);
    EXPECT_EQ(results[0].hostName, "half");
    EXPECT_EQ(results[0].players, 2);
    ASSERT_EQ(results[0].playerList.size(), 1u);
    EXPECT_EQ(results[0].playerList[0].name, "one");
}

TEST(QueryLoop, RulesThatNeverEndAreBounded) {
    Responder endless([](ByteView request, int count) -> std::vector<Bytes> {
        if (request[4] == kCcreqServerInfo) {
            return {NqServerInfoAnswer("h", "m", 0, 4)};
        }
        return {testing::NqRuleAnswer("r" + std::to_string(count), "v")};
    });
    const auto results = QueryServers({{endless.Address(), ServerKind::NetQuake}}, Options());
    EXPECT_EQ(results[0].state, QueryState::Answered);
    EXPECT_EQ(results[0].rules.size(), kMaxRules);
}

TEST(QueryLoop, NamesAreLookedUpAndBadTextsReported) {
    Responder server(NqServerScript("named", "start", 2, {}, {}));
    const auto results = QueryServers(
        {{"localhost:" + std::to_string(server.Port())}, {"no such:host"}, {"[::1"}}, Options());
    EXPECT_EQ(results[0].state, QueryState::Answered);
    EXPECT_EQ(results[0].hostName, "named");
    EXPECT_EQ(results[1].state, QueryState::BadAddress);
    EXPECT_EQ(results[2].state, QueryState::BadAddress);
    EXPECT_STREQ(StateText(QueryState::NotQuake), "not a Quake server");
}

TEST(QueryLoop, NamesAreLookedUpSideBySideAndAHangingResolverCannotHoldTheQuery) {
    Responder server(NqServerScript("good", "start", 2, {}, {}));
    // Shared with the look-up threads, which may outlive the query (and this test's frame).
    struct Hang {
        std::mutex mutex;
        std::condition_variable released;
        bool release = false;
    };
    auto hang = std::make_shared<Hang>();
    QueryOptions options = Options(300ms);
    options.resolve = [hang](const std::string& host, std::uint16_t port) {
        if (host != "good.test") {
            std::unique_lock lock(hang->mutex);
            hang->released.wait_for(lock, 20s, [&] { return hang->release; });
            return std::vector<platform::NetAddress>{};
        }
        return std::vector<platform::NetAddress>{*platform::ParseNumericAddress("127.0.0.1", port)};
    };
    const std::string port = ":" + std::to_string(server.Port());
    const auto results = QueryServers({{"dead1.test" + port},
                                       {"dead2.test" + port},
                                       {"dead3.test" + port},
                                       {"dead4.test" + port},
                                       {"good.test" + port}},
                                      options);
    {
        const std::lock_guard lock(hang->mutex);
        hang->release = true;
    }
    hang->released.notify_all();
    // Looked up one after another, the good name would still wait behind the dead ones.
    EXPECT_EQ(results[4].state, QueryState::Answered);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(results[static_cast<std::size_t>(i)].state, QueryState::UnknownHost) << i;
    }
}

TEST(QueryLoop, AsksServersOnIpv6Addresses) {
    std::unique_ptr<Responder> server;
    try {
        server = std::make_unique<Responder>(NqServerScript("six", "e4m1", 4, {}, {}), true);
    } catch (const std::exception&) {
        GTEST_SKIP() << "no IPv6 loopback here";
    }
    const auto results = QueryServers({{server->Address()}, {"::1"}}, Options(600ms));
    EXPECT_EQ(results[0].state, QueryState::Answered);
    EXPECT_EQ(results[0].hostName, "six");
    // A bare IPv6 address is asked on the NetQuake port (whatever listens there).
    EXPECT_NE(results[1].state, QueryState::BadAddress);
    EXPECT_NE(results[1].state, QueryState::Waiting);
}

TEST(QueryLoop, ReportsEveryChangeAndStopsWhenCancelled) {
    Responder silent([](ByteView, int) { return std::vector<Bytes>{}; });
    std::atomic<bool> cancel{false};
    int updates = 0;
    const auto start = std::chrono::steady_clock::now();
    std::thread stopper([&] {
        std::this_thread::sleep_for(200ms);
        cancel = true;
    });
    const auto results = QueryServers(
        {{silent.Address()}, {"bad:address:x"}}, Options(60000ms),
        [&](std::size_t, const ServerResult&) { ++updates; }, &cancel);
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
    EXPECT_EQ(results[0].state, QueryState::Waiting);
    EXPECT_EQ(updates, 1) << "the bad address only";
}

}  // namespace
}  // namespace fenmar::net
