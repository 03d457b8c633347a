// The scans of the map browser on the generated collection.
#include <benchmark/benchmark.h>

#include "MapCollection.h"
#include "maps/MapScan.h"

namespace fenmar::bench {
namespace {

// One scan of every map of the collection a round; the argument turns message scanning off.
void ScanEveryMap(benchmark::State& state,
                  maps::MapScan (*scan)(const std::string&, const maps::ScanOptions&),
                  const std::string& path) {
    const maps::ScanOptions options{20, state.range(0) != 0};
    for (auto _ : state) {
        const maps::MapScan found = scan(path, options);
        if (found.entries.size() != kMapCount) {
            state.SkipWithError("wrong map count");
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}

void BM_ScanMapDirectory(benchmark::State& state) {
    ScanEveryMap(state, maps::ScanMapDirectory, Collection().looseDir);
}
BENCHMARK(BM_ScanMapDirectory)->ArgName("dontScan")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ScanPakFile(benchmark::State& state) {
    ScanEveryMap(state, maps::ScanPakFile, Collection().pakPath);
}
BENCHMARK(BM_ScanPakFile)->ArgName("dontScan")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
