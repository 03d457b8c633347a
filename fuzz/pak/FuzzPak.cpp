// Any bytes as a PAK archive, scanned with titles and without: the scanner lists entries or
// reports a read error, within bounded memory and time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "maps/BspMessage.h"
#include "maps/MapScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const bool dontScan : {false, true}) {
        fenmar::maps::MemorySource source(bytes);
        fenmar::maps::BinaryReader reader(source);
        std::vector<fenmar::maps::MapEntry> entries;
        try {
            fenmar::maps::ScanPak(reader, fenmar::maps::ScanOptions{0, dontScan}, entries);
        } catch (const fenmar::maps::ReadError&) {
        }
        // Every entry comes from a whole 64-byte directory record of the input.
        if (entries.size() > size / 64) {
            std::abort();
        }
        for (const auto& entry : entries) {
            if (entry.name.size() > 51 ||
                (dontScan && entry.description != fenmar::maps::kNotScanned)) {
                std::abort();
            }
        }
    }
    return 0;
}
