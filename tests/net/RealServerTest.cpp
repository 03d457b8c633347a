// The query against real servers (Debian's quakespasm, dedicated, and darkplaces-server, each
// on a private loopback port) and compared with Debian's qstat.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "AnswerSummary.h"
#include "ServerProcess.h"
#include "TempDir.h"
#include "net/QueryCommand.h"
#include "net/ServerQuery.h"
#include "platform/UdpSocket.h"

namespace fenmar::net {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* const kQuakespasm = "/usr/games/quakespasm";
const char* const kQuakestat = "/usr/bin/quakestat";
const char* const kDarkPlaces = "/usr/games/darkplaces-server";

std::uint16_t FreePort() {
    auto socket = platform::UdpSocket::Open(false);
    socket->Bind(*platform::ParseNumericAddress("127.0.0.1", 0));
    return socket->LocalAddress()->port;
}

// The text of the first <tag>...</tag> in quakestat's XML (plain text, no markup inside).
std::string XmlField(const std::string& xml, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    const std::size_t start = xml.find(open);
    const std::size_t end =
        start == std::string::npos ? start : xml.find("</" + tag + ">", start + open.size());
    if (end == std::string::npos) {
        return "<missing " + tag + ">";
    }
    return xml.substr(start + open.size(), end - start - open.size());
}

// A real server on a free loopback port, on a copy of the free game data; skipped where the
// program or the data is absent.
class RealServerBase : public ::testing::Test {
protected:
    void Start(const char* program, std::vector<std::string> args, ServerKind kind) {
        if (!testing::CanRunServers()) {
            GTEST_SKIP() << "the real server tests start Linux programs";
        }
        if (!fs::exists(program)) {
            GTEST_SKIP() << program << " is not installed";
        }
        const fs::path data = fs::path(FENMAR_QUAKE_FREE) / "id1";
        if (!fs::exists(data / "maps" / "start.bsp")) {
            GTEST_SKIP() << "no free game data at " << data;
        }
        fs::copy(data, dir_.Path() / "id1", fs::copy_options::recursive);
        port_ = FreePort();
        for (std::string& arg : args) {
            arg = arg == "PORT" ? std::to_string(port_) : arg == "BASEDIR" ? dir_.Str() : arg;
        }
        server_ = std::make_unique<testing::ServerProcess>(program, args);
        ASSERT_TRUE(server_->Started());
        // Up once it answers; a loaded machine may need a while to load the map.
        const auto until = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < until) {
            QueryOptions quick;
            quick.timeout = 500ms;
            quick.details = false;
            if (QueryServers({{Address(), kind}}, quick)[0].state == QueryState::Answered) {
                return;
            }
            std::this_thread::sleep_for(200ms);
        }
        FAIL() << program << " did not answer on port " << port_;
    }

    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

    fenmar::test::TempDir dir_;
    std::uint16_t port_ = 0;
    std::unique_ptr<testing::ServerProcess> server_;
};

class RealServer : public RealServerBase {
protected:
    void SetUp() override {
        Start(kQuakespasm,
              {"-dedicated", "6", "-port", "PORT", "-basedir", "BASEDIR", "+hostname", "FenmarTest",
               "+deathmatch", "1", "+fraglimit", "15", "+map", "start"},
              ServerKind::NetQuake);
    }
};

class RealDarkPlacesServer : public RealServerBase {
protected:
    void SetUp() override {
        Start(kDarkPlaces,
              {"-nohome", "-basedir", "BASEDIR", "-port", "PORT", "+hostname", "FenmarDP", "+map",
               "start"},
              ServerKind::DarkPlaces);
    }
};

TEST_F(RealServer, AnswersAsQstatSeesItWithTheRulesItWasStartedWith) {
    const auto results = QueryServers({{Address()}}, {});
    const ServerResult& r = results[0];
    ASSERT_EQ(r.state, QueryState::Answered);
    EXPECT_EQ(testing::Summary(r),
              std::tuple(QueryState::Answered, ServerKind::NetQuake, "FenmarTest", "start", 0, 6));
    EXPECT_GE(r.pingMs, 0);
    std::map<std::string, std::string> rules(r.rules.begin(), r.rules.end());
    EXPECT_EQ(rules["fraglimit"], "15");
    EXPECT_EQ(rules["teamplay"], "0");
    // quakespasm lists only the rules it announces to clients; deathmatch is among them
    // where the engine marks it so.
    if (rules.count("deathmatch") != 0) {
        EXPECT_EQ(rules["deathmatch"], "1");
    }

    if (!fs::exists(kQuakestat)) {
        GTEST_SKIP() << "qstat is not installed (" << kQuakestat << ")";
    }
    const std::string xml = testing::RunAndCapture(kQuakestat, {"-qs", Address(), "-xml"});
    EXPECT_EQ(XmlField(xml, "name"), r.hostName);
    EXPECT_EQ(XmlField(xml, "map"), r.map);
    EXPECT_EQ(XmlField(xml, "numplayers"), std::to_string(r.players));
    EXPECT_EQ(XmlField(xml, "maxplayers"), std::to_string(r.maxPlayers));
}

TEST_F(RealServer, TheCommandPrintsOneLineAndSucceeds) {
    std::ostringstream out, err;
    const std::string closed = "127.0.0.1:" + std::to_string(FreePort());
    EXPECT_EQ(RunQueryCommand({Address(), closed}, out, err, 1500ms), 0);
    const std::string text = out.str();
    const std::string first = text.substr(0, text.find('\n') + 1);
    const std::string expectedStart = Address() + "\tnq\tok\tFenmarTest\tstart\t0\t6\t";
    EXPECT_EQ(first.substr(0, expectedStart.size()), expectedStart) << text;
    EXPECT_EQ(text.substr(first.size()), closed + "\tnq\tno answer\t\t\t-\t-\t-\n");
}

TEST_F(RealDarkPlacesServer, IsFoundByItselfAndAnswersAsQstatSeesIt) {
    const auto results = QueryServers({{Address()}}, {});
    const ServerResult& r = results[0];
    EXPECT_EQ(testing::Summary(r),
              std::tuple(QueryState::Answered, ServerKind::DarkPlaces, "FenmarDP", "start", 0, 8));
    std::map<std::string, std::string> rules(r.rules.begin(), r.rules.end());
    EXPECT_EQ(rules["gamename"], "DarkPlaces-Quake");

    if (!fs::exists(kQuakestat)) {
        GTEST_SKIP() << "qstat is not installed (" << kQuakestat << ")";
    }
    const std::string xml = testing::RunAndCapture(kQuakestat, {"-nexuizs", Address(), "-xml"});
    EXPECT_EQ(XmlField(xml, "name"), r.hostName);
    EXPECT_EQ(XmlField(xml, "map"), r.map);
    EXPECT_EQ(XmlField(xml, "numplayers"), std::to_string(r.players));
    EXPECT_EQ(XmlField(xml, "maxplayers"), std::to_string(r.maxPlayers));

    // The server ignores a second question from one address within two seconds.
    std::this_thread::sleep_for(2500ms);
    std::ostringstream out, err;
    EXPECT_EQ(RunQueryCommand({Address()}, out, err, 3000ms), 0);
    const std::string expected = Address() + "\tdp\tok\tFenmarDP\tstart\t0\t8\t";
    EXPECT_EQ(out.str().substr(0, expected.size()), expected) << out.str();
}

}  // namespace
}  // namespace fenmar::net
