#include "platform/SocketAddress.h"

#ifndef _WIN32
#include <arpa/inet.h>
#include <netdb.h>
#endif

#include <cstring>

namespace fenmar::platform {

namespace detail {

SockLen ToSockaddr(const NetAddress& address, sockaddr_storage& out) {
    std::memset(&out, 0, sizeof out);
    if (address.v6) {
        sockaddr_in6 a{};
        a.sin6_family = AF_INET6;
        a.sin6_port = htons(address.port);
        std::memcpy(&a.sin6_addr, address.ip.data(), 16);
        a.sin6_scope_id = address.scope;
        std::memcpy(&out, &a, sizeof a);
        return static_cast<SockLen>(sizeof a);
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(address.port);
    std::memcpy(&a.sin_addr, address.ip.data(), 4);
    std::memcpy(&out, &a, sizeof a);
    return static_cast<SockLen>(sizeof a);
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
        address.scope = a.sin6_scope_id;
        return address;
    }
    return std::nullopt;
}

}  // namespace detail

std::optional<NetAddress> ParseNumericAddress(const std::string& host, std::uint16_t port) {
    detail::StartSockets();
    NetAddress address;
    address.port = port;
    if (::inet_pton(AF_INET, host.c_str(), address.ip.data()) == 1) {
        return address;
    }
    if (::inet_pton(AF_INET6, host.c_str(), address.ip.data()) == 1) {
        address.v6 = true;
        return address;
    }
    // With a scope the system's reader turns the interface's name into its number; a numeric
    // host never asks a name service.
    if (host.find('%') != std::string::npos && host.find(':') != std::string::npos) {
        addrinfo hints{};
        hints.ai_family = AF_INET6;
        hints.ai_socktype = SOCK_DGRAM;
        hints.ai_flags = AI_NUMERICHOST;
        addrinfo* list = nullptr;
        if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || list == nullptr) {
            return std::nullopt;
        }
        sockaddr_storage s{};
        std::optional<NetAddress> found;
        if (list->ai_addrlen <= sizeof s) {
            std::memcpy(&s, list->ai_addr, list->ai_addrlen);
            found = detail::FromSockaddr(s);
        }
        ::freeaddrinfo(list);
        if (found) {
            found->port = port;
        }
        return found;
    }
    return std::nullopt;
}

std::vector<NetAddress> ResolveHost(const std::string& host, std::uint16_t port) {
    detail::StartSockets();
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
        if (auto address = detail::FromSockaddr(s)) {
            address->port = port;
            found.push_back(*address);
        }
    }
    ::freeaddrinfo(list);
    return found;
}

}  // namespace fenmar::platform
