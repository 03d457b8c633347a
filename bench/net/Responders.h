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
    explicit Responders(int count);
    ~Responders();
    const std::vector<std::string>& Addresses() const { return addresses_; }

private:
    std::vector<std::unique_ptr<platform::UdpSocket>> sockets_;
    std::vector<std::string> addresses_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// `answering` addresses of responders and the rest loopback ports nobody listens on, mixed.
std::vector<std::string> MixedAddresses(const Responders& responders, int total);

}  // namespace fenmar::bench
