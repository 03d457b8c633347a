#include "Responder.h"

#include <stdexcept>

namespace fenmar::net::testing {

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
        for (const Bytes& answer : script_(ByteView(buffer.data(), got.size), count)) {
            (elsewhere_ ? other_ : socket_)->Send(answer, got.from);
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

}  // namespace fenmar::net::testing
