// The Servers window: listing 500 servers, and how long its thread is busy at a time while a
// refresh of 500 servers (50 answering) runs in the background, also when two master servers
// list them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>

#include "Responder.h"
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

// Two masters on 127.0.0.1 (one of each kind) list 250 servers each, 50 of them answering; the
// window's own list is empty. The refresh should take about one timeout.
void BM_InternetRefreshLongestBusy(benchmark::State& state) {
    Responders responders(50);
    std::vector<platform::NetAddress> qwList, dpList;
    for (const std::string& text : MixedAddresses(responders, 500)) {
        const auto colon = text.rfind(':');
        auto address = *platform::ParseNumericAddress(
            text.substr(0, colon), static_cast<std::uint16_t>(std::stoi(text.substr(colon + 1))));
        const bool answering =
            std::find(responders.Addresses().begin(), responders.Addresses().end(), text) !=
            responders.Addresses().end();
        // The responders answer the NetQuake query, which servers of a DarkPlaces master get.
        (answering || dpList.size() < qwList.size() ? dpList : qwList).push_back(address);
    }
    net::testing::Responder qw([&](net::ByteView, int) {
        return std::vector<net::Bytes>{net::testing::QwMasterAnswer(qwList)};
    });
    net::testing::Responder dp([&](net::ByteView request, int) {
        const bool first =
            std::string(request.begin(), request.end()).find("FTE") == std::string::npos;
        return first ? net::testing::DpMasterAnswers(dpList, 100)
                     : net::testing::DpMasterAnswers({}, 100);
    });
    ui::ServersWindow window(nullptr, {}, {});
    window.Options().timeout = std::chrono::milliseconds(1000);
    window.MastersOptions().timeout = std::chrono::milliseconds(1000);
    window.edMasters->setPlainText(
        QString::fromStdString("qw://" + qw.Address() + "\ndp://" + dp.Address() + "\n"));
    window.buSaveMasters->click();
    window.cbInternet->setChecked(true);
    double longest = 0;
    for (auto _ : state) {
        window.Refresh();  // the second time, the masters' servers are listed already
        while (window.Refreshing()) {
            QElapsedTimer busy;
            busy.start();
            QCoreApplication::processEvents();
            longest = std::max(longest, static_cast<double>(busy.nsecsElapsed()) / 1e6);
        }
    }
    state.counters["rows"] = window.model->rowCount();
    state.counters["longest_busy_ms"] = longest;
}
BENCHMARK(BM_InternetRefreshLongestBusy)
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
