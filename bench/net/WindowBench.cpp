// The Servers window: listing 500 servers, and how long its thread is busy at a time while a
// refresh of 500 servers (50 answering) runs in the background.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>

#include "Responders.h"
#include "ui/servers/ServersWindow.h"

namespace fenmar::bench {
namespace {

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        out.push_back("10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1) + ":" +
                      std::to_string(26000 + i % 7));
    }
    return out;
}

void BM_FillList500(benchmark::State& state) {
    const auto addresses = Numbered(500);
    ui::ServersWindow window(nullptr, [&] { return addresses; }, {});
    for (auto _ : state) {
        window.Reload();
    }
    state.counters["rows"] = window.model->rowCount();
}
BENCHMARK(BM_FillList500)->Unit(benchmark::kMillisecond);

void BM_RefreshLongestBusy(benchmark::State& state) {
    Responders responders(50);
    const auto addresses = MixedAddresses(responders, 500);
    ui::ServersWindow window(nullptr, [&] { return addresses; }, {});
    window.Options().timeout = std::chrono::milliseconds(1000);
    double longest = 0;
    for (auto _ : state) {
        window.Refresh();
        while (window.Refreshing()) {
            QElapsedTimer busy;
            busy.start();
            QCoreApplication::processEvents();
            longest = std::max(longest, static_cast<double>(busy.nsecsElapsed()) / 1e6);
        }
    }
    state.counters["longest_busy_ms"] = longest;
}
BENCHMARK(BM_RefreshLongestBusy)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
