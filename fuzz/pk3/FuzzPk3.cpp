// Any bytes as a PK3 archive, scanned with titles and without: the scanner lists safe map
// names, and reports an archive or a title it cannot read, within bounded memory and time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "maps/BspMessage.h"
#include "maps/Pk3Scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const bool dontScan : {false, true}) {
        const fenmar::maps::MapScan scan =
            fenmar::maps::ScanPk3Bytes(bytes, fenmar::maps::ScanOptions{0, dontScan});
        // Every entry needs at least a central record (46 bytes) and a local one (30 bytes) of
        // its own: records sharing their bytes are left out.
        if (scan.entries.size() > size / 76 || (!scan.found && !scan.entries.empty())) {
            std::abort();
        }
        for (const auto& entry : scan.entries) {
            if (entry.name.empty() || entry.name.find("..") != std::string::npos ||
                entry.name.front() == '/' ||
                (dontScan && entry.description != fenmar::maps::kNotScanned)) {
                std::abort();
            }
        }
    }
    return 0;
}
