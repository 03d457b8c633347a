#include "Responder.h"

#include <algorithm>
#include <stdexcept>

namespace fenmar::net::testing {

Bytes NqControl(std::uint8_t command, const Bytes& body) {
    const auto length = static_cast<std::uint32_t>(5 + body.size()) | 0x80000000u;
    Bytes out;
    for (const int shift : {24, 16, 8, 0}) {
        out.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    out.push_back(command);
    for (const std::uint8_t b : body) {
        out.push_back(b);
    }
    return out;
}

Bytes NqText(const std::string& text) {
    Bytes out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

namespace {
void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}
void AppendLong(Bytes& to, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) {
        to.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    }
}
}  // namespace

Bytes NqServerInfoAnswer(const std::string& host, const std::string& map, int players, int max) {
    Bytes body = NqText("127.0.0.1:26000");
    Append(body, NqText(host));
    Append(body, NqText(map));
    body.push_back(static_cast<std::uint8_t>(players));
    body.push_back(static_cast<std::uint8_t>(max));
    body.push_back(3);
    return NqControl(kCcrepServerInfo, body);
}

Bytes NqPlayerAnswer(int number, const std::string& name, int frags, int seconds) {
    Bytes body{static_cast<std::uint8_t>(number)};
    Append(body, NqText(name));
    AppendLong(body, 0x44);
    AppendLong(body, frags);
    AppendLong(body, seconds);
    Append(body, NqText("127.0.0.1:1234"));
    return NqControl(kCcrepPlayerInfo, body);
}

Bytes NqRuleAnswer(const std::string& name, const std::string& value) {
    Bytes body = NqText(name);
    Append(body, NqText(value));
    return NqControl(kCcrepRuleInfo, body);
}

Bytes NqLastRuleAnswer() {
    return NqControl(kCcrepRuleInfo, {});
}

Responder::Responder(Script script, bool v6) : script_(std::move(script)), v6_(v6) {
    socket_ = platform::UdpSocket::Open(v6);
    other_ = platform::UdpSocket::Open(v6);
    const auto local = platform::ParseNumericAddress(v6 ? "::1" : "127.0.0.1", 0);
    if (!socket_ || !other_ || !socket_->Bind(*local) || !other_->Bind(*local)) {
        throw std::runtime_error("cannot bind a UDP socket on the loopback address");
    }
    port_ = socket_->LocalAddress()->port;
    thread_ = std::thread([this] { Loop(); });
}

Responder::~Responder() {
    stop_ = true;
    thread_.join();
}

void Responder::Loop() {
    std::vector<std::uint8_t> buffer(65536);
    platform::UdpSocket* const sockets[] = {socket_.get()};
    while (!stop_) {
        if (!platform::WaitReadable(sockets, std::chrono::milliseconds(10))[0]) {
            continue;
        }
        const auto got = socket_->Receive(buffer);
        if (got.status != platform::ReceiveStatus::Datagram) {
            continue;
        }
        const int count = ++requests_;
        int sent = 0;
        for (const Bytes& answer : script_(ByteView(buffer.data(), got.size), count)) {
            (elsewhere_ ? other_ : socket_)->Send(answer, got.from);
            if (paced_ && ++sent % 16 == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
    }
}

Script NqServerScript(const std::string& host, const std::string& map, int max,
                      std::vector<std::pair<std::string, int>> players,
                      std::vector<std::pair<std::string, std::string>> rules) {
    return [=](ByteView request, int) -> std::vector<Bytes> {
        if (request.size() < 5 || request[0] != 0x80) {
            return {};
        }
        switch (request[4]) {
            case kCcreqServerInfo:
                return {NqServerInfoAnswer(host, map, static_cast<int>(players.size()), max)};
            case kCcreqPlayerInfo: {
                const std::size_t n = request.size() > 5 ? request[5] : 255;
                if (n >= players.size()) {
                    return {};
                }
                return {NqPlayerAnswer(static_cast<int>(n), players[n].first, players[n].second,
                                       60 * static_cast<int>(n + 1))};
            }
            case kCcreqRuleInfo: {
                const std::string previous(request.begin() + 5, request.end() - 1);
                std::size_t next = 0;
                if (!previous.empty()) {
                    while (next < rules.size() && rules[next].first != previous) {
                        ++next;
                    }
                    ++next;
                }
                if (next >= rules.size()) {
                    return {NqLastRuleAnswer()};
                }
                return {NqRuleAnswer(rules[next].first, rules[next].second)};
            }
            default:
                return {};
        }
    };
}

Bytes DpAnswer(const std::string& name, const std::string& info, const std::string& lines) {
    const std::string text = "\xFF\xFF\xFF\xFF" + name + "\n" + info + "\n" + lines;
    return Bytes(text.begin(), text.end());
}

std::string DpChallenge(ByteView request) {
    const std::string text(request.begin(), request.end());
    for (const std::string prefix : {"\xFF\xFF\xFF\xFFgetinfo ", "\xFF\xFF\xFF\xFFgetstatus "}) {
        if (text.rfind(prefix, 0) == 0) {
            return text.substr(prefix.size());
        }
    }
    return {};
}

Script DpServerScript(const std::string& host, const std::string& map, int max,
                      std::vector<std::pair<std::string, int>> players) {
    return [=](ByteView request, int) -> std::vector<Bytes> {
        const std::string challenge = DpChallenge(request);
        if (challenge.empty()) {
            return {};
        }
        const std::string info = "\\gamename\\DarkPlaces-Quake\\modname\\id1\\sv_maxclients\\" +
                                 std::to_string(max) + "\\clients\\" +
                                 std::to_string(players.size()) + "\\mapname\\" + map +
                                 "\\hostname\\" + host + "\\protocol\\3\\challenge\\" + challenge;
        if (request[4] == 'g' && request[7] == 'i') {
            return {DpAnswer("infoResponse", info)};
        }
        std::string lines;
        for (const auto& [name, frags] : players) {
            lines += std::to_string(frags) + " 40 \"" + name + "\"\n";
        }
        return {DpAnswer("statusResponse", info, lines)};
    };
}

namespace {
void AppendEntry(Bytes& to, const platform::NetAddress& a) {
    to.insert(to.end(), a.ip.begin(), a.ip.begin() + 4);
    to.push_back(static_cast<std::uint8_t>(a.port >> 8));
    to.push_back(static_cast<std::uint8_t>(a.port));
}
}  // namespace

Bytes QwMasterAnswer(const std::vector<platform::NetAddress>& servers) {
    Bytes out{0xFF, 0xFF, 0xFF, 0xFF, 'd', '\n'};
    for (const auto& a : servers) {
        AppendEntry(out, a);
    }
    return out;
}

std::vector<Bytes> DpMasterAnswers(const std::vector<platform::NetAddress>& servers,
                                   std::size_t perDatagram, bool cut) {
    const std::string header = "\xff\xff\xff\xffgetserversResponse";
    std::vector<Bytes> out;
    for (std::size_t i = 0; i == 0 || i < servers.size(); i += perDatagram) {
        Bytes datagram(header.begin(), header.end());
        for (std::size_t k = i; k < std::min(servers.size(), i + perDatagram); ++k) {
            datagram.push_back('\\');
            AppendEntry(datagram, servers[k]);
        }
        out.push_back(std::move(datagram));
    }
    if (cut) {
        out.back().resize(out.back().size() - 4);
    } else {
        const Bytes end{'\\', 'E', 'O', 'T', 0, 0, 0};
        out.back().insert(out.back().end(), end.begin(), end.end());
    }
    return out;
}

std::vector<platform::NetAddress> LoopbackServers(std::size_t count, std::uint16_t first) {
    std::vector<platform::NetAddress> out;
    for (std::size_t i = 0; i < count; ++i) {
        auto a = *platform::ParseNumericAddress("127.0.0.1", 0);
        a.port = static_cast<std::uint16_t>(first + i);
        out.push_back(a);
    }
    return out;
}

}  // namespace fenmar::net::testing
