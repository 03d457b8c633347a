// Any bytes as a BSP file: the summary and picture readers either give a picture no larger than
// the stored size or report a read error, within bounded memory. The same bytes as the cache's
// packed summary and picture: unpacked within the bytes given, packed again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "maps/MapDetails.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::maps;
    const std::span<const std::uint8_t> bytes(data, size);
    MemorySource source(bytes);
    try {
        const MapDetails details = ReadMapDetails(source, 0, true);
        const PreviewRaster& r = *details.preview;
        if (r.width > kPreviewSide || r.height > kPreviewSide ||
            r.shades.size() !=
                static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height) ||
            details.summary.unknownClasses.size() > kMaxUnknownClasses) {
            std::abort();
        }
    } catch (const ReadError&) {
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto summary = UnpackSummary(text); summary && PackSummary(*summary) != text) {
        std::abort();
    }
    if (const auto raster = UnpackRaster(text);
        raster && UnpackRaster(PackRaster(*raster)) != raster) {
        std::abort();
    }
    return 0;
}
