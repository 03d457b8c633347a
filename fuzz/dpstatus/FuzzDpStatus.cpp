// Any datagram as a DarkPlaces-protocol status answer: read or refused, within the bounds.
#include <cstdlib>

#include "net/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    const auto status = ParseDpStatus(ByteView(data, size), "fm00000002");
    if (!status) {
        return 0;
    }
    if (status->Value("challenge") != "fm00000002" || status->info.size() > kMaxRules ||
        status->players.size() > kMaxPlayers) {
        std::abort();
    }
    for (const auto& [key, value] : status->info) {
        if (key.empty() || key.size() > kMaxTextLength || value.size() > kMaxTextLength) {
            std::abort();
        }
    }
    for (const DpPlayer& p : status->players) {
        if (p.name.size() > kMaxTextLength) {
            std::abort();
        }
    }
    return 0;
}
