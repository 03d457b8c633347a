#include "platform/SocketAddress.h"

#include <cstring>
#include <mutex>
#include <string>

namespace fenmar::platform {

void detail::StartSockets() {
    static std::once_flag once;
    std::call_once(once, [] {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    });
}

namespace {

using detail::FromSockaddr;
using detail::ToSockaddr;

class WinUdpSocket final : public UdpSocket {
public:
    explicit WinUdpSocket(SOCKET s) : s_(s) {}
    ~WinUdpSocket() override { closesocket(s_); }

    bool Bind(const NetAddress& local) override {
        sockaddr_storage s;
        const int len = ToSockaddr(local, s);
        return ::bind(s_, reinterpret_cast<const sockaddr*>(&s), len) == 0;
    }
    bool Connect(const NetAddress& peer) override {
        sockaddr_storage s;
        const int len = ToSockaddr(peer, s);
        return ::connect(s_, reinterpret_cast<const sockaddr*>(&s), len) == 0;
    }
    std::optional<NetAddress> LocalAddress() const override {
        sockaddr_storage s{};
        int len = static_cast<int>(sizeof s);
        if (::getsockname(s_, reinterpret_cast<sockaddr*>(&s), &len) != 0) {
            return std::nullopt;
        }
        return FromSockaddr(s);
    }
    bool Send(std::span<const std::uint8_t> bytes, const std::optional<NetAddress>& to) override {
        const char* data = reinterpret_cast<const char*>(bytes.data());
        const int size = static_cast<int>(bytes.size());
        int sent;
        if (to) {
            sockaddr_storage s;
            const int len = ToSockaddr(*to, s);
            sent = ::sendto(s_, data, size, 0, reinterpret_cast<const sockaddr*>(&s), len);
        } else {
            sent = ::send(s_, data, size, 0);
        }
        return sent == size;
    }
    ReceiveResult Receive(std::span<std::uint8_t> buffer) override {
        ReceiveResult result;
        sockaddr_storage s{};
        int len = static_cast<int>(sizeof s);
        const int got =
            ::recvfrom(s_, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()),
                       0, reinterpret_cast<sockaddr*>(&s), &len);
        if (got == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK || error == WSAEINTR) {
                result.status = ReceiveStatus::Empty;
            } else if (error == WSAECONNRESET || error == WSAECONNREFUSED) {
                result.status = ReceiveStatus::Refused;  // the port-unreachable answer
            } else if (error == WSAEMSGSIZE) {
                result.status = ReceiveStatus::Datagram;
                result.truncated = true;
                result.size = buffer.size();
                if (auto from = FromSockaddr(s)) {
                    result.from = *from;
                }
            } else {
                result.status = ReceiveStatus::Failed;
            }
            return result;
        }
        result.status = ReceiveStatus::Datagram;
        result.size = static_cast<std::size_t>(got);
        if (auto from = FromSockaddr(s)) {
            result.from = *from;
        }
        return result;
    }
    std::intptr_t Handle() const override { return static_cast<std::intptr_t>(s_); }

private:
    SOCKET s_;
};

}  // namespace

std::unique_ptr<UdpSocket> UdpSocket::Open(bool v6, std::string* error) {
    detail::StartSockets();
    const SOCKET s = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        if (error != nullptr) {
            *error = "socket error " + std::to_string(WSAGetLastError());
        }
        return nullptr;
    }
    u_long nonBlocking = 1;
    // FIONBIO is an unsigned constant; the parameter is a long.
    ioctlsocket(s, static_cast<long>(FIONBIO), &nonBlocking);
    return std::make_unique<WinUdpSocket>(s);
}

std::vector<bool> WaitReadable(std::span<UdpSocket* const> sockets,
                               std::chrono::milliseconds timeout) {
    std::vector<WSAPOLLFD> fds(sockets.size());
    for (std::size_t i = 0; i < sockets.size(); ++i) {
        fds[i].fd = static_cast<SOCKET>(sockets[i]->Handle());
        fds[i].events = POLLRDNORM;
    }
    const auto ms = timeout.count() < 0 ? 0 : static_cast<INT>(timeout.count());
    std::vector<bool> readable(sockets.size(), false);
    if (fds.empty()) {
        Sleep(static_cast<DWORD>(ms));
        return readable;
    }
    if (WSAPoll(fds.data(), static_cast<ULONG>(fds.size()), ms) > 0) {
        for (std::size_t i = 0; i < fds.size(); ++i) {
            readable[i] = (fds[i].revents & (POLLRDNORM | POLLERR | POLLHUP)) != 0;
        }
    }
    return readable;
}

}  // namespace fenmar::platform
