#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <filesystem>

#include "Environment.h"
#include "FakeGameLog.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "store/OpenStore.h"
#include "store/RegistryHandling.h"
#include "ui/ActionBar.h"
#include "ui/AppWindows.h"
#include "ui/ComboText.h"
#include "ui/Controls.h"
#include "ui/GameLaunch.h"
#include "ui/GeneralPage.h"
#include "ui/GlobalOptionsPage.h"
#include "ui/MainDialog.h"
#include "ui/MultiplayerPage.h"
#include "ui/OptionsPage.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

// A Quake directory whose "quake.exe" is the stand-in game, and a window over a real store.
class GameLaunch : public ::testing::Test {
protected:
    GameLaunch() {
        quake = dir.MakeDir("quake");
        dir.MakeDir("quake/id1");
        fs::copy_file(FENMAR_FAKE_GAME, fs::path(quake) / "quake.exe");
        log = dir.Path() / "game.log";
        test::SetEnv("FENMAR_FAKE_GAME_LOG", log.string());
        auto opened = store::OpenStoreAt((dir.Path() / "settings.sqlite").string());
        storage = std::move(opened.store);
        context.store = storage.get();
        dlg.globalOptions->edQuakePath->setText(QString::fromLocal8Bit(quake.c_str()));
    }
    std::string Line() const { return dlg.commandLine->edCommandLine->text().toStdString(); }

    test::TempDir dir;
    std::string quake;
    fs::path log;
    std::unique_ptr<store::Store> storage;
    test::ScriptedUiServices services;
    ui::AppContext context{services};
    ui::AppWindows windows{context};
    ui::TMainDialog& dlg = *windows.main;
};

TEST_F(GameLaunch, StartsTheGameWithTheComposedLineAndKeepsTheRecentEntries) {
    dlg.multiplayer->cbEnableServer->setChecked(true);
    dlg.multiplayer->edHostName->setText("LAN party");
    dlg.multiplayer->rbDM2->setChecked(true);
    ui::SetComboText(dlg.general->comboMap, "e1m1 - Slipgate Complex");
    ui::SetComboText(dlg.general->comboPatch, "ctf");
    ui::SetComboText(dlg.multiplayer->comboServer, "quake.example.net");
    dlg.gameLaunch->buRunQuakeClick();

    EXPECT_TRUE(services.messages.empty());
    const std::string exe = (fs::path(quake) / "quake.exe").string();
    EXPECT_EQ(Line(), exe + " -game ctf -listen +exec fenmar.cfg");
    const auto run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(fs::path(run.cwd), fs::path(quake));
    EXPECT_EQ(run.args,
              (std::vector<std::string>{"-game", "ctf", "-listen", "+exec", "fenmar.cfg"}));
    EXPECT_EQ(test::ReadFile(fs::path(quake) / "id1" / "fenmar.cfg"),
              "hostname \"LAN party\"\r\ndeathmatch 2\r\nmap e1m1\r\n");

    // The texts of the run head their recent lists, in the box and in the store.
    EXPECT_EQ(dlg.general->comboPatch->itemText(1), "ctf");
    EXPECT_EQ(dlg.multiplayer->comboServer->itemText(1), "quake.example.net");
    EXPECT_EQ(dlg.general->comboDemo->count(), 1);
    std::vector<std::string> patches;
    store::RegReadStringList(*storage, "Software\\Corvanta\\Fenmar\\MRUs\\Patches", patches);
    ASSERT_FALSE(patches.empty());
    EXPECT_EQ(patches.front(), "ctf");
}

TEST_F(GameLaunch, AGameThatCannotStartIsReportedAndTheLauncherStays) {
    fs::remove(fs::path(quake) / "quake.exe");
    dlg.options->cbCloseOnExec->setChecked(true);
    dlg.show();
    dlg.gameLaunch->buRunQuakeClick();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.messages[0].text.contains("quake.exe"));
    EXPECT_TRUE(services.messages[0].text.contains("could not be started"));
    EXPECT_TRUE(dlg.isVisible());  // not closed although close-on-exec is set
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(GameLaunch, DeletesConfigFilesOnLaunchAndOnExitAsConfigured) {
    const auto cfg = dir.WriteFile("quake/id1/config.cfg", "bind x y");
    dlg.globalOptions->cbDelInID1Dir->setChecked(true);
    dlg.globalOptions->cbDelOnLaunch->setChecked(true);
    ASSERT_EQ(context.globals.DeleteConfigs, kDeleteInId1 | kDeleteOnLaunch);
    dlg.show();
    dlg.gameLaunch->buExitClick();  // exit: bit 8 not set, nothing deleted
    EXPECT_TRUE(fs::exists(cfg));
    dlg.gameLaunch->buRunQuakeClick();
    EXPECT_FALSE(fs::exists(cfg));
    ASSERT_TRUE(test::WaitForFakeGame(log).finished);
}

TEST_F(GameLaunch, CloseOnExecBehavesLikeTheExitButton) {
    const auto id1Cfg = dir.WriteFile("quake/id1/config.cfg", "x");
    const auto patchCfg = dir.WriteFile("quake/ctf/config.cfg", "x");
    ui::SetComboText(dlg.general->comboPatch, "ctf");
    dlg.globalOptions->cbDelInID1Dir->setChecked(true);
    dlg.globalOptions->cbDelOnExit->setChecked(true);
    dlg.options->cbCloseOnExec->setChecked(true);
    dlg.show();
    dlg.gameLaunch->buRunQuakeClick();
    ASSERT_TRUE(test::WaitForFakeGame(log).finished);
    EXPECT_FALSE(fs::exists(id1Cfg));   // deleted on exit, after the start
    EXPECT_TRUE(fs::exists(patchCfg));  // the patch bit was not set
    EXPECT_FALSE(dlg.isVisible());
}

TEST(GameLaunchHistory, KeepsTheBoxTextAndItsSize) {
    QComboBox box;
    box.setEditable(true);
    box.addItem("<none>");
    ui::SetTag(&box, 2);
    for (const char* text : {"a", "b", "A", "c"}) {
        box.setEditText(text);
        ui::GameLaunchController::AddToHistory(box);
        EXPECT_EQ(box.currentText(), text);
    }
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(1), "c");
    EXPECT_EQ(box.itemText(2), "b");
}

}  // namespace
}  // namespace fenmar
