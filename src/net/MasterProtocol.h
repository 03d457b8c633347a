#pragma once
// Master servers: where engines find the servers that are up. Their addresses
// ("qw://host[:port]", "dp://host[:port]"), the requests as bytes, and readers of the
// replies. Readers take any bytes and return nullopt for anything that is not a reply.
//
// QuakeWorld masters (port 27000) answer "c\n\0" with one datagram: four 0xFF bytes, "d\n",
// then 6-byte entries (IPv4 address, port; big-endian).
// DarkPlaces-protocol masters (port 27950) answer "getservers GAME 3 empty full" with one or
// more datagrams "getserversResponse" followed by "\" + IPv4 + port entries; the last one of
// a reply ends with "\EOT\0\0\0". The extended reply also has "/" + IPv6 + port entries.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/Protocol.h"
#include "net/ServerAddress.h"
#include "platform/UdpSocket.h"

namespace fenmar::net {

inline constexpr std::uint16_t kQwMasterPort = 27000;
inline constexpr std::uint16_t kDpMasterPort = 27950;
// Most servers taken from one master in one refresh.
inline constexpr std::size_t kMaxMasterEntries = 10000;
// Largest master datagram read at all.
inline constexpr std::size_t kMaxMasterReplySize = 16384;
// The games a DarkPlaces-protocol master is asked for, one request each.
inline constexpr std::string_view kDpMasterGames[] = {"DarkPlaces-Quake", "FTE-Quake"};

struct MasterAddress {
    ServerKind kind = ServerKind::QuakeWorld;  // QuakeWorld or DarkPlaces
    std::string host;
    std::uint16_t port = kQwMasterPort;
};

// "qw://host[:port]" or "dp://host[:port]"; without a kind, a master on port 27000 is a
// QuakeWorld master and any other a DarkPlaces-protocol one. nullopt for anything else.
std::optional<MasterAddress> ParseMasterAddress(std::string_view text);
// The address as it is listed: "dp://host:27950", "qw://[::1]:27000".
std::string MasterText(const MasterAddress& master);

Bytes QwMasterRequest();
Bytes DpMasterRequest(std::string_view game);

struct MasterReply {
    std::vector<platform::NetAddress> servers;  // in the reply's order, as listed
    bool last = false;                          // DarkPlaces: the reply's final datagram
};

// Entries that name no server one could ask (port 0, 0.0.0.0/8, broadcast, multicast, the
// unspecified IPv6 address, IPv6 multicast) are left out. An entry cut off at the end of the
// datagram is dropped; the ones before it are kept.
std::optional<MasterReply> ParseQwMasterReply(ByteView packet);
std::optional<MasterReply> ParseDpMasterReply(ByteView packet);

}  // namespace fenmar::net
