// 30,000 loose maps whose first entity runs well past the title window, their titles near its
// end: the first scan (cache empty) and the cached one. Counters: titled (maps with a title,
// expected 30,000 in both), headersRead, cacheHits.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "maps/BrowserScan.h"

namespace fenmar::bench {
namespace {

constexpr std::size_t kLongMaps = 30000;

void PutInt32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A worldspawn of some 1,500 bytes with its message after the first 600, and more entities
// after it, so the lump is longer than a 4 KiB read.
std::string MapStart(std::size_t index) {
    std::string keys = "{\n\"classname\" \"worldspawn\"\n";
    while (keys.size() < 600) {
        keys += "\"_tb_def\" \"external:base/fgd/quake.fgd\"\n";
    }
    keys += "\"message\" \"Long map number " + std::to_string(index) + "\"\n";
    while (keys.size() < 1500) {
        keys += "\"_sunlight_mangle\" \"0 -90 0\"\n";
    }
    keys += "}\n";
    while (keys.size() < 6000) {
        keys += "{ \"classname\" \"light\" \"origin\" \"0 0 0\" }\n";
    }
    std::string bytes(124 + keys.size() + 1, '\0');
    PutInt32(bytes, 0, 29);
    PutInt32(bytes, 4, 124);
    PutInt32(bytes, 8, static_cast<std::uint32_t>(keys.size() + 1));
    bytes.replace(124, keys.size(), keys);
    return bytes;
}

struct LongCollection {
    std::string quakeDir;
    ~LongCollection() {
        std::error_code ignored;
        std::filesystem::remove_all(quakeDir, ignored);
    }
};

const std::string& QuakeDir() {
    static LongCollection c;
    if (c.quakeDir.empty()) {
        std::random_device seed;
        const auto root = std::filesystem::temp_directory_path() /
                          ("fenmar-bench-long-" + std::to_string(seed()));
        std::filesystem::create_directories(root / "id1" / "maps");
        for (std::size_t i = 0; i < kLongMaps; ++i) {
            const auto file = root / "id1" / "maps" / ("long" + std::to_string(i) + ".bsp");
            {
                std::ofstream out(file, std::ios::binary);
                out << MapStart(i);
            }
            std::filesystem::resize_file(file, 20480);
        }
        c.quakeDir = root.string();
    }
    return c.quakeDir;
}

std::size_t Titled(maps::MapCache* cache, maps::ScanCounters& counters) {
    maps::ScanContext context;
    context.cache = cache;
    std::size_t titled = 0;
    maps::ScanForBrowser({QuakeDir(), "", {}}, context, [&](maps::BrowserList, maps::MapScan s) {
        for (const maps::MapEntry& e : s.entries) {
            titled += e.description.rfind("Long map number ", 0) == 0 ? 1u : 0u;
        }
    });
    counters = context.counters;
    return titled;
}

void Report(benchmark::State& state, std::size_t titled, const maps::ScanCounters& counters) {
    state.counters["titled"] = static_cast<double>(titled);
    state.counters["headersRead"] = static_cast<double>(counters.headersRead);
    state.counters["cacheHits"] = static_cast<double>(counters.cacheHits);
    if (titled != kLongMaps) {
        state.SkipWithError("titles lost");
    }
}

std::string CacheFile() {
    return (std::filesystem::path(QuakeDir()) / "cache" / "maps.sqlite").string();
}

void BM_LongEntitiesFirstScan(benchmark::State& state) {
    std::size_t titled = 0;
    maps::ScanCounters counters;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(CacheFile() + suffix);
        }
        auto cache = maps::MapCache::Open(CacheFile());
        state.ResumeTiming();
        titled = Titled(cache.get(), counters);
    }
    Report(state, titled, counters);
}
BENCHMARK(BM_LongEntitiesFirstScan)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_LongEntitiesCachedScan(benchmark::State& state) {
    std::size_t titled = 0;
    maps::ScanCounters counters;
    for (auto _ : state) {
        auto cache = maps::MapCache::Open(CacheFile());
        titled = Titled(cache.get(), counters);
    }
    Report(state, titled, counters);
}
BENCHMARK(BM_LongEntitiesCachedScan)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace fenmar::bench
