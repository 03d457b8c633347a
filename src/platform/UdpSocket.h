#pragma once
// UDP sockets for the server queries: numeric addresses, name look-up, connected datagram
// sockets that never block, and one wait over many of them.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar::platform {

// One IPv4 or IPv6 address with a port.
struct NetAddress {
    bool v6 = false;
    std::array<std::uint8_t, 16> ip{};  // IPv4 uses the first four bytes
    std::uint16_t port = 0;
    std::uint32_t scope = 0;  // IPv6: the interface of a link-local address (0: none)

    bool operator==(const NetAddress&) const = default;
    // "1.2.3.4:26000" or "[::1]:26000".
    std::string ToString() const;
};

// Reads a numeric IPv4 or IPv6 address (no brackets, no port; IPv6 perhaps with its scope,
// "fe80::1%eth0" or "fe80::1%2"); nullopt for anything else. Never touches the network.
std::optional<NetAddress> ParseNumericAddress(const std::string& host, std::uint16_t port);

// Looks a host name up through the system's resolver; may block for a long time, so callers
// run it away from their query loop. Empty when the name is unknown.
std::vector<NetAddress> ResolveHost(const std::string& host, std::uint16_t port);

enum class ReceiveStatus {
    Datagram,  // one datagram was read (possibly cut to the buffer: see `truncated`)
    Empty,     // nothing waiting
    Refused,   // the peer's system said nobody listens there
    Failed,    // any other error
};

struct ReceiveResult {
    ReceiveStatus status = ReceiveStatus::Empty;
    std::size_t size = 0;    // bytes stored in the buffer
    bool truncated = false;  // the datagram was larger than the buffer
    NetAddress from;
};

// A non-blocking UDP socket. Connect() fixes the one peer it talks to: the system then drops
// datagrams from anybody else and reports a closed port as Refused.
class UdpSocket {
public:
    virtual ~UdpSocket() = default;
    UdpSocket() = default;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // A new socket of the address's family; nullptr (and `error`) when the system refuses.
    static std::unique_ptr<UdpSocket> Open(bool v6, std::string* error = nullptr);

    virtual bool Bind(const NetAddress& local) = 0;
    virtual bool Connect(const NetAddress& peer) = 0;
    virtual std::optional<NetAddress> LocalAddress() const = 0;
    // Sends to the connected peer (`to` empty) or to `to`. False when the system refused.
    virtual bool Send(std::span<const std::uint8_t> bytes,
                      const std::optional<NetAddress>& to = std::nullopt) = 0;
    virtual ReceiveResult Receive(std::span<std::uint8_t> buffer) = 0;
    // The system's handle, for WaitReadable only.
    virtual std::intptr_t Handle() const = 0;
};

// Waits until at least one of the sockets has something to read, or the time is up. Returns
// for each socket whether it is readable (also when an error such as Refused is pending).
std::vector<bool> WaitReadable(std::span<UdpSocket* const> sockets,
                               std::chrono::milliseconds timeout);

}  // namespace fenmar::platform
