#pragma once
// Titles remembered between openings of the map browser, keyed by absolute path and FileKey, so
// that unchanged maps are not read again. The cache is a file of its own that can be thrown away
// at any time: a missing or locked cache only costs a fresh read, a damaged one is replaced.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapScan.h"
#include "platform/DirectoryList.h"

namespace fenmar::maps {

// Which version of a file a cached row belongs to, as the directory listing tells it. A file
// rewritten with its old size and written time kept (cp -p, rsync -t, unzip, FAT's 2-second
// times) still has another change time or identity: a row is used only while all four match.
struct FileKey {
    std::int64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    std::uint64_t identity = 0;

    bool operator==(const FileKey&) const = default;
    // False where the listing did not ask the system: such a file is never cached.
    bool Known() const { return modified != 0; }
};

FileKey KeyOf(const platform::FileInfo& file);

// The form of a directory or file path the cache is keyed by: absolute (taken from the working
// directory when relative) and without "." or ".." parts, so that every way of naming a
// directory finds the same rows.
std::string CachePath(const std::string& path);

// One loose map file as last read.
struct CachedFile {
    std::string name;  // as spelled on disk
    FileKey key;
    std::string title;

    bool operator==(const CachedFile&) const = default;
};

class MapCache {
public:
    // The cache in `file` (its directory is created), or nullptr when it cannot be opened now
    // (held by another program, no permission, too many open files) or the program was built
    // without a database. Only a file that is no cache, or a damaged one, is replaced.
    static std::unique_ptr<MapCache> Open(const std::string& file);
    ~MapCache();
    MapCache(const MapCache&) = delete;
    MapCache& operator=(const MapCache&) = delete;

    // Directories and archives are named by any path; CachePath gives the row's key.

    // The files last stored for `directory`, in no particular order.
    std::vector<CachedFile> LoadDirectory(const std::string& directory);
    // Replaces everything stored for `directory` by `files` when `whole` (a full scan of it);
    // otherwise adds or updates just these rows (a scan that stopped early).
    void StoreDirectory(const std::string& directory, const std::vector<CachedFile>& files,
                        bool whole = true);

    // The entries of the archive `name` in `directory` scanned with the same key and threshold,
    // if stored.
    std::optional<std::vector<MapEntry>> LoadArchive(const std::string& directory,
                                                     const std::string& name, const FileKey& key,
                                                     std::int32_t minBSPSize);
    void StoreArchive(const std::string& directory, const std::string& name, const FileKey& key,
                      std::int32_t minBSPSize, const std::vector<MapEntry>& entries);
    // After a full listing of the archives of `directory`: the rows of those not in `present`
    // (names as spelled on disk) go.
    void PruneArchives(const std::string& directory, const std::vector<std::string>& present);
    // The rows of directories that no longer exist go (a removed patch or Quake directory).
    void PruneVanished();

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
