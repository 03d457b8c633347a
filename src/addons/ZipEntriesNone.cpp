// Builds without the zip library: no archive is listed, so no add-on is installed.
#include "addons/ZipEntries.h"
#include "addons/ZipReader.h"

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

namespace detail {

struct ZipReader::Impl {};

ZipReader::ZipReader(const std::string&) : error_(kZipUnsupported) {}
ZipReader::~ZipReader() = default;

bool ZipReader::IsOpen() const {
    return false;
}

bool ZipReader::Extract(std::uint64_t, std::uint64_t,
                        const std::function<bool(const char*, std::size_t)>&) {
    return false;
}

}  // namespace detail

}  // namespace fenmar::addons
