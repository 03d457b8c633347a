#include "maps/BspGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>
#include <span>

namespace fenmar::maps {

namespace {

enum Lump : int {
    kPlanes = 1,
    kTextures = 2,
    kVertices = 3,
    kTexInfo = 6,
    kFaces = 7,
    kEdges = 12,
    kSurfEdges = 13,
    kModels = 14,
    kLumpCount = 15
};

constexpr std::size_t kPlaneSize = 20;
constexpr std::size_t kVertexSize = 12;
constexpr std::size_t kTexInfoSize = 40;
constexpr std::size_t kModelSize = 64;
// A face "looks upward" when its normal is this close to straight up (about 70 degrees).
constexpr float kUpward = 0.34f;

struct Format {
    std::size_t edgeSize;
    std::size_t faceSize;
};

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint32_t U16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}
float F32(const std::uint8_t* p) {
    const std::uint32_t bits = U32(p);
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

Format FormatOf(std::uint32_t version) {
    constexpr std::uint32_t kBsp2 = 0x32505342;  // "BSP2"
    constexpr std::uint32_t k2psb = 0x42535032;  // "2PSB"
    if (version == 29 || version == 30) {
        return {4, 20};
    }
    if (version == kBsp2 || version == k2psb) {
        return {8, 28};
    }
    throw ReadError("Unknown BSP version");
}

// One lump's bytes. The memory is kept for the next map read on the same thread and not
// cleared first: every byte used is read from the file.
struct Block {
    std::unique_ptr<std::uint8_t[]> memory;
    std::size_t capacity = 0;
    std::size_t size = 0;

    std::span<std::uint8_t> Take(std::size_t n) {
        if (n > capacity) {
            memory.reset(new std::uint8_t[n]);
            capacity = n;
        }
        size = n;
        return {memory.get(), n};
    }
    void Release() {
        memory.reset();
        capacity = size = 0;
    }
    std::size_t Count(std::size_t recordSize) const { return size / recordSize; }
    const std::uint8_t* At(std::size_t index, std::size_t recordSize) const {
        return memory.get() + index * recordSize;
    }
};

// Lumps larger than this are not kept for the next map.
constexpr std::size_t kKeptBlock = 4 * 1024 * 1024;

// Whether faces with this texture are drawn: no sky, no trigger brushes.
bool DrawnTexture(const std::uint8_t* name16) {
    char name[17] = {};
    for (int i = 0; i < 16 && name16[i] != 0; ++i) {
        const char c = static_cast<char>(name16[i]);
        name[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return std::strncmp(name, "sky", 3) != 0 && std::strstr(name, "trigger") == nullptr;
}

// Per texture info: whether its faces are drawn (unnamed or missing textures are).
std::vector<std::uint8_t> DrawnTexInfos(const Block& texInfo, const Block& textures) {
    const std::size_t count = texInfo.Count(kTexInfoSize);
    std::vector<std::uint8_t> drawn(count, 1);
    const std::size_t size = textures.size;
    const std::uint32_t mipCount = size >= 4 ? U32(textures.At(0, 1)) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t mip = U32(texInfo.At(i, kTexInfoSize) + 32);
        if (mip >= mipCount || 4 + (static_cast<std::uint64_t>(mip) + 1) * 4 > size) {
            continue;
        }
        const std::uint32_t at = U32(textures.At(4 + mip * 4, 1));
        if (static_cast<std::uint64_t>(at) + 16 <= size) {
            drawn[i] = DrawnTexture(textures.At(at, 1)) ? 1 : 0;
        }
    }
    return drawn;
}

}  // namespace

TopView ReadBspTopView(BinaryReader& reader, std::int64_t start, std::size_t& budget) {
    std::array<std::uint8_t, 4 + kLumpCount * 8> header{};
    reader.ReadExact(start, header);
    const Format format = FormatOf(U32(header.data()));

    // The lumps needed, read in the order they lie in the file (a zip entry is a stream).
    constexpr int kNeeded[] = {kPlanes, kTextures, kVertices,  kTexInfo,
                               kFaces,  kEdges,    kSurfEdges, kModels};
    thread_local std::array<Block, kLumpCount> lumps;
    for (Block& block : lumps) {
        block.size = 0;
    }
    // What a large map took goes back once it is drawn.
    struct Trim {
        ~Trim() {
            for (Block& block : lumps) {
                if (block.capacity > kKeptBlock) {
                    block.Release();
                }
            }
        }
    } trim;
    std::vector<int> order(std::begin(kNeeded), std::end(kNeeded));
    const auto offsetOf = [&](int lump) {
        return U32(header.data() + 4 + static_cast<std::size_t>(lump) * 8);
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return offsetOf(a) < offsetOf(b); });
    for (const int lump : order) {
        const auto offset = static_cast<std::int32_t>(offsetOf(lump));
        const auto length =
            static_cast<std::int32_t>(U32(header.data() + 8 + static_cast<std::size_t>(lump) * 8));
        if (offset < 0 || length < 0) {
            throw ReadError(kReadBeyondEnd);
        }
        if (static_cast<std::size_t>(length) > budget) {
            throw ReadError("The map is too large to draw");
        }
        budget -= static_cast<std::size_t>(length);
        reader.ReadExact(start + offset, lumps[static_cast<std::size_t>(lump)].Take(
                                             static_cast<std::size_t>(length)));
    }

    const Block& planes = lumps[kPlanes];
    const Block& vertices = lumps[kVertices];
    const Block& faces = lumps[kFaces];
    const Block& edges = lumps[kEdges];
    const Block& surfEdges = lumps[kSurfEdges];
    const Block& texInfo = lumps[kTexInfo];
    const std::vector<std::uint8_t> drawnTexInfo = DrawnTexInfos(texInfo, lumps[kTextures]);

    TopView view;
    if (lumps[kModels].Count(kModelSize) == 0) {
        return view;
    }
    const std::uint8_t* world = lumps[kModels].At(0, kModelSize);
    const std::size_t faceCount = faces.Count(format.faceSize);
    const std::size_t firstFace = std::min<std::size_t>(U32(world + 56), faceCount);
    const std::size_t lastFace =
        firstFace + std::min<std::size_t>(U32(world + 60), faceCount - firstFace);
    const std::size_t edgeCount = edges.Count(format.edgeSize);
    const std::size_t surfCount = surfEdges.Count(4);
    const std::size_t vertexCount = vertices.Count(kVertexSize);
    const bool wide = format.faceSize == 28;

    std::vector<std::uint32_t> edgeOfPoint;  // the edge each corner starts
    std::vector<std::uint8_t> uses(edgeCount, 0);
    for (std::size_t f = firstFace; f < lastFace; ++f) {
        const std::uint8_t* face = faces.At(f, format.faceSize);
        const std::uint32_t plane = wide ? U32(face) : U16(face);
        const std::uint32_t side = wide ? U32(face + 4) : U16(face + 2);
        const std::uint32_t firstEdge = wide ? U32(face + 8) : U32(face + 4);
        const std::uint32_t numEdges = wide ? U32(face + 12) : U16(face + 8);
        const std::uint32_t info = wide ? U32(face + 16) : U16(face + 10);
        if (plane >= planes.Count(kPlaneSize) || numEdges < 3 ||
            numEdges > static_cast<std::uint32_t>(kMaxFaceEdges) || firstEdge > surfCount ||
            numEdges > surfCount - firstEdge ||
            (info < drawnTexInfo.size() && drawnTexInfo[info] == 0)) {
            continue;
        }
        float nz = F32(planes.At(plane, kPlaneSize) + 8);
        nz = side != 0 ? -nz : nz;
        if (!(nz > kUpward)) {
            continue;
        }
        const std::size_t before = view.points.size();
        float height = 0;
        bool ok = true;
        for (std::uint32_t e = 0; e < numEdges && ok; ++e) {
            const auto surf = static_cast<std::int32_t>(U32(surfEdges.At(firstEdge + e, 4)));
            const std::uint32_t edge =
                surf < 0 ? 0u - static_cast<std::uint32_t>(surf) : static_cast<std::uint32_t>(surf);
            if (edge >= edgeCount) {
                ok = false;
                break;
            }
            const std::uint8_t* rec = edges.At(edge, format.edgeSize);
            const std::uint32_t vertex = format.edgeSize == 8 ? U32(rec + (surf < 0 ? 4 : 0))
                                                              : U16(rec + (surf < 0 ? 2 : 0));
            if (vertex >= vertexCount) {
                ok = false;
                break;
            }
            const std::uint8_t* v = vertices.At(vertex, kVertexSize);
            const float x = F32(v), y = F32(v + 4), z = F32(v + 8);
            ok = std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && std::fabs(x) < 1e7f &&
                 std::fabs(y) < 1e7f && std::fabs(z) < 1e7f;
            view.points.push_back(x);
            view.points.push_back(y);
            edgeOfPoint.push_back(edge);
            height += z;
        }
        if (!ok) {
            view.points.resize(before);
            edgeOfPoint.resize(before / 2);
            continue;
        }
        for (std::size_t p = before / 2; p < edgeOfPoint.size(); ++p) {
            std::uint8_t& n = uses[edgeOfPoint[p]];
            n = static_cast<std::uint8_t>(std::min(n + 1, 2));
        }
        view.faces.push_back({static_cast<std::uint32_t>(before / 2), numEdges,
                              height / static_cast<float>(numEdges)});
    }
    if (view.faces.empty()) {
        return view;
    }
    // Borders: edges that only one drawn face uses (the splits inside a floor are shared).
    view.outline.resize(edgeOfPoint.size());
    for (std::size_t p = 0; p < edgeOfPoint.size(); ++p) {
        view.outline[p] = uses[edgeOfPoint[p]] == 1 ? 1 : 0;
    }
    std::stable_sort(
        view.faces.begin(), view.faces.end(),
        [](const TopView::Face& a, const TopView::Face& b) { return a.height < b.height; });
    view.minX = view.maxX = view.points[0];
    view.minY = view.maxY = view.points[1];
    for (std::size_t i = 0; i + 1 < view.points.size(); i += 2) {
        view.minX = std::min(view.minX, view.points[i]);
        view.maxX = std::max(view.maxX, view.points[i]);
        view.minY = std::min(view.minY, view.points[i + 1]);
        view.maxY = std::max(view.maxY, view.points[i + 1]);
    }
    view.minZ = view.faces.front().height;
    view.maxZ = view.faces.back().height;
    return view;
}

}  // namespace fenmar::maps
