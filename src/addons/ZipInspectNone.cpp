// Builds without the zip library: no archive is listed, so no add-on is installed.
#include "addons/ZipInspect.h"

namespace fenmar::addons {

bool ZipSupported() {
    return false;
}

ZipListing InspectZip(const std::string&, const UnpackLimits&) {
    return {{}, 0, std::string(kZipUnsupported)};
}

ZipListing InspectZipBytes(std::span<const std::uint8_t>, const UnpackLimits&) {
    return {{}, 0, std::string(kZipUnsupported)};
}

}  // namespace fenmar::addons
