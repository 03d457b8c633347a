#pragma once
// The central directory of a zip archive read on its own, for what the zip library does not
// hand out: where each entry's local header lies. Records that share or overlap another's
// bytes are how a small archive makes one compressed stream count many times.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maps/BinaryReader.h"

namespace fenmar::maps {

struct ZipRecord {
    std::string name;          // raw bytes, as in the directory
    std::uint64_t offset = 0;  // of the local header
    // The bytes from the local header to the end of the compressed data (extra fields and a
    // data descriptor not counted, so honest neighbours never seem to overlap).
    std::uint64_t span = 0;
};

struct ZipDirectory {
    std::uint64_t offset = 0;        // where the central directory starts
    std::vector<ZipRecord> records;  // in directory order
};

// The directory of the archive of `size` bytes in `reader` (zip64 included); nullopt when no
// end record is found or the directory does not lie within the archive. Throws nothing.
std::optional<ZipDirectory> ReadZipDirectory(BinaryReader& reader, std::uint64_t size);

// Per record: whether its bytes lie before the central directory and apart from every other
// record's.
std::vector<bool> SeparateRecords(const ZipDirectory& directory);

}  // namespace fenmar::maps
