// Any bytes as the packed entries of an archive in the title cache: unpacked within the bytes
// given, and packed again to the same bytes when accepted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "maps/MapCache.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto entries = fenmar::maps::UnpackEntries(bytes);
    if (entries && fenmar::maps::PackEntries(*entries) != bytes) {
        std::abort();
    }
    return 0;
}
