#include "net/MasterProtocol.h"

#include <algorithm>

namespace fenmar::net {

namespace {

constexpr std::string_view kQwReplyHeader(
    "\xff\xff\xff\xff"
    "d\n",
    6);
constexpr std::string_view kDpReplyHeader = "\xff\xff\xff\xffgetserversResponse";
constexpr std::string_view kDpExtReplyHeader = "\xff\xff\xff\xffgetserversExtResponse";
constexpr std::string_view kDpEnd("EOT\0\0\0", 6);

bool StartsWith(ByteView bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// Could a server be asked at this address? Never a broadcast, multicast or "nobody" address.
bool Askable(const platform::NetAddress& a) {
    if (a.port == 0) {
        return false;
    }
    if (!a.v6) {
        return a.ip[0] != 0 && a.ip[0] < 224;  // 0/8; 224/4 multicast; 240/4 and broadcast
    }
    if (a.ip[0] == 0xff) {
        return false;  // multicast
    }
    return std::any_of(a.ip.begin(), a.ip.end(), [](std::uint8_t b) { return b != 0; });
}

// An address of `ipSize` bytes and a big-endian port, from the front of `bytes`.
platform::NetAddress ReadEntry(ByteView bytes, std::size_t ipSize) {
    platform::NetAddress a;
    a.v6 = ipSize == 16;
    std::copy_n(bytes.begin(), ipSize, a.ip.begin());
    a.port = static_cast<std::uint16_t>((bytes[ipSize] << 8) | bytes[ipSize + 1]);
    return a;
}

void Keep(MasterReply& reply, const platform::NetAddress& a) {
    if (Askable(a) && reply.servers.size() < kMaxMasterEntries) {
        reply.servers.push_back(a);
    }
}

}  // namespace

std::optional<MasterAddress> ParseMasterAddress(std::string_view text) {
    const auto parsed = ParseServerAddress(text);
    if (!parsed || parsed->kind == ServerKind::NetQuake) {
        return std::nullopt;
    }
    MasterAddress master;
    master.kind = parsed->kind;
    if (master.kind == ServerKind::Auto) {
        master.kind = parsed->portGiven && parsed->port == kQwMasterPort ? ServerKind::QuakeWorld
                                                                         : ServerKind::DarkPlaces;
    }
    master.host = parsed->host;
    master.port = parsed->portGiven                       ? parsed->port
                  : master.kind == ServerKind::DarkPlaces ? kDpMasterPort
                                                          : kQwMasterPort;
    return master;
}

std::string MasterText(const MasterAddress& master) {
    const bool v6 = master.host.find(':') != std::string::npos;
    return std::string(KindName(master.kind)) + "://" + (v6 ? "[" : "") + master.host +
           (v6 ? "]" : "") + ":" + std::to_string(master.port);
}

Bytes QwMasterRequest() {
    return {'c', '\n', 0};
}

Bytes DpMasterRequest(std::string_view game) {
    const std::string text = "\xff\xff\xff\xffgetservers " + std::string(game) + " 3 empty full";
    return Bytes(text.begin(), text.end());
}

std::optional<MasterReply> ParseQwMasterReply(ByteView packet) {
    if (!StartsWith(packet, kQwReplyHeader)) {
        return std::nullopt;
    }
    MasterReply reply;
    ByteView rest = packet.subspan(kQwReplyHeader.size());
    while (rest.size() >= 6) {
        Keep(reply, ReadEntry(rest, 4));
        rest = rest.subspan(6);
    }
    return reply;
}

std::optional<MasterReply> ParseDpMasterReply(ByteView packet) {
    // The extended header starts like the plain one: test it first.
    const bool ext = StartsWith(packet, kDpExtReplyHeader);
    if (!ext && !StartsWith(packet, kDpReplyHeader)) {
        return std::nullopt;
    }
    MasterReply reply;
    ByteView rest = packet.subspan(ext ? kDpExtReplyHeader.size() : kDpReplyHeader.size());
    while (!rest.empty()) {
        const std::uint8_t mark = rest[0];
        rest = rest.subspan(1);
        if (mark == '\\' && StartsWith(rest, kDpEnd)) {
            reply.last = true;
            break;
        }
        const std::size_t ipSize = mark == '\\' ? 4 : (ext && mark == '/') ? 16 : 0;
        if (ipSize == 0 || rest.size() < ipSize + 2) {
            break;  // something else, or an entry cut off: keep what came before
        }
        Keep(reply, ReadEntry(rest, ipSize));
        rest = rest.subspan(ipSize + 2);
    }
    return reply;
}

}  // namespace fenmar::net
