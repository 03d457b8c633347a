#pragma once
// The two query protocols: requests as bytes, and readers of the answers. Readers take any
// bytes and return nullopt for anything that is not exactly the answer they read.
//
// NetQuake: control packets, a 4-byte big-endian header (0x80000000 | length of the whole
// packet) and a command byte; texts end with a zero byte, numbers are little-endian.
// QuakeWorld: connectionless packets that start with four 0xFF bytes.
// DarkPlaces: connectionless too; "getinfo <challenge>" and "getstatus <challenge>" are answered
// with "infoResponse" and "statusResponse", each an info string "\key\value..." that repeats
// the challenge.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fenmar::net {

// Largest answer read at all; anything longer is dropped unread.
inline constexpr std::size_t kMaxReplySize = 8192;
// Longest text kept from an answer (host names, map names, rule values...).
inline constexpr std::size_t kMaxTextLength = 256;
// Most rules and players kept for one server.
inline constexpr std::size_t kMaxRules = 128;
inline constexpr std::size_t kMaxPlayers = 255;

inline constexpr std::uint8_t kCcreqServerInfo = 0x02;
inline constexpr std::uint8_t kCcreqPlayerInfo = 0x03;
inline constexpr std::uint8_t kCcreqRuleInfo = 0x04;
inline constexpr std::uint8_t kCcrepServerInfo = 0x83;
inline constexpr std::uint8_t kCcrepPlayerInfo = 0x84;
inline constexpr std::uint8_t kCcrepRuleInfo = 0x85;
inline constexpr std::uint8_t kNetQuakeProtocol = 3;

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

struct NqServerInfo {
    std::string address;  // the address the server believes it has
    std::string hostName;
    std::string map;
    int players = 0;
    int maxPlayers = 0;
    int protocol = 0;
};

struct NqPlayerInfo {
    int number = 0;
    std::string name;
    std::int32_t colors = 0;
    std::int32_t frags = 0;
    std::int32_t connectTime = 0;  // seconds
    std::string address;
};

// A rule answer: a name and value, or `last` when the server has no further rule.
struct NqRuleInfo {
    bool last = false;
    std::string name;
    std::string value;
};

struct QwPlayer {
    int userId = 0;
    int frags = 0;
    int time = 0;  // minutes
    int ping = 0;
    std::string name;
};

struct QwStatus {
    std::vector<std::pair<std::string, std::string>> info;  // in the server's order
    std::vector<QwPlayer> players;
    std::string Value(const std::string& key) const;  // "" when absent
};

struct DpPlayer {
    int frags = 0;
    int ping = 0;
    std::string name;
};

// A DarkPlaces-protocol answer: "infoResponse" has the info string only, "statusResponse" also
// one line per player. The numbers are read from the info string; -1 where absent or damaged.
struct DpInfo {
    std::vector<std::pair<std::string, std::string>> info;  // in the server's order
    std::vector<DpPlayer> players;                          // statusResponse only
    std::string hostName;
    std::string map;
    int clients = -1;                                 // "clients"
    int maxClients = -1;                              // "sv_maxclients"
    std::string Value(const std::string& key) const;  // "" when absent
};

Bytes NqServerInfoRequest();
Bytes NqPlayerInfoRequest(std::uint8_t player);
Bytes NqRuleInfoRequest(const std::string& previousRule);
Bytes QwStatusRequest();
Bytes DpInfoRequest(const std::string& challenge);
Bytes DpStatusRequest(const std::string& challenge);

// The command byte of a NetQuake control packet whose header is sound; nullopt otherwise.
std::optional<std::uint8_t> NqReplyCommand(ByteView packet);
std::optional<NqServerInfo> ParseNqServerInfo(ByteView packet);
std::optional<NqPlayerInfo> ParseNqPlayerInfo(ByteView packet);
std::optional<NqRuleInfo> ParseNqRuleInfo(ByteView packet);
// Does the packet start like a QuakeWorld connectionless answer?
bool LooksLikeQw(ByteView packet);
std::optional<QwStatus> ParseQwStatus(ByteView packet);
// The answers to DpInfoRequest and DpStatusRequest: nullopt unless the packet is the answer
// named, the info string is sound, it repeats `challenge` and it tells a host name or map.
std::optional<DpInfo> ParseDpInfo(ByteView packet, const std::string& challenge);
std::optional<DpInfo> ParseDpStatus(ByteView packet, const std::string& challenge);

// A text from a server in Quake's own character set, made plain printable ASCII: the high bit
// (coloured letters) cleared, the bracket and digit glyphs as their letters, every other control
// glyph as a visible stand-in; never a control character.
std::string QuakeText(std::string_view text);

}  // namespace fenmar::net
