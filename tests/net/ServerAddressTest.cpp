// Reading the addresses people list.
#include <gtest/gtest.h>

#include "net/ServerAddress.h"

namespace fenmar::net {
namespace {

struct Case {
    const char* text;
    const char* host;
    int port;
    ServerKind kind;
};

TEST(ServerAddressReader, ReadsHostsPortsIpv6AndForcedKinds) {
    const Case cases[] = {
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
        {"Dp://10.0.0.5:26001", "10.0.0.5", 26001, ServerKind::DarkPlaces},
        {"dp://host", "host", 26000, ServerKind::DarkPlaces},
    };
    for (const Case& c : cases) {
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
         {"", "   ", "host:", "host:0", "host:65536", "host:12ab", "host:-1", "[::1", "[]:5",
          "[::1]x", "[::1]:", "a b", "qw://", "dp://", "<none>/x", "host:26000:1x", "c:\\quake"}) {
        EXPECT_FALSE(ParseServerAddress(text)) << text;
    }
    EXPECT_FALSE(ParseServerAddress(std::string(300, 'a')));
}

}  // namespace
}  // namespace fenmar::net
