#pragma once
// Titles remembered between openings of the map browser, keyed by path, size and time of last
// change, so that unchanged maps are not read again. The cache is a file of its own that can be
// thrown away at any time: a missing, locked or damaged cache only costs a fresh read.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapScan.h"

namespace fenmar::maps {

// One loose map file as last read.
struct CachedFile {
    std::string name;  // as spelled on disk
    std::int64_t size = 0;
    std::int64_t modified = 0;
    std::string title;

    bool operator==(const CachedFile&) const = default;
};

class MapCache {
public:
    // The cache in `file` (its directory is created), or nullptr when it cannot be opened or
    // the program was built without a database. A file that is no cache is replaced.
    static std::unique_ptr<MapCache> Open(const std::string& file);
    ~MapCache();
    MapCache(const MapCache&) = delete;
    MapCache& operator=(const MapCache&) = delete;

    // The files last stored for `directory`, in no particular order.
    std::vector<CachedFile> LoadDirectory(const std::string& directory);
    // Replaces everything stored for `directory` by `files`.
    void StoreDirectory(const std::string& directory, const std::vector<CachedFile>& files);

    // The entries of an archive scanned with the same size, time and threshold, if stored.
    std::optional<std::vector<MapEntry>> LoadArchive(const std::string& path, std::int64_t size,
                                                     std::int64_t modified,
                                                     std::int32_t minBSPSize);
    void StoreArchive(const std::string& path, std::int64_t size, std::int64_t modified,
                      std::int32_t minBSPSize, const std::vector<MapEntry>& entries);

private:
    struct Impl;
    explicit MapCache(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// $XDG_CACHE_HOME/fenmar/maps.sqlite, else ~/.cache/fenmar/maps.sqlite, else in
// %LOCALAPPDATA%\fenmar; "" when none of these is known.
std::string DefaultCacheFile();

// Archive entries packed into one value and back; Unpack gives nullopt for damaged bytes.
std::string PackEntries(const std::vector<MapEntry>& entries);
std::optional<std::vector<MapEntry>> UnpackEntries(std::string_view bytes);

}  // namespace fenmar::maps
