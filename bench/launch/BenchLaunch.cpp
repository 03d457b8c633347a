// The run button's whole sequence — compose, config file, recent lists, the full settings
// save, CONFIG.CFG clean-up and starting the game — over a store holding 200 Quick-Sets. The
// "game" is a copy of /bin/true; the start returns once it runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <filesystem>

#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "core/QuickSetLayout.h"
#include "store/OpenStore.h"
#include "ui/launch/GameLaunch.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

void RunButton(benchmark::State& state) {
    test::TempDir dir;
    const std::string quake = dir.MakeDir("quake");
    dir.MakeDir("quake/id1");
    fs::copy_file("/bin/true", fs::path(quake) / "quake.exe");
    auto storage = store::OpenStoreAt(dir.Str() + "/settings.sqlite").store;
    Globals sample;
    for (int i = 0; i < 200; ++i) {
        SaveQuickSet(*storage, "Quick-Set " + std::to_string(i), sample, {"+ai 1", "-zone 512"},
                     nullptr);
    }

    test::ScriptedUiServices services;
    ui::AppContext context(services);
    context.store = storage.get();
    ui::AppWindows windows(context);
    ui::TMainDialog& dlg = *windows.main;
    emit dlg.activatedFirstTime();  // loads the stored state, as at start-up
    dlg.globalOptions->edQuakePath->setText(QString::fromLocal8Bit(quake.c_str()));
    dlg.multiplayer->cbEnableServer->setChecked(true);
    dlg.globalOptions->cbDelInID1Dir->setChecked(true);
    dlg.globalOptions->cbDelOnLaunch->setChecked(true);
    services.messages.clear();  // the directory check at start-up had nothing to go on

    for (auto _ : state) {
        dlg.gameLaunch->buRunQuakeClick();
    }
    if (!services.messages.empty()) {
        state.SkipWithError("the run showed a message");
    }
}
BENCHMARK(RunButton)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace fenmar

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
