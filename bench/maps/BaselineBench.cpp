// The bare system-call floor of each scan on its own.
#include <benchmark/benchmark.h>

#include "BaselineFloor.h"
#include "MapCollection.h"

namespace fenmar::bench {
namespace {

void BM_BaselineLooseMaps(benchmark::State& state) {
    const MapCollection& c = Collection();
    for (auto _ : state) {
        if (LooseFloor(c.looseDir) != kMapCount) {
            state.SkipWithError("wrong map count");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}
BENCHMARK(BM_BaselineLooseMaps)->Unit(benchmark::kMillisecond);

void BM_BaselinePak(benchmark::State& state) {
    const MapCollection& c = Collection();
    for (auto _ : state) {
        if (PakFloor(c.pakPath) != kMapCount) {
            state.SkipWithError("wrong map count");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}
BENCHMARK(BM_BaselinePak)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
