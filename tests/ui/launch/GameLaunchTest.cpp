#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "Environment.h"
#include "FakeGameLog.h"
#include "LauncherWindows.h"
#include "TempDir.h"
#include "platform/ProgramSearch.h"
#include "store/RegistryHandling.h"
#include "ui/launch/GameLaunch.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/widgets/ComboText.h"
#include "ui/widgets/Controls.h"

#include "ui/window/ActionBar.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

// A Quake directory whose "quake.exe" is the stand-in game, and a window over a real store.
class GameLaunch : public ::testing::Test, public test::LauncherWindows {
protected:
    GameLaunch() {
        temp.MakeDir("quake/id1");
        fs::copy_file(FENMAR_FAKE_GAME, fs::path(quake) / "quake.exe");
        test::SetEnv("FENMAR_FAKE_GAME_LOG", log.string());
        UseSettingsFile();
        dlg.globalOptions->edQuakePath->setText(test::Q(quake));
    }
    std::string Line() const { return dlg.commandLine->edCommandLine->text().toStdString(); }

    const std::string quake = temp.MakeDir("quake");
    const fs::path log = temp.Path() / "game.log";
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
    // What the config file runs is shown too, under the line and in its tool tip.
    EXPECT_TRUE(dlg.commandLine->labConfigLines->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.commandLine->labConfigLines->text(),
              "fenmar.cfg: hostname \"LAN party\"; deathmatch 2; map e1m1");
    EXPECT_TRUE(dlg.commandLine->edCommandLine->toolTip().contains("\nmap e1m1"));
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

TEST_F(GameLaunch, AProgramThatCannotBeFoundOrStartedIsReportedAndTheLauncherStays) {
    fs::remove(fs::path(quake) / "quake.exe");
    dlg.options->cbCloseOnExec->setChecked(true);
    dlg.show();
    dlg.gameLaunch->buRunQuakeClick();
    ASSERT_EQ(services.messages.size(), 1u);
    const QString text = services.messages[0].text;
    EXPECT_TRUE(text.contains("\"DOS-Quake\"")) << text.toStdString();  // by its name
    EXPECT_TRUE(text.contains("quake.exe")) << text.toStdString();
    EXPECT_TRUE(dlg.isVisible());  // not closed although close-on-exec is set
    EXPECT_EQ(dlg.gameLaunch->LastStartedProcess(), 0);

    if (!test::SystemIsWindows()) {
        // There, but not a program.
        services.messages.clear();
        temp.WriteFile("quake/quake.exe", "not a program");
        dlg.gameLaunch->buRunQuakeClick();
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_TRUE(services.messages[0].text.contains("could not be started"));
        EXPECT_TRUE(dlg.isVisible());
    }
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(GameLaunch, WithoutAnExecutableOnlyThatIsSaidAndNothingStarts) {
    dlg.general->comboExecutables->setCurrentIndex(-1);
    ui::SetComboText(dlg.general->comboPatch, "ctf");
    dlg.show();
    dlg.gameLaunch->buRunQuakeClick();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("You MUST select an executable first !"));
    EXPECT_EQ(dlg.gameLaunch->LastStartedProcess(), 0);
    // The run's other steps still happen: the patch heads its recent list in the store.
    std::vector<std::string> patches;
    store::RegReadStringList(*storage, "Software\\Corvanta\\Fenmar\\MRUs\\Patches", patches);
    ASSERT_FALSE(patches.empty());
    EXPECT_EQ(patches.front(), "ctf");
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(GameLaunch, AnEngineOutsideTheQuakeDirectoryGetsItAsBaseDirectory) {
    const std::string engine = (temp.Path() / "engines" / "myengine").string();
    temp.MakeDir("engines");
    fs::copy_file(FENMAR_FAKE_GAME, engine);
    context.executables.Add({"My engine", engine});
    QComboBox* box = dlg.general->comboExecutables;
    box->addItem("My engine");
    box->setCurrentIndex(box->findText("My engine"));
    dlg.commandLine->buEvalCmdLine->click();
    EXPECT_EQ(Line(), engine + " -basedir " + quake);
    dlg.gameLaunch->buRunQuakeClick();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_GT(dlg.gameLaunch->LastStartedProcess(), 0);
    const auto run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(fs::path(run.cwd), fs::path(quake));
    EXPECT_EQ(run.args, (std::vector<std::string>{"-basedir", quake}));
}

TEST_F(GameLaunch, TheCompanionIsEnabledAndStartedByTheSameLookup) {
    const std::string bin = temp.MakeDir("bin");
    const std::string program = test::SystemIsWindows() ? "qspy.exe" : "qspy";
    fs::copy_file(FENMAR_FAKE_GAME, fs::path(bin) / program);
    const auto oldPath = platform::GetEnvironment("PATH");
    test::SetEnv("PATH", bin);
    QLineEdit* edit = dlg.globalOptions->edQSpy;
    QPushButton* button = dlg.multiplayer->buLaunchQW;
    {
        // Only in the current directory, not on PATH: neither enabled nor started.
        const auto previous = fs::current_path();
        fs::current_path(quake);
        edit->setText("quake.exe");
        EXPECT_FALSE(button->isEnabled());
        fs::current_path(previous);
    }
    edit->setText(QString::fromStdString(program + " -f servers.txt"));
    EXPECT_TRUE(button->isEnabled());
    dlg.gameLaunch->buLaunchQWClick();
    test::SetEnv("PATH", oldPath.value_or(""));
    EXPECT_TRUE(services.messages.empty());
    const auto run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.args, (std::vector<std::string>{"-f", "servers.txt"}));
}

TEST_F(GameLaunch, DeletesConfigFilesOnLaunchAndOnExitAsConfigured) {
    const auto cfg = temp.WriteFile("quake/id1/config.cfg", "bind x y");
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
    const auto id1Cfg = temp.WriteFile("quake/id1/config.cfg", "x");
    const auto patchCfg = temp.WriteFile("quake/ctf/config.cfg", "x");
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
