// Querying 500 loopback addresses at once where 50 answer: the whole run takes about one
// timeout (the silent ones end then), not the sum of many.
#include <benchmark/benchmark.h>

#include "Responders.h"
#include "net/ServerQuery.h"

namespace fenmar::bench {
namespace {

// state.range(1): 0 — the 450 others are closed ports; 1 — silent servers.
void BM_Query500Where50Answer(benchmark::State& state) {
    Responders responders(50);
    const Responders silent(state.range(1) != 0 ? 450 : 0, false);
    const auto addresses = MixedAddresses(responders, 500, &silent);
    std::vector<net::ServerEntry> entries;
    for (const std::string& a : addresses) {
        entries.push_back({a, net::ServerKind::NetQuake});
    }
    net::QueryOptions options;
    options.timeout = std::chrono::milliseconds(state.range(0));
    int answered = 0;
    for (auto _ : state) {
        const auto results = net::QueryServers(entries, options);
        answered = 0;
        for (const auto& r : results) {
            answered += r.state == net::QueryState::Answered ? 1 : 0;
        }
    }
    state.counters["answered"] = answered;
}
BENCHMARK(BM_Query500Where50Answer)
    ->ArgNames({"timeout_ms", "silent"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench

BENCHMARK_MAIN();
