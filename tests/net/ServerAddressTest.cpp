// Reading the addresses people list.
#include <gtest/gtest.h>

#include "net/ServerAddress.h"
#include "platform/UdpSocket.h"

namespace fenmar::net {
namespace {

struct AddressCase {
    const char* text;
    const char* host;
    int port;
    ServerKind kind;
};

TEST(ServerAddressReader, ReadsHostsPortsIpv6AndForcedKinds) {
    const AddressCase cases[] = {
        {"quake.example.org", "quake.example.org", 26000, ServerKind::Auto},
        {"quake.example.org:26001", "quake.example.org", 26001, ServerKind::Auto},
        {" 10.0.0.5 ", "10.0.0.5", 26000, ServerKind::Auto},
        {"10.0.0.5:27500", "10.0.0.5", 27500, ServerKind::Auto},
        {"[::1]:26010", "::1", 26010, ServerKind::Auto},
        {"[fe80::1]", "fe80::1", 26000, ServerKind::Auto},
        {"2001:db8::7", "2001:db8::7", 26000, ServerKind::Auto},
        {"qw://10.0.0.5", "10.0.0.5", 27500, ServerKind::QuakeWorld},
        {"QW://[::1]:27501", "::1", 27501, ServerKind::QuakeWorld},
        {"nq://host:27500", "host", 27500, ServerKind::NetQuake},
        {"dp://host", "host", 26000, ServerKind::DarkPlaces},
        {"[fe80::1%eth0]:26001", "fe80::1%eth0", 26001, ServerKind::Auto},
        {"fe80::1%2", "fe80::1%2", 26000, ServerKind::Auto},
        {"Dp://10.0.0.5:26001", "10.0.0.5", 26001, ServerKind::DarkPlaces},
    };
    for (const AddressCase& c : cases) {
        const auto a = ParseServerAddress(c.text);
        ASSERT_TRUE(a) << c.text;
        EXPECT_EQ(a->host, c.host) << c.text;
        EXPECT_EQ(a->port, c.port) << c.text;
        EXPECT_EQ(a->kind, c.kind) << c.text;
    }
}

TEST(ServerAddressReader, AForcedKindWinsAndPicksItsDefaultPort) {
    const auto qw = ParseServerAddress("host", ServerKind::QuakeWorld);
    ASSERT_TRUE(qw);
    EXPECT_EQ(qw->port, kQuakeWorldPort);
    EXPECT_EQ(qw->kind, ServerKind::QuakeWorld);
    const auto nq = ParseServerAddress("qw://host", ServerKind::NetQuake);
    ASSERT_TRUE(nq);
    EXPECT_EQ(nq->port, kNetQuakePort);
}

TEST(ServerAddressReader, RefusesTextsThatNameNoServer) {
    for (const char* text :
         {"",          "   ",       "host:",    "host:0",        "host:65536",
          "host:12ab", "host:-1",   "[::1",     "[]:5",          "[::1]x",
          "[::1]:",    "a b",       "qw://",    "<none>/x",      "host:26000:1x",
          "c:\\quake", "host%eth0", "fe80::1%", "[fe80::1%a%b]", "fe80::1%e:th0", "dp://"}) {
        EXPECT_FALSE(ParseServerAddress(text)) << text;
    }
    EXPECT_FALSE(ParseServerAddress(std::string(300, 'a')));
}

TEST(ServerAddressReader, ConnectTextDropsTheKindAndKeepsPortsAndScopes) {
    const std::pair<const char*, const char*> cases[] = {
        {"qw://host", "host"},
        {"nq://host:26001", "host:26001"},
        {"DP://10.0.0.5:26010", "10.0.0.5:26010"},
        {" host ", "host"},
        {"[::1]:27500", "[::1]:27500"},
        {"qw://[fe80::1%eth0]:27500", "[fe80::1%eth0]:27500"},
        {"fe80::1%eth0", "fe80::1%eth0"},
        {"not an address", "not an address"},
    };
    for (const auto& [listed, text] : cases) {
        EXPECT_EQ(ConnectText(listed), text) << listed;
    }
}

TEST(ServerAddressReader, AnIpv6ScopeReachesTheSocketAddress) {
    const auto numeric = platform::ParseNumericAddress("fe80::1%7", 26000);
    ASSERT_TRUE(numeric);
    EXPECT_TRUE(numeric->v6);
    EXPECT_EQ(numeric->scope, 7u);
    EXPECT_EQ(numeric->ToString(), "[fe80:0:0:0:0:0:0:1%7]:26000");
    // By name: the loopback interface has one on every system that runs these tests.
    const auto named = platform::ParseNumericAddress("fe80::1%lo", 26000);
    if (named) {
        EXPECT_NE(named->scope, 0u);
    }
    EXPECT_EQ(platform::ParseNumericAddress("::1", 1)->scope, 0u);
    EXPECT_FALSE(platform::ParseNumericAddress("fe80::1%no-such-interface", 1));
}

}  // namespace
}  // namespace fenmar::net
