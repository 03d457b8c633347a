// Any bytes as a catalogue: the reader returns releases with plain ids and start maps, or an
// error, within bounded time and memory; the filter takes whatever it read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "addons/AddOnFilter.h"
#include "addons/CatalogueReader.h"
#include "addons/Download.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::addons;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadLimits limits;
    limits.maxEntryBytes = 64 * 1024;
    const CatalogueResult result = ReadCatalogue(bytes, limits);
    if (!result.Ok() && !result.catalogue.Empty()) {
        std::abort();
    }
    for (const AddOn& addOn : result.catalogue.AddOns()) {
        if (!IsPlainFileName(addOn.id) || addOn.startMaps.empty() ||
            result.catalogue.Find(addOn.id) != &addOn) {
            std::abort();
        }
    }
    if (result.catalogue.Size() > size / 8 + 1) {
        std::abort();  // a release takes at least "<file/>"
    }
    AddOnFilter(result.catalogue.AddOns()).Match(bytes.substr(0, 16));
    return 0;
}
