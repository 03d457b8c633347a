#pragma once
// The world of a BSP map seen from above: the faces of model 0 that look upward, as flat
// polygons with a height each, read from the vertices, edges, surface edges, faces, planes,
// texture infos and textures of the file. Quake's version 29, the 30 of Half-Life maps, and
// "BSP2"/"2PSB" with their 32-bit edges and wider face records.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "maps/BinaryReader.h"

namespace fenmar::maps {

// How many bytes of lumps one map may make us read for its picture.
inline constexpr std::size_t kGeometryBudget = 96 * 1024 * 1024;
// Faces with more edges than this are left out (the compilers make far fewer).
inline constexpr std::int32_t kMaxFaceEdges = 256;

struct TopView {
    struct Face {
        std::uint32_t first = 0;  // its first point in `points`
        std::uint32_t count = 0;
        float height = 0;
    };
    std::vector<float> points;          // x, y of every polygon's corners, in turn
    std::vector<std::uint8_t> outline;  // per corner: the edge to the next corner is a border
    std::vector<Face> faces;            // lowest first
    float minX = 0, minY = 0, maxX = 0, maxY = 0, minZ = 0, maxZ = 0;

    bool Empty() const { return faces.empty(); }
};

// The map that starts at `start`. Throws ReadError for an unknown version, a lump beyond the
// end of the source, or lumps larger than `budget` in all (which they decrease). Faces whose
// indices lead outside their lumps, or whose corners are not finite numbers, are left out.
TopView ReadBspTopView(BinaryReader& reader, std::int64_t start, std::size_t& budget);

}  // namespace fenmar::maps
