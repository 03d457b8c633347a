#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/UdpSocket.h"

namespace fenmar::platform {

namespace {

socklen_t ToSockaddr(const NetAddress& address, sockaddr_storage& out) {
    std::memset(&out, 0, sizeof out);
    if (address.v6) {
        sockaddr_in6 a{};
        a.sin6_family = AF_INET6;
        a.sin6_port = htons(address.port);
        std::memcpy(&a.sin6_addr, address.ip.data(), 16);
        std::memcpy(&out, &a, sizeof a);
        return sizeof a;
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(address.port);
    std::memcpy(&a.sin_addr, address.ip.data(), 4);
    std::memcpy(&out, &a, sizeof a);
    return sizeof a;
}

std::optional<NetAddress> FromSockaddr(const sockaddr_storage& in) {
    NetAddress address;
    if (in.ss_family == AF_INET) {
        sockaddr_in a{};
        std::memcpy(&a, &in, sizeof a);
        std::memcpy(address.ip.data(), &a.sin_addr, 4);
        address.port = ntohs(a.sin_port);
        return address;
    }
    if (in.ss_family == AF_INET6) {
        sockaddr_in6 a{};
        std::memcpy(&a, &in, sizeof a);
        address.v6 = true;
        std::memcpy(address.ip.data(), &a.sin6_addr, 16);
        address.port = ntohs(a.sin6_port);
        return address;
    }
    return std::nullopt;
}

class PosixUdpSocket final : public UdpSocket {
public:
    explicit PosixUdpSocket(int fd) : fd_(fd) {}
    ~PosixUdpSocket() override { ::close(fd_); }

    bool Bind(const NetAddress& local) override {
        sockaddr_storage s;
        const socklen_t len = ToSockaddr(local, s);
        return ::bind(fd_, reinterpret_cast<const sockaddr*>(&s), len) == 0;
    }
    bool Connect(const NetAddress& peer) override {
        sockaddr_storage s;
        const socklen_t len = ToSockaddr(peer, s);
        return ::connect(fd_, reinterpret_cast<const sockaddr*>(&s), len) == 0;
    }
    std::optional<NetAddress> LocalAddress() const override {
        sockaddr_storage s{};
        socklen_t len = sizeof s;
        if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&s), &len) != 0) {
            return std::nullopt;
        }
        return FromSockaddr(s);
    }
    bool Send(std::span<const std::uint8_t> bytes, const std::optional<NetAddress>& to) override {
        ssize_t sent;
        if (to) {
            sockaddr_storage s;
            const socklen_t len = ToSockaddr(*to, s);
            sent = ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                            reinterpret_cast<const sockaddr*>(&s), len);
        } else {
            sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        }
        return sent == static_cast<ssize_t>(bytes.size());
    }
    ReceiveResult Receive(std::span<std::uint8_t> buffer) override {
        ReceiveResult result;
        sockaddr_storage s{};
        socklen_t len = sizeof s;
        const ssize_t got = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_TRUNC,
                                       reinterpret_cast<sockaddr*>(&s), &len);
        if (got < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                result.status = ReceiveStatus::Empty;
            } else if (errno == ECONNREFUSED) {
                result.status = ReceiveStatus::Refused;
            } else {
                result.status = ReceiveStatus::Failed;
            }
            return result;
        }
        result.status = ReceiveStatus::Datagram;
        result.truncated = static_cast<std::size_t>(got) > buffer.size();
        result.size = result.truncated ? buffer.size() : static_cast<std::size_t>(got);
        if (auto from = FromSockaddr(s)) {
            result.from = *from;
        }
        return result;
    }
    std::intptr_t Handle() const override { return fd_; }

private:
    int fd_;
};

}  // namespace

std::optional<NetAddress> ParseNumericAddress(const std::string& host, std::uint16_t port) {
    NetAddress address;
    address.port = port;
    if (::inet_pton(AF_INET, host.c_str(), address.ip.data()) == 1) {
        return address;
    }
    if (::inet_pton(AF_INET6, host.c_str(), address.ip.data()) == 1) {
        address.v6 = true;
        return address;
    }
    return std::nullopt;
}

std::vector<NetAddress> ResolveHost(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    std::vector<NetAddress> found;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) {
        return found;
    }
    for (addrinfo* it = list; it != nullptr; it = it->ai_next) {
        sockaddr_storage s{};
        if (it->ai_addrlen > sizeof s) {
            continue;
        }
        std::memcpy(&s, it->ai_addr, it->ai_addrlen);
        if (auto address = FromSockaddr(s)) {
            address->port = port;
            found.push_back(*address);
        }
    }
    ::freeaddrinfo(list);
    return found;
}

std::unique_ptr<UdpSocket> UdpSocket::Open(bool v6, std::string* error) {
    const int fd = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (error != nullptr) {
            *error = std::strerror(errno);
        }
        return nullptr;
    }
    return std::make_unique<PosixUdpSocket>(fd);
}

std::vector<bool> WaitReadable(std::span<UdpSocket* const> sockets,
                               std::chrono::milliseconds timeout) {
    std::vector<pollfd> fds(sockets.size());
    for (std::size_t i = 0; i < sockets.size(); ++i) {
        fds[i].fd = static_cast<int>(sockets[i]->Handle());
        fds[i].events = POLLIN;
    }
    const auto ms = timeout.count() < 0 ? 0 : static_cast<int>(timeout.count());
    std::vector<bool> readable(sockets.size(), false);
    if (::poll(fds.data(), static_cast<nfds_t>(fds.size()), ms) > 0) {
        for (std::size_t i = 0; i < fds.size(); ++i) {
            readable[i] = (fds[i].revents & (POLLIN | POLLERR)) != 0;
        }
    }
    return readable;
}

}  // namespace fenmar::platform
