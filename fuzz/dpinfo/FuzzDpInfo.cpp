// Any datagram as a DarkPlaces-protocol info answer: read or refused, within the bounds, and
// never without the challenge asked for.
#include <cstdlib>

#include "net/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    const auto info = ParseDpInfo(ByteView(data, size), "fm00000000");
    if (!info) {
        return 0;
    }
    if (info->Value("challenge") != "fm00000000" || !info->players.empty() ||
        info->info.size() > kMaxRules || info->hostName.size() > kMaxTextLength ||
        info->map.size() > kMaxTextLength ||
        (info->clients >= 0 && info->maxClients >= 0 && info->clients > info->maxClients)) {
        std::abort();
    }
    return 0;
}
