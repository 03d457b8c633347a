#pragma once
// Summaries and pictures of maps remembered beside their titles, in the same cache file and
// under the same key (MapKey): a table of their own, so a picture or summary found here
// never needs the map to be read again. Like the titles, it may be thrown away at any time.

#include <memory>
#include <optional>
#include <string>

#include "maps/MapDetails.h"

namespace fenmar::maps {

class MapDetailCache {
public:
    // The cache in `file`, or nullptr when it cannot be opened or the program was built
    // without a database.
    static std::unique_ptr<MapDetailCache> Open(const std::string& file);
    ~MapDetailCache();
    MapDetailCache(const MapDetailCache&) = delete;
    MapDetailCache& operator=(const MapDetailCache&) = delete;

    // What is stored for the map with exactly this key (its picture only if one was stored);
    // nullopt when nothing is, or the stored bytes are damaged.
    std::optional<MapDetails> Load(const MapKey& key);
    // Stores the summary, and the picture when `details` has one; a picture stored earlier
    // under the same key stays when `details` has none.
    void Store(const MapKey& key, const MapDetails& details);

private:
    struct Impl;
    explicit MapDetailCache(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace fenmar::maps
