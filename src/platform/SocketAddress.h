#pragma once

// The socket-address conversions and name lookups that the POSIX and Winsock sockets share;
// only this header and the two socket files see the system's socket headers.

#ifdef _WIN32
// inet_pton and WSAPoll need Windows Vista or later.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0600
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <optional>

#include "platform/UdpSocket.h"

namespace fenmar::platform::detail {

#ifdef _WIN32
using SockLen = int;
#else
using SockLen = socklen_t;
#endif

// Starts the system's socket library once; nothing to do on POSIX.
void StartSockets();

// Fills `out` with `address` and returns the length the system calls expect.
SockLen ToSockaddr(const NetAddress& address, sockaddr_storage& out);

// The address in `in`, or nothing for a family other than IPv4 and IPv6.
std::optional<NetAddress> FromSockaddr(const sockaddr_storage& in);

}  // namespace fenmar::platform::detail
