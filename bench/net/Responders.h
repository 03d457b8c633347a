#pragma once
// Small NetQuake servers for the benchmarks: many sockets on 127.0.0.1 served by one thread,
// each answering the server-info request (no players) and ending the rules at once.

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/UdpSocket.h"

namespace fenmar::bench {

class Responders {
public:
    // With `answer` false the sockets stay bound and silent: servers that never answer.
    explicit Responders(int count, bool answer = true);
    ~Responders();
    const std::vector<std::string>& Addresses() const { return addresses_; }

private:
    std::vector<std::unique_ptr<platform::UdpSocket>> sockets_;
    std::vector<std::string> addresses_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The responders' addresses and loopback ports nobody listens on, 500 in all, mixed; with
// `silent`, that many of the others are silent servers instead of closed ports.
std::vector<std::string> MixedAddresses(const Responders& responders, int total,
                                        const Responders* silent = nullptr);

}  // namespace fenmar::bench
