// Built without a zip library: archives are never opened and hold no maps.
#include "maps/Pk3Scan.h"

namespace fenmar::maps {

bool Pk3Supported() {
    return false;
}

MapScan ScanPk3File(const std::string&, const ScanOptions&, Pk3Work*) {
    return {};
}

MapScan ScanPk3Bytes(std::span<const std::uint8_t>, const ScanOptions&, Pk3Work*) {
    return {};
}

bool ReadPk3Map(const std::string&, std::string_view, const std::function<void(ByteSource&)>&) {
    return false;
}

}  // namespace fenmar::maps
