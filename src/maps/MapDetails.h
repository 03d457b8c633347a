#pragma once
// A map's summary and picture, and where the maps of the browser's lists are found: loose in
// a "maps" directory, or inside a PAK or PK3 archive.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "maps/BrowserScan.h"
#include "maps/EntitySummary.h"
#include "maps/MapCache.h"
#include "maps/MapPreview.h"

namespace fenmar::maps {

// What the title cache keys a map by: the directory or archive it is listed in, its name
// there, and the listing's key of the file read (the map itself, or the whole archive).
struct MapKey {
    std::string container;  // the directory of a loose map, the path of an archive
    std::string entry;      // the file name as spelled on disk, or the map name in an archive
    FileKey file;

    bool operator==(const MapKey&) const = default;
};

enum class MapSourceKind { Loose, Pak, Pk3 };

struct MapLocation {
    MapSourceKind kind = MapSourceKind::Loose;
    MapKey key;
    std::int64_t offset = 0;  // in a PAK: where the map starts, and its length
    std::int64_t length = 0;
};

struct MapDetails {
    EntitySummary summary;
    std::optional<PreviewRaster> preview;  // asked for and drawn (empty for a map of no faces)
};

// The details of the map that starts at `start` of `source`; the picture only when asked for.
// Throws ReadError.
MapDetails ReadMapDetails(ByteSource& source, std::int64_t start, bool withPreview);
// The same for a located map; throws ReadError (also when the map is gone from its archive).
MapDetails ReadMapDetails(const MapLocation& location, bool withPreview);

// Where the maps of the browser's lists are, looked up by list and map name. Each list's
// directories and archives are listed on the first question about it.
class MapIndex {
public:
    explicit MapIndex(BrowserRequest request) : request_(std::move(request)) {}

    const MapLocation* Find(BrowserList list, std::string_view name);
    // The map as the game would find it: in the patch's archives, its maps directory, then in
    // id1's maps directory and archives.
    const MapLocation* FindAnywhere(std::string_view name);

private:
    using Names = std::map<std::string, MapLocation, std::less<>>;
    Names& ListOf(int which);
    Names lists_[4];  // the browser's three, and id1's PAK archives
    bool built_[4] = {};
    BrowserRequest request_;
};

}  // namespace fenmar::maps
