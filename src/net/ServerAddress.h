#pragma once
// What the user lists as a server: "host", "host:port", "1.2.3.4", "[::1]:27500", a bare IPv6
// address, each optionally forced to one protocol with "nq://", "qw://" or "dp://" in front.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenmar::net {

enum class ServerKind { Auto, NetQuake, QuakeWorld, DarkPlaces };

inline constexpr std::uint16_t kNetQuakePort = 26000;
inline constexpr std::uint16_t kQuakeWorldPort = 27500;

struct ServerAddress {
    std::string host;  // a name or a numeric address without brackets
    std::uint16_t port = kNetQuakePort;
    bool portGiven = false;
    ServerKind kind = ServerKind::Auto;
};

// Reads one listed address; `forced` overrides the kind unless it is Auto. nullopt for texts
// that cannot name a server (empty, a port that is not 1..65535, unbalanced brackets, blanks).
std::optional<ServerAddress> ParseServerAddress(std::string_view text,
                                                ServerKind forced = ServerKind::Auto);

// "nq", "qw" or "dp" (Auto: "?").
const char* KindName(ServerKind kind);

}  // namespace fenmar::net
