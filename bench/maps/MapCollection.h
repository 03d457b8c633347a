#pragma once
// A generated Quake directory for the benchmarks: id1/maps with loose maps and a patch
// "bench" whose pak0.pak holds as many map entries. Made once, removed at exit.

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
};

const MapCollection& Collection();

}  // namespace fenmar::bench
