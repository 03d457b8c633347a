// Any datagram as a QuakeWorld status answer: read or refused, within the bounds.
#include <cstdlib>

#include "net/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    const auto status = ParseQwStatus(ByteView(data, size));
    if (!status) {
        return 0;
    }
    if (status->info.size() > kMaxRules || status->players.size() > kMaxPlayers) {
        std::abort();
    }
    for (const auto& [key, value] : status->info) {
        if (key.empty() || key.size() > kMaxTextLength || value.size() > kMaxTextLength) {
            std::abort();
        }
    }
    for (const QwPlayer& p : status->players) {
        if (p.name.size() > kMaxTextLength) {
            std::abort();
        }
    }
    return 0;
}
