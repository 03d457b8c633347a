// Any datagram as a server-info answer: read or refused, texts bounded, counts consistent.
#include <cstdlib>

#include "net/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    const auto info = ParseNqServerInfo(ByteView(data, size));
    if (info && (info->hostName.size() > kMaxTextLength || info->map.size() > kMaxTextLength ||
                 info->players > info->maxPlayers || size > kMaxReplySize)) {
        std::abort();
    }
    return 0;
}
