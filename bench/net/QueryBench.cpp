// Querying 500 loopback addresses at once where 50 answer: the whole run takes about one
// timeout (the silent ones end then), not the sum of many.
#include <benchmark/benchmark.h>

#include "Responders.h"
#include "net/ServerQuery.h"

namespace fenmar::bench {
namespace {

void BM_Query500Where50Answer(benchmark::State& state) {
    Responders responders(50);
    const auto addresses = MixedAddresses(responders, 500);
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
    state.counters["timeout_ms"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_Query500Where50Answer)
    ->Arg(1000)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench

BENCHMARK_MAIN();
