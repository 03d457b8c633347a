// Master servers: reading their replies, and asking stand-in masters on 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "Responder.h"
#include "ServerProcess.h"
#include "net/MasterQuery.h"

namespace fenmar::net {
namespace {

using namespace std::chrono_literals;
using platform::NetAddress;
using testing::DpMasterAnswers;
using testing::LoopbackServers;
using testing::QwMasterAnswer;
using testing::Responder;

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::vector<std::string> Texts(const std::vector<NetAddress>& addresses) {
    std::vector<std::string> out;
    for (const NetAddress& a : addresses) {
        out.push_back(a.ToString());
    }
    return out;
}

TEST(MasterAddressReader, ReadsKindsAndFillsPorts) {
    struct Case {
        const char* text;
        const char* expected;  // MasterText, or "" for refused
    };
    const Case cases[] = {
        {"qw://master.example.org", "qw://master.example.org:27000"},
        {" DP://10.0.0.9 ", "dp://10.0.0.9:27950"},
        {"dp://[::1]:27951", "dp://[::1]:27951"},
        {"qw://10.0.0.9:28000", "qw://10.0.0.9:28000"},
        {"master.example.org:27000", "qw://master.example.org:27000"},
        {"master.example.org", "dp://master.example.org:27950"},
        {"nq://master.example.org", ""},
        {"dp://", ""},
        {"dp://host:0", ""},
    };
    for (const Case& c : cases) {
        const auto m = ParseMasterAddress(c.text);
        EXPECT_EQ(m ? MasterText(*m) : std::string(), c.expected) << c.text;
    }
}

TEST(MasterReplyReader, ReadsEntriesKeepsWhatPrecedesACutAndLeavesOutUnaskableAddresses) {
    const auto dp = [](const std::string& body) {
        return Text("\xff\xff\xff\xffgetserversResponse" + body);
    };
    const std::string entry1("\\\x0a\x00\x00\x01\x6d\x60", 7);    // 10.0.0.1:28000
    const std::string entry2("\\\x7f\x00\x00\x01\x65\x90", 7);    // 127.0.0.1:26000
    const std::string zeroPort("\\\x0a\x00\x00\x02\x00\x00", 7);  // port 0
    const std::string broadcast("\\\xff\xff\xff\xff\x65\x90", 7);
    const std::string multicast("\\\xe0\x00\x00\x01\x65\x90", 7);
    const std::string nowhere("\\\x00\x00\x00\x00\x65\x90", 7);
    const std::string end("\\EOT\0\0\0", 7);
    struct Case {
        Bytes packet;
        bool dpReader;
        bool read;
        std::vector<std::string> servers;
        bool last;
    };
    const Case cases[] = {
        {dp(entry1 + entry2 + end), true, true, {"10.0.0.1:28000", "127.0.0.1:26000"}, true},
        {dp(entry1 + entry2), true, true, {"10.0.0.1:28000", "127.0.0.1:26000"}, false},
        {dp(entry1 + entry2.substr(0, 4)), true, true, {"10.0.0.1:28000"}, false},
        {dp(zeroPort + broadcast + multicast + nowhere + entry2 + end),
         true,
         true,
         {"127.0.0.1:26000"},
         true},
        {dp(end), true, true, {}, true},
        {dp("x" + entry1), true, true, {}, false},
        {Text("\xff\xff\xff\xffgetserversResponsX"), true, false, {}, false},
        {Text(std::string("\xff\xff\xff\xff"
                          "d\n"
                          "\x0a\x00\x00\x01\x6d\x60\x7f\x00\x00\x01\x65",
                          17)),
         false,
         true,
         {"10.0.0.1:28000"},
         false},
        {Text(std::string("\xff\xff\xff\xff"
                          "d\n"
                          "\x7f\x00\x00\x01\x00\x00",
                          12)),
         false,
         true,
         {},
         false},
        {Text("\xff\xff\xff\xff"
              "c\n"),
         false,
         false,
         {},
         false},
        {Text("d\n"), false, false, {}, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const auto reply = c.dpReader ? ParseDpMasterReply(c.packet) : ParseQwMasterReply(c.packet);
        ASSERT_EQ(reply.has_value(), c.read) << "case " << i;
        if (reply) {
            EXPECT_EQ(Texts(reply->servers), c.servers) << "case " << i;
            EXPECT_EQ(reply->last, c.last) << "case " << i;
        }
    }
    std::string ext = "\xff\xff\xff\xffgetserversExtResponse/";
    ext += std::string(15, '\0') + "\x01" + "\x65\x90" + entry1 + end;
    const auto reply = ParseDpMasterReply(Text(ext));
    ASSERT_TRUE(reply);
    EXPECT_EQ(Texts(reply->servers),
              (std::vector<std::string>{"[0:0:0:0:0:0:0:1]:26000", "10.0.0.1:28000"}));
    EXPECT_TRUE(reply->last);
}

TEST(MasterRequests, AreTheBytesTheMastersExpect) {
    EXPECT_EQ(QwMasterRequest(), Text(std::string("c\n\0", 3)));
    EXPECT_EQ(DpMasterRequest("FTE-Quake"),
              Text("\xff\xff\xff\xffgetservers FTE-Quake 3 empty full"));
}

// A DarkPlaces-protocol stand-in answering each of its two requests with `answers(game)`.
testing::Script DpMaster(std::function<std::vector<Bytes>(const std::string&)> answers) {
    return [answers](ByteView request, int) -> std::vector<Bytes> {
        const std::string text(request.begin(), request.end());
        const std::string prefix = "\xff\xff\xff\xffgetservers ";
        if (text.rfind(prefix, 0) != 0) {
            return {};
        }
        return answers(text.substr(prefix.size(), text.find(' ', prefix.size()) - prefix.size()));
    };
}

TEST(MasterQueryLoop, MergesMastersOfBothKindsAndCostsOneTimeoutForASilentOne) {
    const auto qwServers = LoopbackServers(3, 27500);
    const auto dpGame1 = LoopbackServers(250, 30000);  // several datagrams
    const auto dpGame2 = LoopbackServers(2, 31000);
    Responder qw([&](ByteView request, int) -> std::vector<Bytes> {
        if (request.size() != 3 || request[0] != 'c') {
            return {};
        }
        return {QwMasterAnswer(qwServers)};
    });
    Responder several(DpMaster([&](const std::string& game) {
        return DpMasterAnswers(game == "DarkPlaces-Quake" ? dpGame1 : dpGame2, 100);
    }));
    // Lists one server of the first master again, and its own ones twice.
    Responder repeating(DpMaster([&](const std::string&) {
        auto list = LoopbackServers(2, 32000);
        list.push_back(dpGame2[0]);
        list.insert(list.end(), list.begin(), list.end());
        return DpMasterAnswers(list, 4);
    }));
    Responder cut(DpMaster([&](const std::string& game) {
        return DpMasterAnswers(LoopbackServers(3, game == "FTE-Quake" ? 33000 : 33100), 2, true);
    }));
    Responder silent([](ByteView, int) { return std::vector<Bytes>{}; });

    MasterOptions options;
    options.timeout = 800ms;
    const auto result = QueryMasters(
        {"qw://" + qw.Address(), "dp://" + several.Address(), "dp://" + repeating.Address(),
         "dp://" + cut.Address(), "dp://" + silent.Address(), "nq://127.0.0.1:1"},
        options);
    ASSERT_EQ(result.masters.size(), 6u);
    const std::pair<MasterState, std::size_t> expected[] = {
        {MasterState::Answered, 3},   {MasterState::Answered, 252}, {MasterState::Answered, 3},
        {MasterState::Incomplete, 4}, {MasterState::NoAnswer, 0},   {MasterState::BadAddress, 0}};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(std::pair(result.masters[i].state, result.masters[i].listed), expected[i])
            << result.masters[i].master;
    }
    EXPECT_EQ(result.servers.size(), 3u + 252 + 2 + 4) << "each server once";
    EXPECT_EQ(FoundServerText(result.servers.front()), "qw://127.0.0.1:27500");
    EXPECT_EQ(FoundServerText(result.servers[3]), "127.0.0.1:30000");
    EXPECT_EQ(result.servers[3].kind, ServerKind::DarkPlaces);
    EXPECT_EQ(silent.Requests(), 4) << "both games, and once more half-way";
    EXPECT_NE(MasterSummary(result).find("dp://" + silent.Address() + " no answer"),
              std::string::npos)
        << MasterSummary(result);
}

TEST(MasterQueryLoop, TakesAtMostTenThousandServersFromOneMaster) {
    const auto many = LoopbackServers(50000, 10000);
    Responder huge(DpMaster([&](const std::string&) { return DpMasterAnswers(many, 200); }));
    huge.PaceAnswers();
    MasterOptions options;
    options.timeout = 3000ms;
    const auto result = QueryMasters({"dp://" + huge.Address()}, options);
    EXPECT_EQ(result.masters[0].state, MasterState::Incomplete);
    EXPECT_EQ(result.masters[0].listed, kMaxMasterEntries);
    EXPECT_EQ(result.servers.size(), kMaxMasterEntries);
}

TEST(MasterQueryLoop, ListsWhatQstatListsForAQuakeWorldMaster) {
    const char* const quakestat = "/usr/bin/quakestat";
    if (!testing::CanRunServers() || !std::filesystem::exists(quakestat)) {
        GTEST_SKIP() << "qstat is not installed (" << quakestat << ")";
    }
    // Loopback ports only: qstat goes on to ask every server the master lists.
    const auto servers = LoopbackServers(40, 40000);
    Responder qw([&](ByteView, int) { return std::vector<Bytes>{QwMasterAnswer(servers)}; });
    const auto ours = QueryMasters({"qw://" + qw.Address()});
    ASSERT_EQ(ours.masters[0].state, MasterState::Answered);

    const std::string xml = testing::RunAndCapture(
        quakestat, {"-qwm", qw.Address(), "-xml", "-timeout", "1", "-retry", "1"});
    EXPECT_NE(
        xml.find("type=\"QWM\" address=\"" + qw.Address() + "\" status=\"UP\" servers=\"40\""),
        std::string::npos)
        << xml;
    std::vector<std::string> theirs;
    for (std::size_t at = xml.find("type=\"QWS\" address=\""); at != std::string::npos;
         at = xml.find("type=\"QWS\" address=\"", at + 1)) {
        const std::size_t start = at + 20;
        theirs.push_back("qw://" + xml.substr(start, xml.find('"', start) - start));
    }
    std::vector<std::string> mine;
    for (const FoundServer& s : ours.servers) {
        mine.push_back(FoundServerText(s));
    }
    std::sort(theirs.begin(), theirs.end());
    std::sort(mine.begin(), mine.end());
    EXPECT_EQ(mine, theirs);
}

}  // namespace
}  // namespace fenmar::net
