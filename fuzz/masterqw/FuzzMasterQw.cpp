// Any datagram as a QuakeWorld master reply: read or refused, within the bounds, and
// never an address nobody could be asked at.
#include <cstdlib>

#include "net/MasterProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    const auto reply = ParseQwMasterReply(ByteView(data, size));
    if (!reply) {
        return 0;
    }
    if (reply->servers.size() > kMaxMasterEntries || reply->servers.size() > size / 6) {
        std::abort();
    }
    for (const auto& a : reply->servers) {
        if (a.port == 0 || (!a.v6 && (a.ip[0] == 0 || a.ip[0] >= 224))) {
            std::abort();
        }
    }
    return 0;
}
