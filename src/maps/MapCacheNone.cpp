// Built without a database: nothing is remembered, every opening reads the maps.
#include "maps/MapCache.h"

namespace fenmar::maps {

struct MapCache::Impl {};

MapCache::MapCache(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MapCache::~MapCache() = default;

std::unique_ptr<MapCache> MapCache::Open(const std::string&) {
    return nullptr;
}

std::vector<CachedFile> MapCache::LoadDirectory(const std::string&) {
    return {};
}

void MapCache::StoreDirectory(const std::string&, const std::vector<CachedFile>&, bool) {}

std::optional<std::vector<MapEntry>> MapCache::LoadArchive(const std::string&, const std::string&,
                                                           const FileKey&, std::int32_t) {
    return std::nullopt;
}

void MapCache::StoreArchive(const std::string&, const std::string&, const FileKey&, std::int32_t,
                            const std::vector<MapEntry>&) {}

void MapCache::PruneArchives(const std::string&, const std::vector<std::string>&) {}

void MapCache::PruneVanished() {}

}  // namespace fenmar::maps
