#pragma once
// Lists the maps inside a PK3 archive (a zip file), each with its title. Entries that cannot
// be trusted - encrypted, compressed with an unknown method, claiming far more data than
// their compressed bytes can hold, with names leading out of "maps/", or simply damaged -
// are left out; only an archive that cannot be opened at all is a read error.

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

// False where the program was built without a zip library: no archive is then read.
bool Pk3Supported();

// "*.pk3", without regard to case.
bool IsPk3Name(std::string_view name);

// The map name of a zip entry ("maps/e1m1.bsp" gives "e1m1", "maps/Sub/X.bsp" gives "sub/x"),
// or "" when the entry is no map or its name is unsafe (absolute, "..", backslashes, empty
// parts, control characters).
std::string Pk3MapName(std::string_view entryName);

// The maps of the archive at `path` in the order of its central directory. `found` is true
// once the archive was opened; `error` is set when it could not be.
MapScan ScanPk3File(const std::string& path, const ScanOptions& options,
                    std::size_t* headersRead = nullptr);
// The same over bytes in memory.
MapScan ScanPk3Bytes(std::span<const std::uint8_t> bytes, const ScanOptions& options);

// Hands the map `mapName` (as Pk3MapName gives it) of the archive at `path` to `use` as a
// source of its bytes. False when the archive cannot be opened or holds no such readable map.
bool ReadPk3Map(const std::string& path, std::string_view mapName,
                const std::function<void(ByteSource&)>& use);

}  // namespace fenmar::maps
