#pragma once
// The scans behind the map browser and `--list-maps`, in the browser's order, with the title
// cache, progress and cancelling. Runs on any thread; touches nothing but files and the cache.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "maps/MapCache.h"
#include "maps/MapScan.h"

namespace fenmar::maps {

struct ScanCounters {
    std::size_t headersRead = 0;  // map headers actually read from disk
    std::size_t cacheHits = 0;    // maps (loose or in archives) taken from the cache
    std::size_t archivesRead = 0;
    std::size_t archivesCached = 0;
    std::uint64_t bytesInflated = 0;  // from PK3 archives
};

struct ScanContext {
    MapCache* cache = nullptr;                       // none: every map is read
    const std::atomic<bool>* cancel = nullptr;       // set: the scan stops at the next file
    std::function<void(std::size_t done)> progress;  // called now and then with files done
    ScanCounters counters;
    std::size_t done = 0;

    bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
};

// ScanMapDirectory through the cache: only files whose FileKey changed are read. A title cut
// short by the budget is not remembered; a scan stopped early keeps what it read.
MapScan ScanMapDirectoryCached(const std::string& directory, const ScanOptions& options,
                               ScanContext& context);
// ScanPakFile or ScanPk3File through the cache, for the archive `file` listed in `directory`.
MapScan ScanArchiveCached(const std::string& directory, const platform::FileInfo& file,
                          const ScanOptions& options, ScanContext& context);

// The archives holding maps in `directory`: "pak*.pak" and "*.pk3" (the latter only where PK3
// support was built), in the order the file system lists them, with sizes and times.
struct ArchiveListing {
    bool found = false;  // the directory exists and holds at least one
    std::string error;
    std::vector<platform::FileInfo> files;
};
ArchiveListing FindArchives(const std::string& directory, bool withPk3);

enum class BrowserList { ID1, Patch, BuiltIn };

struct BrowserRequest {
    std::string quakePath;
    std::string patch;  // relative to quakePath; "" or "<none>" for none
    ScanOptions options;
};

// Fills the three lists in order and hands each to `done` when it is complete (entries not
// sorted). Left: id1/maps and id1's PK3 archives; middle: the patch's maps directory; right:
// the patch's PAK and PK3 archives. A read error ends the scan after handing over the list it
// happened in (with its error); a cancelled scan hands over nothing more. False when stopped.
bool ScanForBrowser(const BrowserRequest& request, ScanContext& context,
                    const std::function<void(BrowserList, MapScan)>& done);

// Sorts entries the way the browser's lists show them: ascending by name.
void SortLikeBrowser(std::vector<MapEntry>& entries);

// Prints "name<TAB>title" per map, one a line, in the browser's order (left, middle, right list,
// each sorted); `more` (when given) adds to each line what it returns for the map, after one
// more tab. Errors go to `err`. Returns 0; 1 after a read error or when the Quake or patch
// directory does not exist; 2 without a Quake directory or with a patch that is absolute or
// climbs out of it.
using ListMapsMore = std::function<std::string(BrowserList, const MapEntry&)>;
int RunListMapsCommand(const std::string& quakePath, const std::string& patch,
                       const ScanOptions& options, const std::string& cacheFile, std::ostream& out,
                       std::ostream& err, const ListMapsMore& more = {});

}  // namespace fenmar::maps
