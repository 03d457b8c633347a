// The bare system-call floor of each scan on its own.
#include <benchmark/benchmark.h>

#include "BaselineFloor.h"
#include "MapCollection.h"

namespace fenmar::bench {
namespace {

// The floor over every map of the collection a round.
void FloorOfEveryMap(benchmark::State& state, std::size_t (*floor)(const std::string&),
                     const std::string& path) {
    for (auto _ : state) {
        if (floor(path) != kMapCount) {
            state.SkipWithError("wrong map count");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}

void BM_BaselineLooseMaps(benchmark::State& state) {
    FloorOfEveryMap(state, LooseFloor, Collection().looseDir);
}
BENCHMARK(BM_BaselineLooseMaps)->Unit(benchmark::kMillisecond);

void BM_BaselinePak(benchmark::State& state) {
    FloorOfEveryMap(state, PakFloor, Collection().pakPath);
}
BENCHMARK(BM_BaselinePak)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
