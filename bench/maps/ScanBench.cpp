// The scans of the map browser on the generated collection.
#include <benchmark/benchmark.h>

#include "MapCollection.h"
#include "maps/MapScan.h"

namespace fenmar::bench {
namespace {

void BM_ScanMapDirectory(benchmark::State& state) {
    const MapCollection& c = Collection();
    const maps::ScanOptions options{20, state.range(0) != 0};
    for (auto _ : state) {
        const maps::MapScan scan = maps::ScanMapDirectory(c.looseDir, options);
        if (scan.entries.size() != kMapCount) {
            state.SkipWithError("wrong map count");
        }
        benchmark::DoNotOptimize(scan);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}
BENCHMARK(BM_ScanMapDirectory)->ArgName("dontScan")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ScanPakFile(benchmark::State& state) {
    const MapCollection& c = Collection();
    const maps::ScanOptions options{20, state.range(0) != 0};
    for (auto _ : state) {
        const maps::MapScan scan = maps::ScanPakFile(c.pakPath, options);
        if (scan.entries.size() != kMapCount) {
            state.SkipWithError("wrong map count");
        }
        benchmark::DoNotOptimize(scan);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}
BENCHMARK(BM_ScanPakFile)->ArgName("dontScan")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
