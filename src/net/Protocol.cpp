#include "net/Protocol.h"

#include <algorithm>
#include <charconv>

namespace fenmar::net {

namespace {

constexpr std::uint32_t kNetFlagCtl = 0x80000000u;
constexpr std::uint32_t kNetFlagLengthMask = 0x0000FFFFu;

// Reads a packet front to back; every read checks the bounds and a failed read poisons it.
class PacketReader {
public:
    explicit PacketReader(ByteView bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }

    std::uint8_t Byte() {
        if (!ok_ || pos_ >= bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return bytes_[pos_++];
    }
    std::int32_t Long() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        }
        return static_cast<std::int32_t>(v);
    }
    // A zero-terminated text; a missing terminator is damage. Long texts are cut.
    std::string Text() {
        std::string out;
        while (ok_) {
            if (pos_ >= bytes_.size()) {
                ok_ = false;
                break;
            }
            const std::uint8_t c = bytes_[pos_++];
            if (c == 0) {
                return out;
            }
            if (out.size() < kMaxTextLength) {
                out.push_back(static_cast<char>(c));
            }
        }
        return {};
    }

private:
    ByteView bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

Bytes ControlPacket(std::uint8_t command, const Bytes& body) {
    const std::uint32_t length = static_cast<std::uint32_t>(5 + body.size());
    const std::uint32_t header = kNetFlagCtl | length;
    Bytes out;
    out.reserve(length);
    for (const int shift : {24, 16, 8, 0}) {
        out.push_back(static_cast<std::uint8_t>(header >> shift));
    }
    out.push_back(command);
    for (const std::uint8_t b : body) {
        out.push_back(b);
    }
    return out;
}

// The reader positioned after the command byte of a sound control packet of `command`.
std::optional<PacketReader> OpenControl(ByteView packet, std::uint8_t command) {
    if (NqReplyCommand(packet) != command) {
        return std::nullopt;
    }
    PacketReader reader(packet.subspan(5));
    return reader;
}

bool ToInt(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// "\key\value\key\value...": pairs in order, at most kMaxRules kept; false for damage.
bool ReadInfoString(const std::string& line,
                    std::vector<std::pair<std::string, std::string>>& out) {
    if (line.empty() || line[0] != '\\') {
        return false;
    }
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start <= line.size()) {
        const std::size_t next = line.find('\\', start);
        const std::size_t end = next == std::string::npos ? line.size() : next;
        if (parts.size() < 2 * kMaxRules) {
            parts.push_back(line.substr(start, std::min(end - start, kMaxTextLength)));
        } else {
            parts.emplace_back();  // counted for the pairing check, not kept
        }
        if (next == std::string::npos) {
            break;
        }
        start = next + 1;
    }
    if (parts.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < parts.size() && out.size() < kMaxRules; i += 2) {
        if (parts[i].empty()) {
            return false;
        }
        out.emplace_back(parts[i], parts[i + 1]);
    }
    return true;
}

std::string InfoValue(const std::vector<std::pair<std::string, std::string>>& info,
                      const std::string& key) {
    for (const auto& [k, v] : info) {
        if (k == key) {
            return v;
        }
    }
    return {};
}

// The text of a connectionless answer after its four 0xFF bytes when it starts with `name`
// and a line break; cut at a zero byte.
std::optional<std::string> ConnectionlessBody(ByteView packet, std::string_view name) {
    if (!LooksLikeQw(packet) || packet.size() > kMaxReplySize) {
        return std::nullopt;
    }
    std::string text(packet.begin() + 4, packet.end());
    if (text.find('\0') != std::string::npos) {
        text.resize(text.find('\0'));
    }
    if (text.size() <= name.size() || text.compare(0, name.size(), name) != 0 ||
        text[name.size()] != '\n') {
        return std::nullopt;
    }
    return text.substr(name.size() + 1);
}

// The leading whole numbers of a player line, before its quoted name; false when one is damaged.
bool ReadNumbers(std::string_view head, std::span<int> numbers) {
    std::size_t pos = 0;
    for (int& n : numbers) {
        while (pos < head.size() && head[pos] == ' ') {
            ++pos;
        }
        const std::size_t end = head.find(' ', pos);
        if (end == std::string_view::npos || !ToInt(head.substr(pos, end - pos), n)) {
            return false;
        }
        pos = end;
    }
    return true;
}

std::optional<DpInfo> ParseDp(ByteView packet, std::string_view name,
                              const std::string& challenge) {
    const auto body = ConnectionlessBody(packet, name);
    if (!body) {
        return std::nullopt;
    }
    const std::size_t lineEnd = body->find('\n');
    DpInfo info;
    if (!ReadInfoString(body->substr(0, lineEnd), info.info) ||
        info.Value("challenge") != challenge) {
        return std::nullopt;
    }
    info.hostName = info.Value("hostname");
    info.map = info.Value("mapname");
    if (info.hostName.empty() && info.map.empty()) {
        return std::nullopt;
    }
    int number = 0;
    if (ToInt(info.Value("clients"), number) && number >= 0) {
        info.clients = number;
    }
    if (ToInt(info.Value("sv_maxclients"), number) && number >= 0) {
        info.maxClients = number;
    }
    if (info.clients >= 0 && info.maxClients >= 0 && info.clients > info.maxClients) {
        return std::nullopt;
    }
    // Player lines: frags ping "name" (some servers add a team number).
    std::size_t from = lineEnd == std::string::npos ? body->size() : lineEnd + 1;
    while (from < body->size()) {
        std::size_t end = body->find('\n', from);
        if (end == std::string::npos) {
            end = body->size();
        }
        const std::string_view line = std::string_view(*body).substr(from, end - from);
        from = end + 1;
        const std::size_t quote = line.find('"');
        const std::size_t closing =
            quote == std::string_view::npos ? quote : line.find('"', quote + 1);
        int numbers[2] = {};
        if (closing == std::string_view::npos || !ReadNumbers(line.substr(0, quote), numbers) ||
            info.players.size() >= kMaxPlayers) {
            continue;  // not a player line; the rest of the answer still counts
        }
        info.players.push_back(
            {numbers[0], numbers[1],
             std::string(line.substr(quote + 1, std::min(closing - quote - 1, kMaxTextLength)))});
    }
    return info;
}

}  // namespace

std::string QwStatus::Value(const std::string& key) const {
    return InfoValue(info, key);
}

std::string DpInfo::Value(const std::string& key) const {
    return InfoValue(info, key);
}

Bytes NqServerInfoRequest() {
    return ControlPacket(kCcreqServerInfo, {'Q', 'U', 'A', 'K', 'E', 0, kNetQuakeProtocol});
}

Bytes NqPlayerInfoRequest(std::uint8_t player) {
    return ControlPacket(kCcreqPlayerInfo, {player});
}

Bytes NqRuleInfoRequest(const std::string& previousRule) {
    Bytes body(previousRule.begin(), previousRule.end());
    body.push_back(0);
    return ControlPacket(kCcreqRuleInfo, body);
}

Bytes QwStatusRequest() {
    const std::string text = "\xFF\xFF\xFF\xFFstatus\n";
    return Bytes(text.begin(), text.end());
}

Bytes DpInfoRequest(const std::string& challenge) {
    const std::string text = "\xFF\xFF\xFF\xFFgetinfo " + challenge;
    return Bytes(text.begin(), text.end());
}

Bytes DpStatusRequest(const std::string& challenge) {
    const std::string text = "\xFF\xFF\xFF\xFFgetstatus " + challenge;
    return Bytes(text.begin(), text.end());
}

std::optional<std::uint8_t> NqReplyCommand(ByteView packet) {
    if (packet.size() < 5 || packet.size() > kMaxReplySize) {
        return std::nullopt;
    }
    const std::uint32_t header = static_cast<std::uint32_t>(packet[0]) << 24 |
                                 static_cast<std::uint32_t>(packet[1]) << 16 |
                                 static_cast<std::uint32_t>(packet[2]) << 8 | packet[3];
    // Exactly the control flag and the packet's own length: a cut or padded packet is damage.
    if ((header & ~kNetFlagLengthMask) != kNetFlagCtl ||
        (header & kNetFlagLengthMask) != packet.size()) {
        return std::nullopt;
    }
    return packet[4];
}

std::optional<NqServerInfo> ParseNqServerInfo(ByteView packet) {
    auto reader = OpenControl(packet, kCcrepServerInfo);
    if (!reader) {
        return std::nullopt;
    }
    NqServerInfo info;
    info.address = reader->Text();
    info.hostName = reader->Text();
    info.map = reader->Text();
    info.players = reader->Byte();
    info.maxPlayers = reader->Byte();
    info.protocol = reader->Byte();
    if (!reader->ok() || !reader->AtEnd() || info.players > info.maxPlayers) {
        return std::nullopt;
    }
    return info;
}

std::optional<NqPlayerInfo> ParseNqPlayerInfo(ByteView packet) {
    auto reader = OpenControl(packet, kCcrepPlayerInfo);
    if (!reader) {
        return std::nullopt;
    }
    NqPlayerInfo player;
    player.number = reader->Byte();
    player.name = reader->Text();
    player.colors = reader->Long();
    player.frags = reader->Long();
    player.connectTime = reader->Long();
    player.address = reader->Text();
    if (!reader->ok() || !reader->AtEnd()) {
        return std::nullopt;
    }
    return player;
}

std::optional<NqRuleInfo> ParseNqRuleInfo(ByteView packet) {
    auto reader = OpenControl(packet, kCcrepRuleInfo);
    if (!reader) {
        return std::nullopt;
    }
    NqRuleInfo rule;
    if (reader->AtEnd()) {
        rule.last = true;
        return rule;
    }
    rule.name = reader->Text();
    rule.value = reader->Text();
    if (!reader->ok() || !reader->AtEnd() || rule.name.empty()) {
        return std::nullopt;
    }
    return rule;
}

bool LooksLikeQw(ByteView packet) {
    return packet.size() >= 5 && packet[0] == 0xFF && packet[1] == 0xFF && packet[2] == 0xFF &&
           packet[3] == 0xFF;
}

std::optional<QwStatus> ParseQwStatus(ByteView packet) {
    if (!LooksLikeQw(packet) || packet.size() > kMaxReplySize || packet[4] != 'n') {
        return std::nullopt;
    }
    std::string text(packet.begin() + 5, packet.end());
    if (text.find('\0') != std::string::npos) {
        text.resize(text.find('\0'));
    }
    QwStatus status;
    // First line: "\key\value\key\value".
    std::size_t lineEnd = text.find('\n');
    if (!ReadInfoString(text.substr(0, lineEnd), status.info)) {
        return std::nullopt;
    }
    // Player lines: userid frags time ping "name" "skin" top bottom.
    while (lineEnd != std::string::npos && lineEnd + 1 < text.size()) {
        const std::size_t from = lineEnd + 1;
        lineEnd = text.find('\n', from);
        const std::string line =
            text.substr(from, lineEnd == std::string::npos ? std::string::npos : lineEnd - from);
        if (line.empty()) {
            continue;
        }
        const std::size_t quote = line.find('"');
        const std::size_t closing =
            quote == std::string::npos ? std::string::npos : line.find('"', quote + 1);
        if (closing == std::string::npos) {
            continue;  // not a player line; the rest of the answer still counts
        }
        int numbers[4] = {};
        if (ReadNumbers(std::string_view(line).substr(0, quote), numbers) &&
            status.players.size() < kMaxPlayers) {
            QwPlayer player{numbers[0], numbers[1], numbers[2], numbers[3],
                            line.substr(quote + 1, std::min(closing - quote - 1, kMaxTextLength))};
            status.players.push_back(std::move(player));
        }
    }
    return status;
}

}  // namespace fenmar::net

namespace fenmar::net {

std::optional<DpInfo> ParseDpInfo(ByteView packet, const std::string& challenge) {
    auto info = ParseDp(packet, "infoResponse", challenge);
    if (info) {
        info->players.clear();  // an info answer lists nobody
    }
    return info;
}

std::optional<DpInfo> ParseDpStatus(ByteView packet, const std::string& challenge) {
    return ParseDp(packet, "statusResponse", challenge);
}

std::string QuakeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(static_cast<unsigned char>(c) & 0x7F);
        if (u >= 0x20 && u < 0x7F) {
            out.push_back(static_cast<char>(u));
        } else if (u >= 0x12 && u <= 0x1B) {
            out.push_back(static_cast<char>('0' + (u - 0x12)));
        } else {
            switch (u) {
                case 0x10:
                    out.push_back('[');
                    break;
                case 0x11:
                    out.push_back(']');
                    break;
                case 0x05:
                case 0x0E:
                case 0x0F:
                case 0x1C:
                    out.push_back('.');  // the dot glyphs
                    break;
                case 0x1D:
                    out.push_back('<');  // the bar's ends and middle
                    break;
                case 0x1E:
                    out.push_back('=');
                    break;
                case 0x1F:
                    out.push_back('>');
                    break;
                case 0x09:
                case 0x0A:
                case 0x0D:
                    out.push_back(' ');
                    break;
                default:
                    out.push_back('#');  // the block glyphs, and the arrow at 0x7F
                    break;
            }
        }
    }
    return out;
}

}  // namespace fenmar::net
