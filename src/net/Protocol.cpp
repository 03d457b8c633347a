#include "net/Protocol.h"

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

}  // namespace

std::string QwStatus::Value(const std::string& key) const {
    for (const auto& [k, v] : info) {
        if (k == key) {
            return v;
        }
    }
    return {};
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
    const std::string infoLine = text.substr(0, lineEnd);
    if (infoLine.empty() || infoLine[0] != '\\') {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start <= infoLine.size()) {
        const std::size_t next = infoLine.find('\\', start);
        const std::size_t end = next == std::string::npos ? infoLine.size() : next;
        parts.push_back(infoLine.substr(start, std::min(end - start, kMaxTextLength)));
        if (next == std::string::npos) {
            break;
        }
        start = next + 1;
    }
    if (parts.size() % 2 != 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i + 1 < parts.size() && status.info.size() < kMaxRules; i += 2) {
        if (parts[i].empty()) {
            return std::nullopt;
        }
        status.info.emplace_back(parts[i], parts[i + 1]);
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
        std::size_t pos = 0;
        const std::string head = line.substr(0, quote);
        for (int& n : numbers) {
            while (pos < head.size() && head[pos] == ' ') {
                ++pos;
            }
            const std::size_t end = head.find(' ', pos);
            if (end == std::string::npos ||
                !ToInt(std::string_view(head).substr(pos, end - pos), n)) {
                pos = std::string::npos;
                break;
            }
            pos = end;
        }
        if (pos != std::string::npos && status.players.size() < kMaxPlayers) {
            QwPlayer player{numbers[0], numbers[1], numbers[2], numbers[3],
                            line.substr(quote + 1, std::min(closing - quote - 1, kMaxTextLength))};
            status.players.push_back(std::move(player));
        }
    }
    return status;
}

}  // namespace fenmar::net
