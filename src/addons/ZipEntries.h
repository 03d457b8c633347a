#pragma once
// Listing a release's zip before anything is written: every name, kind, size and ratio is
// checked, and one unsafe entry refuses the whole archive. Refused: names with a ".."
// component, absolute names, drive letters and ':' anywhere, control characters, Windows
// device names, symbolic links and devices (by the entry's Unix mode), encrypted entries,
// methods the zip library cannot inflate, names equal but for case to another entry (or to
// a folder another entry implies), and archives over the size, entry-count or ratio budget.
// '\\' in names counts as a separator, as some Windows zip programs write them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar::addons {

struct UnpackLimits {
    std::uint64_t maxTotalBytes = std::uint64_t{8} << 30;  // all entries inflated
    std::size_t maxEntries = 20000;
    // Inflated / compressed, for an entry larger than ratioFloor, and for the whole archive.
    std::uint64_t maxRatio = 100;
    std::uint64_t ratioFloor = 1u << 20;
    std::size_t maxNameBytes = 240;  // one entry's cleaned name
    std::size_t maxDepth = 16;       // folders in one name
};

struct ZipEntry {
    std::string name;  // cleaned: '/'-separated, relative, no "." components, no trailing '/'
    std::uint64_t index = 0;  // in the archive
    std::uint64_t size = 0;   // inflated
    std::uint64_t compressedSize = 0;
    bool directory = false;
};

struct ZipListing {
    std::vector<ZipEntry> entries;  // files and folders, in the archive's order
    std::uint64_t totalBytes = 0;   // of the files, inflated
    std::string error;              // non-empty: refused (the first unsafe entry named)
    bool Ok() const { return error.empty(); }
};

// False in a build without the zip library: installing add-ons is then unavailable.
bool ZipSupported();
// The message for that case.
inline constexpr std::string_view kZipUnsupported =
    "This build of Fenmar cannot unpack zip archives: installing add-ons is unavailable.";

ZipListing InspectZip(const std::string& path, const UnpackLimits& limits = {});
ZipListing InspectZipBytes(std::span<const std::uint8_t> bytes, const UnpackLimits& limits = {});

// The cleaned form of one entry name, or "" with `error` set when the name is unsafe.
// `directory` tells whether the name ended in a separator.
std::string CleanEntryName(std::string_view raw, bool& directory, std::string& error,
                           const UnpackLimits& limits = {});

}  // namespace fenmar::addons
