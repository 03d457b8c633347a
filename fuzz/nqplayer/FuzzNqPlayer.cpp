// Any datagram as a player-info answer: read or refused, texts bounded.
#include <cstdlib>

#include "net/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    const auto player = ParseNqPlayerInfo(ByteView(data, size));
    if (player && (player->name.size() > kMaxTextLength || player->number > 255)) {
        std::abort();
    }
    return 0;
}
