// The executable editor and the first run with engines and game data found on a fake
// computer the test builds.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "Environment.h"
#include "LauncherWindows.h"
#include "ui/discovery/Offers.h"
#include "ui/executables/ExecutableList.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/pickers/DirectoryChecks.h"
#include "ui/widgets/Controls.h"
#include "ui/window/ActionBar.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;
using test::Q;

class DiscoveryOffersTest : public ::testing::Test, public test::LauncherWindows {
protected:
    void SetUp() override {
        if (test::SystemIsWindows()) {
            GTEST_SKIP() << "the fake computer uses POSIX modes";
        }
        DiscoveryEnvironment env;
        env.root = temp.MakeDir("root");
        env.home = temp.MakeDir("home");
        env.pathList = bin;
        ui::ReplaceDiscoveryPlaces(env);
    }
    void TearDown() override { ui::ReplaceDiscoveryPlaces(std::nullopt); }

    std::string Program(const std::string& rel) const {
        const std::string path = temp.WriteFile(rel, "#!/bin/sh\n");
        fs::permissions(path, fs::perms::owner_exec, fs::perm_options::add);
        return path;
    }
    std::string GameData(const std::string& rel) const {
        temp.WriteFile(rel + "/id1/pak0.pak", "PACK");
        return (temp.Path() / rel).string();
    }
    QTreeWidgetItem* Row(const QString& name) const {
        const auto rows = page.lvExecutables->findItems(name, Qt::MatchExactly);
        return rows.size() == 1 ? rows.first() : nullptr;
    }
    QString FileOf(const QString& name) const {
        const QTreeWidgetItem* row = Row(name);
        return row != nullptr ? row->text(1) : QStringLiteral("<no row>");
    }
    void AddRow(const QString& name, const QString& file) {
        page.edName->setText(name);
        page.edFile->setText(file);
        page.buAdd->click();
    }

    const std::string bin = temp.MakeDir("bin");
    const std::string quake = temp.MakeDir("quake");
    ui::MoreGlobalOptionsPage& page = *dlg.moreGlobalOptions;
    ui::GlobalOptionsPage& options = *dlg.globalOptions;
    ui::ExecutableList& list = *dlg.executableList;
};

TEST_F(DiscoveryOffersTest, BrowsedProgramsOutsideTheQuakeDirectoryAreKeptWhole) {
    options.edQuakePath->setText(Q(quake));
    const std::string outside = Program("engines/IronWail");
    const std::string inside = Program("quake/bin/vkquake");
    services.fileAnswers = {Q(outside), Q(inside), std::nullopt};
    page.buBrowseExecutable->click();
    EXPECT_EQ(page.edFile->text(), Q(outside));  // case kept: Linux names are exact
    page.buBrowseExecutable->click();
    EXPECT_EQ(page.edFile->text(), "bin/vkquake");
    page.buBrowseExecutable->click();  // cancelled: unchanged
    EXPECT_EQ(page.edFile->text(), "bin/vkquake");
    ASSERT_EQ(services.fileRequests.size(), 3u);
    EXPECT_EQ(services.fileRequests[0].initialDir, Q(quake));
    EXPECT_EQ(services.fileRequests[0].title, "Select an executable...");
    // Programs without an extension can be seen in the chooser.
    EXPECT_EQ(services.fileRequests[0].filterPattern, "*");
}

TEST_F(DiscoveryOffersTest, RowsWhoseProgramCannotBeFoundAreMarkedNotRemoved) {
    Program("bin/tyr-quake");
    const std::string absolute = Program("engines/fteqw");
    Program("quake/winquake.exe");
    AddRow("On PATH", "tyr-quake");
    AddRow("Absolute", Q(absolute));
    AddRow("Nowhere", "no-such-engine");
    AddRow("Gone", Q(temp.Str() + "/engines/gone"));
    EXPECT_FALSE(list.IsMarkedMissing("On PATH"));
    EXPECT_FALSE(list.IsMarkedMissing("Absolute"));
    EXPECT_TRUE(list.IsMarkedMissing("Nowhere"));
    EXPECT_TRUE(list.IsMarkedMissing("Gone"));
    EXPECT_TRUE(Row("Nowhere")->toolTip(1).contains("not found"));
    EXPECT_EQ(Row("On PATH")->toolTip(1), Q(bin + "/tyr-quake"));  // where it was found
    // The Executable box marks them alike and shows the programs found first.
    QComboBox& box = *dlg.general->comboExecutables;
    EXPECT_EQ(box.itemText(0), "Absolute");
    EXPECT_EQ(box.itemText(1), "On PATH");
    const int nowhere = box.findText("Nowhere");
    EXPECT_GT(nowhere, 1);
    EXPECT_TRUE(box.itemData(nowhere, Qt::FontRole).value<QFont>().italic());
    EXPECT_TRUE(box.itemData(nowhere, Qt::ToolTipRole).toString().contains("not found"));
    EXPECT_FALSE(box.itemData(1, Qt::FontRole).isValid());
    EXPECT_EQ(box.itemData(1, Qt::ToolTipRole).toString(), Q(bin + "/tyr-quake"));
    // Built-in rows are found only once a Quake directory holds their file.
    EXPECT_TRUE(list.IsMarkedMissing("WinQuake"));
    options.edQuakePath->setText(Q(quake));
    EXPECT_FALSE(list.IsMarkedMissing("WinQuake"));
    EXPECT_TRUE(list.IsMarkedMissing("GL-Quake"));
    // The program appears later: the mark goes at the next change.
    Program("engines/gone");
    options.edQuakePath->setText(Q(quake + "/"));
    EXPECT_FALSE(list.IsMarkedMissing("Gone"));
    EXPECT_EQ(page.lvExecutables->topLevelItemCount(), 12);
}

TEST_F(DiscoveryOffersTest, NamesCompareAsTheStoreComparesThem) {
    // The store takes these for one name; two rows would lose one at the next start.
    AddRow("VÉRITÉ QUAKE", "other.exe");
    EXPECT_EQ(FileOf("Vérité Quake"), "vquake.exe");
    EXPECT_EQ(Row("VÉRITÉ QUAKE"), nullptr);
    EXPECT_FALSE(list.AddExecutable("x.exe", "vérité quake"));
    EXPECT_TRUE(list.AddExecutable("x.exe", "Verite Quake"));  // without accents: another name
}

TEST_F(DiscoveryOffersTest, FindEnginesAddsTheChosenOnesNeverTwice) {
    options.edQuakePath->setText(Q(quake));
    const std::string onPath = Program("bin/quakespasm");
    const std::string local = Program("home/.local/bin/ironwail");
    const std::string games = Program("root/usr/games/vkquake");
    const std::string inQuake = Program("quake/darkplaces-sdl");
    fs::create_symlink(local, temp.Path() / "bin/ironwail");  // the same program on PATH
    AddRow("Mine", Q(onPath));                                // already in the list

    services.choiceAnswers.push_back(std::vector<int>{0, 2});
    EXPECT_EQ(list.buFindEnginesClick(), 2);
    ASSERT_EQ(services.choiceRequests.size(), 1u);
    const ui::ChoiceRequest& offer = services.choiceRequests[0];
    EXPECT_TRUE(offer.multiple);
    ASSERT_EQ(offer.items.size(), 3);  // quakespasm is there already, ironwail counts once
    EXPECT_TRUE(offer.items[0].startsWith("Ironwail")) << offer.items[0].toStdString();
    EXPECT_TRUE(offer.items[0].endsWith(Q(bin + "/ironwail")));
    EXPECT_TRUE(offer.items[1].startsWith("vkQuake"));
    EXPECT_TRUE(offer.items[2].startsWith("DarkPlaces (SDL)"));
    EXPECT_EQ(FileOf("Ironwail"), Q(bin + "/ironwail"));
    EXPECT_EQ(FileOf("DarkPlaces (SDL)"), "darkplaces-sdl");  // inside: relative
    EXPECT_EQ(Row("vkQuake"), nullptr);
    EXPECT_FALSE(list.IsMarkedMissing("DarkPlaces (SDL)"));

    // Again: only vkQuake is new. A second engine of a name in the list is told apart.
    const std::string second = Program("home/Applications/ironwail-0.8.0-x86_64.AppImage");
    services.choiceAnswers.push_back(std::vector<int>{0, 1});
    EXPECT_EQ(list.buFindEnginesClick(), 2);
    ASSERT_EQ(services.choiceRequests.size(), 2u);
    EXPECT_EQ(services.choiceRequests[1].items.size(), 2);
    EXPECT_EQ(FileOf("vkQuake"), Q(games));
    EXPECT_EQ(FileOf(Q("Ironwail (" + temp.Str() + "/home/Applications)")), Q(second));

    // Nothing new left: the user is told, no list is shown.
    EXPECT_EQ(list.buFindEnginesClick(), 0);
    EXPECT_EQ(services.choiceRequests.size(), 2u);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].caption, "Something you should know...");
    EXPECT_EQ(page.lvExecutables->topLevelItemCount(), 13);
}

TEST_F(DiscoveryOffersTest, FirstRunOffersGameDataThenEngines) {
    const std::string steam = GameData("home/.local/share/Steam/steamapps/common/Quake");
    const std::string gog = GameData("home/GOG Games/Quake");
    Program("bin/quakespasm");
    // Chosen: the GOG folder; then the engines found are offered and one is taken.
    services.choiceAnswers.push_back(std::vector<int>{1});
    services.choiceAnswers.push_back(std::vector<int>{0});
    dlg.directoryChecks->CheckDirectories();

    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].caption, "Quake-directory not found...");
    ASSERT_EQ(services.choiceRequests.size(), 2u);
    const ui::ChoiceRequest& places = services.choiceRequests[0];
    EXPECT_FALSE(places.multiple);
    ASSERT_EQ(places.items.size(), 3);
    EXPECT_TRUE(places.items[0].startsWith(Q(steam)));
    EXPECT_TRUE(places.items[1].startsWith(Q(gog)));
    EXPECT_EQ(places.items[2], "Another directory...");
    EXPECT_TRUE(services.folderRequests.empty());  // the chooser only when asked for
    EXPECT_EQ(options.edQuakePath->text(), Q(gog));
    EXPECT_TRUE(dlg.actions->buRunQuake->isEnabledTo(&dlg));
    EXPECT_EQ(FileOf("QuakeSpasm"), Q(bin + "/quakespasm"));
    // The engine taken is the one to run, not the built-in row whose program is not there.
    EXPECT_EQ(dlg.general->comboExecutables->currentText(), "QuakeSpasm");
    EXPECT_EQ(context.globals.Executable, "QuakeSpasm");
}

TEST_F(DiscoveryOffersTest, TheLastEntryOpensTheFolderChooserAndCancelChoosesNothing) {
    GameData("root/usr/share/games/quake");
    services.choiceAnswers.push_back(std::vector<int>{1});  // "Another directory..."
    services.folderAnswers.push_back(Q(quake));
    dlg.directoryChecks->CheckDirectories();
    ASSERT_EQ(services.folderRequests.size(), 1u);
    EXPECT_EQ(services.folderRequests[0].title,
              "Select the directory, where your QUAKE.EXE resides.");
    EXPECT_EQ(options.edQuakePath->text(), Q(quake));
    // No engines anywhere: no second list.
    EXPECT_EQ(services.choiceRequests.size(), 1u);

    // With the button later: the list cancelled leaves everything as it was.
    dlg.globalOptions->edQuakePath->setText(Q(temp.Str() + "/gone"));
    dlg.directoryChecks->buBrowseForQuakeFolderClick();
    EXPECT_EQ(services.folderRequests.size(), 1u);
    EXPECT_EQ(options.edQuakePath->text(), Q(temp.Str() + "/gone"));
}

TEST_F(DiscoveryOffersTest, NoEngineOfferWhenABuiltInRowExists) {
    Program("quake/glquake.exe");  // a built-in row whose program is there
    Program("bin/ezquake");
    services.folderAnswers.push_back(Q(quake));  // no game data found: straight to the chooser
    dlg.directoryChecks->CheckDirectories();
    EXPECT_EQ(options.edQuakePath->text(), Q(quake));
    EXPECT_TRUE(services.choiceRequests.empty());
    EXPECT_EQ(page.lvExecutables->topLevelItemCount(), 8);
}

}  // namespace
}  // namespace fenmar
