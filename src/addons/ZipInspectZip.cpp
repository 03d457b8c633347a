#include <zip.h>

#include "addons/ZipInspect.h"

namespace fenmar::addons {

bool ZipSupported() {
    return true;
}

ZipListing InspectZip(const std::string&, const UnpackLimits&) {
    return {{}, 0, "not yet"};
}

ZipListing InspectZipBytes(std::span<const std::uint8_t>, const UnpackLimits&) {
    return {{}, 0, "not yet"};
}

}  // namespace fenmar::addons
