// Filling the browser's lists, and a whole showing of the browser on the generated collection.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <memory>

#include "MapCollection.h"
#include "ui/maps/MapBrowse.h"

namespace fenmar::bench {
namespace {

class NoModalUi : public ui::UiServices {
public:
    using ui::UiServices::ShowMessage;
    ui::MessageResult ShowMessage(const ui::MessageRequest&) override {
        return ui::MessageResult::Ok;
    }
    void Beep(ui::BeepKind) override {}
    int ExecModal(QDialog&) override { return 0; }
};

std::vector<maps::MapEntry> Rows(std::size_t count, std::size_t salt) {
    std::vector<maps::MapEntry> rows;
    for (std::size_t i = 0; i < count; ++i) {
        // Scattered names, so the sort has work to do.
        const std::size_t key = (i * 7919 + salt) % 100000;
        rows.push_back({"m" + std::to_string(key), "A generated title of some length"});
    }
    return rows;
}

// Fills the three lists with state.range(0) rows in all, split evenly.
void BM_FillLists(benchmark::State& state) {
    NoModalUi services;
    ui::AppContext context(services);
    ui::TMapBrowse browser(context);
    const auto total = static_cast<std::size_t>(state.range(0));
    const std::vector<maps::MapEntry> parts[3] = {Rows(total - 2 * (total / 3), 1),
                                                  Rows(total / 3, 2), Rows(total / 3, 3)};
    QTreeWidget* lists[3] = {browser.lvID1Maps(), browser.lvPatchMaps(), browser.lvBuiltInMaps()};
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            lists[i]->clear();
            ui::TMapBrowse::AddRows(*lists[i], parts[i]);
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillLists)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

// FormShow on 5,000 loose maps and a PAK with 5,000 maps (the patch's own maps dir is absent).
void BM_FormShow(benchmark::State& state) {
    const MapCollection& c = Collection();
    NoModalUi services;
    ui::AppContext context(services);
    context.globals.Profile.SetText(TextField::QuakePath, c.quakeDir);
    context.globals.Profile.SetText(TextField::GamePatch, "bench");
    ui::TMapBrowse browser(context);
    browser.SetCacheFile("");  // every showing reads the maps
    for (auto _ : state) {
        browser.FormShow();
        browser.WaitForScan();
    }
    const int builtIn = browser.lvBuiltInMaps()->topLevelItemCount();
    if (builtIn != static_cast<int>(c.pk3Path.empty() ? kMapCount : 2 * kMapCount)) {
        state.SkipWithError("wrong map count");
    }
}
BENCHMARK(BM_FormShow)->Unit(benchmark::kMillisecond);

// One keystroke in the filter box over 30,000 rows (10,000 in each list), the lists shown, the
// relayout that follows included. The typed text alternates so every keystroke changes rows.
void BM_FilterKeystroke(benchmark::State& state) {
    NoModalUi services;
    ui::AppContext context(services);
    ui::TMapBrowse browser(context);
    browser.show();  // shows the (empty) scan of no Quake directory first
    browser.WaitForScan();
    QTreeWidget* lists[3] = {browser.lvID1Maps(), browser.lvPatchMaps(), browser.lvBuiltInMaps()};
    for (int i = 0; i < 3; ++i) {
        ui::TMapBrowse::AddRows(*lists[i], Rows(10000, static_cast<std::size_t>(i)));
        lists[i]->setHidden(false);
    }
    QApplication::processEvents();
    const QString texts[] = {"m1", "m12", "m123", "m12", "m1", ""};
    std::size_t next = 0;
    for (auto _ : state) {
        browser.edFilter()->setText(texts[next++ % 6]);
        QApplication::processEvents();
    }
    int rows = 0;
    for (QTreeWidget* list : lists) {
        rows += list->topLevelItemCount();
    }
    if (rows != 30000) {
        state.SkipWithError("wrong row count");
    }
    browser.hide();
    state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
