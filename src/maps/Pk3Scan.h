#pragma once
// Lists the maps inside a PK3 archive (a zip file), each with its title. Entries that cannot
// be trusted - encrypted, compressed with an unknown method, claiming far more data than
// their compressed bytes can hold, with names leading out of "maps/", sharing or overlapping
// another entry's bytes - are left out. An archive that cannot be opened, and a map whose
// title cannot be read, are read errors, as for PAK archives.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "maps/MapScan.h"

namespace fenmar::maps {

// How many bytes of one entry are inflated at most to reach its title.
inline constexpr std::uint64_t kMaxPk3EntryRead = 256ull * 1024 * 1024;
// A deflated entry cannot grow more than about 1032 times; more is a forged size.
inline constexpr std::uint64_t kMaxDeflateRatio = 1100;
// How many bytes one archive inflates in all for its titles: this, or four times the archive's
// size where that is more. The maps after the budget ran out are listed as kNotScanned.
inline constexpr std::uint64_t kPk3ArchiveBudget = 256ull * 1024 * 1024;

// What the scan of one archive may spend, and what it spent.
struct Pk3Work {
    const std::atomic<bool>* cancel = nullptr;  // set: the scan stops within 16 KiB of inflating
    std::uint64_t budget = 0;                   // bytes to inflate; 0 for the rule above
    std::size_t headersRead = 0;                // maps whose header was read
    std::uint64_t inflated = 0;                 // bytes inflated
    bool cancelled = false;                     // the scan stopped for `cancel`
};

// False where the program was built without a zip library: no archive is then read.
bool Pk3Supported();

// "*.pk3", without regard to case.
bool IsPk3Name(std::string_view name);

// The map name of a zip entry ("maps/e1m1.bsp" gives "e1m1", "maps/Sub/X.bsp" gives "sub/x"),
// or "" when the entry is no map or its name is unsafe (absolute, "..", backslashes, empty
// parts, control characters).
std::string Pk3MapName(std::string_view entryName);

// The maps of the archive at `path` in the order of its central directory. `found` is true
// once the archive was opened; `error` is set when it could not be, or a title could not be
// read (the maps before it are kept). `titlesCut` is set when a budget ran out.
MapScan ScanPk3File(const std::string& path, const ScanOptions& options, Pk3Work* work = nullptr);
// The same over bytes in memory.
MapScan ScanPk3Bytes(std::span<const std::uint8_t> bytes, const ScanOptions& options,
                     Pk3Work* work = nullptr);

// Hands the map `mapName` (as Pk3MapName gives it) of the archive at `path` to `use` as a
// source of its bytes. False when the archive cannot be opened or holds no such readable map.
bool ReadPk3Map(const std::string& path, std::string_view mapName,
                const std::function<void(ByteSource&)>& use);

}  // namespace fenmar::maps
