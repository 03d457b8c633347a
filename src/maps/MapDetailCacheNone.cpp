// Built without a database: nothing is remembered.
#include "maps/MapDetailCache.h"

namespace fenmar::maps {

struct MapDetailCache::Impl {};

MapDetailCache::MapDetailCache(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MapDetailCache::~MapDetailCache() = default;

std::unique_ptr<MapDetailCache> MapDetailCache::Open(const std::string&) {
    return nullptr;
}

std::optional<MapDetails> MapDetailCache::Load(const MapKey&) {
    return std::nullopt;
}

void MapDetailCache::Store(const MapKey&, const MapDetails&) {}

}  // namespace fenmar::maps
