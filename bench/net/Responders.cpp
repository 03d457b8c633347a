#include "Responders.h"

#include <array>

#include "Responder.h"
#include "net/Protocol.h"

namespace fenmar::bench {

Responders::Responders(int count, bool answer) {
    const auto local = *platform::ParseNumericAddress("127.0.0.1", 0);
    for (int i = 0; i < count; ++i) {
        auto socket = platform::UdpSocket::Open(false);
        socket->Bind(local);
        addresses_.push_back(socket->LocalAddress()->ToString());
        sockets_.push_back(std::move(socket));
    }
    if (!answer) {
        return;
    }
    thread_ = std::thread([this] {
        const net::Bytes infoAnswer =
            net::testing::NqServerInfoAnswer("Bench server", "start", 0, 8);
        const net::Bytes lastRule = net::testing::NqLastRuleAnswer();
        std::vector<platform::UdpSocket*> all;
        for (auto& s : sockets_) {
            all.push_back(s.get());
        }
        std::array<std::uint8_t, 2048> buffer;
        while (!stop_) {
            const auto readable = platform::WaitReadable(all, std::chrono::milliseconds(10));
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (!readable[i]) {
                    continue;
                }
                const auto got = all[i]->Receive(buffer);
                if (got.status != platform::ReceiveStatus::Datagram || got.size < 5) {
                    continue;
                }
                if (buffer[4] == net::kCcreqServerInfo) {
                    all[i]->Send(infoAnswer, got.from);
                } else if (buffer[4] == net::kCcreqRuleInfo) {
                    all[i]->Send(lastRule, got.from);
                }
            }
        }
    });
}

Responders::~Responders() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::vector<std::string> MixedAddresses(const Responders& responders, int total,
                                        const Responders* silent) {
    // Ports bound and closed again: nobody listens there afterwards.
    std::vector<std::string> closed;
    {
        std::vector<std::unique_ptr<platform::UdpSocket>> held;
        const auto local = *platform::ParseNumericAddress("127.0.0.1", 0);
        for (int i = static_cast<int>(responders.Addresses().size()); i < total; ++i) {
            auto socket = platform::UdpSocket::Open(false);
            socket->Bind(local);
            closed.push_back(socket->LocalAddress()->ToString());
            held.push_back(std::move(socket));
        }
    }
    std::vector<std::string> out;
    std::size_t a = 0, c = 0;
    for (int i = 0; i < total; ++i) {
        const bool answering = i % 10 == 0 && a < responders.Addresses().size();
        if (answering) {
            out.push_back(responders.Addresses()[a++]);
        } else if (silent != nullptr && c < silent->Addresses().size()) {
            out.push_back(silent->Addresses()[c++]);
        } else {
            out.push_back(closed[c++]);
        }
    }
    return out;
}

}  // namespace fenmar::bench
