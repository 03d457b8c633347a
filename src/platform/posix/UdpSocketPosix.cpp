#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/SocketAddress.h"

namespace fenmar::platform {

void detail::StartSockets() {}

namespace {

using detail::FromSockaddr;
using detail::ToSockaddr;

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
