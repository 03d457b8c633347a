#pragma once
// A generated Quake directory for the benchmarks: id1/maps with loose maps and a patch
// "bench" whose pak0.pak and maps.pk3 hold as many map entries each. Made once, removed at
// exit.

#include <cstddef>
#include <string>

namespace fenmar::bench {

inline constexpr std::size_t kMapCount = 5000;
inline constexpr std::size_t kMapSize = 20480;  // the smallest size taken as a map

struct MapCollection {
    std::string quakeDir;
    std::string looseDir;  // quakeDir/id1/maps
    std::string patchDir;  // quakeDir/bench
    std::string pakPath;   // patchDir/pak0.pak
    std::string pk3Path;   // patchDir/maps.pk3 (deflated), "" without PK3 support
};

const MapCollection& Collection();

}  // namespace fenmar::bench
