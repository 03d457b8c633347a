#pragma once
// Builds BSP files with geometry: rectangles at a height, facing up or down, with a texture
// name each, laid out as the compilers write them (version 29 or 30, or "BSP2").

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "MapFiles.h"

namespace fenmar::test {

struct Floor {
    float x0, y0, x1, y1, z;
    bool up = true;
    std::string texture = "floor1";
};

inline void PutFloat(std::string& bytes, float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    std::string four(4, '\0');
    PutInt32(four, 0, static_cast<std::int32_t>(bits));
    bytes += four;
}

inline void AppendInt(std::string& bytes, std::int64_t v, int width) {
    for (int i = 0; i < width; ++i) {
        bytes += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
    }
}

// `version` is 29, 30, or "BSP2"/"2PSB" read as a little-endian number.
inline std::string MakeGeometryBsp(const std::string& entities, const std::vector<Floor>& floors,
                                   std::uint32_t version = 29) {
    const bool wide = version != 29 && version != 30;
    std::string lumps[15];
    lumps[0] = entities + '\0';
    std::vector<std::string> textures;
    for (std::size_t i = 0; i < floors.size(); ++i) {
        const Floor& f = floors[i];
        // planes: normal, distance, type
        for (const float v : {0.0f, 0.0f, 1.0f, f.z}) {
            PutFloat(lumps[1], v);
        }
        AppendInt(lumps[1], 2, 4);
        const float corners[4][2] = {{f.x0, f.y0}, {f.x1, f.y0}, {f.x1, f.y1}, {f.x0, f.y1}};
        for (const auto& c : corners) {
            PutFloat(lumps[3], c[0]);
            PutFloat(lumps[3], c[1]);
            PutFloat(lumps[3], f.z);
        }
        for (int e = 0; e < 4; ++e) {
            AppendInt(lumps[12], static_cast<std::int64_t>(4 * i) + e, wide ? 4 : 2);
            AppendInt(lumps[12], static_cast<std::int64_t>(4 * i) + (e + 1) % 4, wide ? 4 : 2);
            AppendInt(lumps[13], static_cast<std::int64_t>(4 * i) + e, 4);
        }
        // texinfo: vectors, the texture, flags
        lumps[6] += std::string(32, '\0');
        AppendInt(lumps[6], static_cast<std::int64_t>(textures.size()), 4);
        AppendInt(lumps[6], 0, 4);
        textures.push_back(f.texture);
        // face: plane, side, first edge, edge count, texinfo, styles, light offset
        const int w = wide ? 4 : 2;
        AppendInt(lumps[7], static_cast<std::int64_t>(i), w);
        AppendInt(lumps[7], f.up ? 0 : 1, w);
        AppendInt(lumps[7], static_cast<std::int64_t>(4 * i), 4);
        AppendInt(lumps[7], 4, w);
        AppendInt(lumps[7], static_cast<std::int64_t>(i), w);
        AppendInt(lumps[7], 0, 4);
        AppendInt(lumps[7], -1, 4);
    }
    AppendInt(lumps[2], static_cast<std::int64_t>(textures.size()), 4);
    for (std::size_t i = 0; i < textures.size(); ++i) {
        AppendInt(lumps[2], static_cast<std::int64_t>(4 + 4 * textures.size() + 40 * i), 4);
    }
    for (const std::string& name : textures) {
        std::string mip(40, '\0');
        mip.replace(0, std::min<std::size_t>(15, name.size()), name.substr(0, 15));
        lumps[2] += mip;
    }
    // model 0: bounds, origin, head nodes, visible leaves, first face, face count
    lumps[14] = std::string(56, '\0');
    AppendInt(lumps[14], 0, 4);
    AppendInt(lumps[14], static_cast<std::int64_t>(floors.size()), 4);

    constexpr std::size_t kHeader = 4 + 15 * 8;
    std::string bytes(kHeader, '\0');
    PutInt32(bytes, 0, static_cast<std::int32_t>(version));
    for (int i = 0; i < 15; ++i) {
        PutInt32(bytes, 4 + 8 * static_cast<std::size_t>(i),
                 static_cast<std::int32_t>(bytes.size()));
        PutInt32(bytes, 8 + 8 * static_cast<std::size_t>(i),
                 static_cast<std::int32_t>(lumps[i].size()));
        bytes += lumps[i];
    }
    return bytes;
}

inline constexpr std::uint32_t kBsp2 = 0x32505342;  // "BSP2"
inline constexpr std::uint32_t k2psb = 0x42535032;  // "2PSB"

}  // namespace fenmar::test
