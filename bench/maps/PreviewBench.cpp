// A map's picture: read and drawn from a large generated BSP (50,000 faces), and taken from the
// cache and coloured as the browser shows it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "BspFiles.h"
#include "maps/MapDetailCache.h"
#include "maps/MapDetails.h"
#include "preview/MapPicture.h"

namespace fenmar::bench {
namespace {

constexpr int kFaces = 50000;

// A grid of rooms at scattered heights; every third face is a ceiling (looks down).
const std::string& LargeMap() {
    static const std::string bytes = [] {
        std::mt19937 random(7);
        std::vector<test::Floor> floors;
        floors.reserve(kFaces);
        for (int i = 0; i < kFaces; ++i) {
            const auto x = static_cast<float>((i % 250) * 64);
            const auto y = static_cast<float>((i / 250) * 64);
            floors.push_back(
                {x, y, x + 64, y + 64, static_cast<float>(random() % 512), i % 3 != 2});
        }
        return test::MakeGeometryBsp("{ \"classname\" \"worldspawn\" }", floors, test::kBsp2);
    }();
    return bytes;
}

void BM_PreviewLargeMap(benchmark::State& state) {
    const std::string& map = LargeMap();
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(map.data()),
                                              map.size());
    for (auto _ : state) {
        maps::MemorySource source(bytes);
        const maps::MapDetails details = maps::ReadMapDetails(source, 0, true);
        if (!details.preview || details.preview->Empty()) {
            state.SkipWithError("no picture");
        }
        benchmark::DoNotOptimize(details.preview->shades.data());
    }
}
BENCHMARK(BM_PreviewLargeMap)->Unit(benchmark::kMillisecond);

// Open the cache as the browser's worker does once, then per map: load and colour at 256.
void BM_PreviewFromCache(benchmark::State& state) {
    const std::string& map = LargeMap();
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(map.data()),
                                              map.size());
    maps::MemorySource source(bytes);
    const maps::MapDetails details = maps::ReadMapDetails(source, 0, true);
    const auto dir = std::filesystem::temp_directory_path() /
                     ("fenmar-bench-preview-" + std::to_string(std::random_device()()));
    const maps::MapKey key{
        dir.string(), "large.bsp", {static_cast<std::int64_t>(map.size()), 1, 1, 1}};
    {
        auto cache = maps::MapDetailCache::Open((dir / "maps.sqlite").string());
        cache->Store(key, details);
    }
    auto cache = maps::MapDetailCache::Open((dir / "maps.sqlite").string());
    for (auto _ : state) {
        const auto stored = cache->Load(key);
        if (!stored || !stored->preview) {
            state.SkipWithError("not cached");
            break;
        }
        const QImage picture = preview::MapPicture(*stored->preview);
        benchmark::DoNotOptimize(picture.constBits());
    }
    cache.reset();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PreviewFromCache)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
