#include "ui/pickers/Pickers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>

#include "LauncherWindows.h"
#include "TempDir.h"
#include "platform/FileSystem.h"
#include "ui/launch/PickerButtons.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/services/FolderDialog.h"

namespace fenmar {
namespace {

using platform::JoinPath;
using test::Q;

class PickersTest : public ::testing::Test, public test::LauncherWindows {
protected:
    PickersTest() { dlg.globalOptions->edQuakePath->setText(Q(quake)); }

    const std::string quake = temp.MakeDir("quake");
    const std::string id1 = temp.MakeDir("quake/ID1/demos");  // any case on disk
    ui::GeneralPage& general = *dlg.general;
};

TEST_F(PickersTest, PatchPickerGivesThePatchRelativeToTheQuakeDirectory) {
    temp.MakeDir("quake/mods/ctf");
    services.folderAnswers = {Q(JoinPath(quake, "ctf")), Q(JoinPath(quake, "mods/ctf")), Q(quake),
                              std::nullopt};
    context.globals.Profile->DemoState = 2;  // recording: the patch decides where to
    general.buSelectPatch->click();
    EXPECT_EQ(general.comboPatch->currentText(), "ctf");
    EXPECT_EQ(context.globals.Profile.Text(TextField::GamePatch), "ctf");
    EXPECT_TRUE(general.buBrowsePatchDemo->isEnabledTo(&dlg));
    EXPECT_FALSE(general.buBrowseDemo->isEnabledTo(&dlg));
    ASSERT_EQ(services.folderRequests.size(), 1u);
    EXPECT_EQ(services.folderRequests[0].root, Q(quake));
    EXPECT_EQ(services.folderRequests[0].title, "Select the patch you want to use in Quake.");

    general.buSelectPatch->click();
    EXPECT_EQ(general.comboPatch->currentText(), Q(JoinPath("mods", "ctf")));
    general.buSelectPatch->click();
    EXPECT_EQ(general.comboPatch->currentText(), "<none>");
    general.buSelectPatch->click();  // cancelled: unchanged
    EXPECT_EQ(general.comboPatch->currentText(), "<none>");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PickersTest, DemoPickerOpensForPlaybackAndSavesForRecording) {
    context.globals.Profile->DemoState = 1;
    services.fileAnswers.push_back(Q(JoinPath(id1, "duel1.dem")));
    dlg.pickers->buBrowseDemoClick();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    const ui::FileDialogRequest& asked = services.fileRequests[0];
    EXPECT_TRUE(asked.openMode);
    EXPECT_EQ(asked.initialDir, Q(JoinPath(quake, "ID1")));
    EXPECT_EQ(asked.filterText, "Quake demo-files (*.dem, *.qwd)");
    EXPECT_EQ(asked.filterPattern, "*.dem;*.qwd");
    EXPECT_EQ(asked.defaultExt, "DEM");
    EXPECT_EQ(asked.title, "Select a demo...");
    EXPECT_EQ(general.comboDemo->currentText(), Q(JoinPath("demos", "duel1")));
    EXPECT_EQ(context.globals.Profile.Text(TextField::DemoName), JoinPath("demos", "duel1"));

    context.globals.Profile->DemoState = 2;
    dlg.pickers->buBrowseDemoClick();  // cancelled
    EXPECT_FALSE(services.fileRequests.back().openMode);
    EXPECT_EQ(general.comboDemo->currentText(), Q(JoinPath("demos", "duel1")));
}

TEST_F(PickersTest, DemoOutsideTheDirectoryIsRefusedWithAMessage) {
    context.globals.Profile->DemoState = 1;
    context.globals.Profile.SetText(TextField::DemoName, "keep");
    services.fileAnswers.push_back(Q(JoinPath(temp.Str(), "stray.dem")));
    EXPECT_EQ(ui::BrowseDemoID1(context), std::nullopt);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.messages[0].text.endsWith(Q(JoinPath(quake, "ID1"))));
    EXPECT_EQ(services.messages[0].caption, "Something you should know...");
    EXPECT_EQ(context.globals.Profile.Text(TextField::DemoName), "keep");
}

TEST_F(PickersTest, PatchDemoPickerWithoutAPatchReportsTheMissingDirectory) {
    context.globals.Profile.SetText(TextField::GamePatch, "<none>");
    EXPECT_EQ(ui::BrowseDemoPatch(context), std::nullopt);
    EXPECT_TRUE(services.fileRequests.empty());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text,
              "Sorry, i did not find the directory: " + Q(JoinPath(quake, "<none>")));
    EXPECT_EQ(services.messages[0].caption, "Something you should know...");
    EXPECT_EQ(services.messages[0].icon, ui::MessageIcon::Information);

    temp.MakeDir("quake/ctf");
    context.globals.Profile.SetText(TextField::GamePatch, "ctf");
    services.fileAnswers.push_back(Q(JoinPath(quake, "ctf/final.dem")));
    EXPECT_EQ(ui::BrowseDemoPatch(context), "final");
    EXPECT_EQ(context.globals.Profile.Text(TextField::DemoName), "final");
}

TEST_F(PickersTest, ExecutableAndConfigPickersGiveTheFileName) {
    QLineEdit* edFile = dlg.moreGlobalOptions->edFile;
    edFile->setText("glquake.exe");
    services.fileAnswers.push_back(Q(JoinPath(quake, "GLQuake.exe")));
    dlg.moreGlobalOptions->buBrowseExecutable->click();
    EXPECT_EQ(edFile->text(), "GLQuake.exe");  // the case on disk is kept here
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].defaultName, "glquake.exe");
    EXPECT_EQ(services.fileRequests[0].initialDir, Q(quake));
    // Engines without an extension must be visible where programs have none.
    EXPECT_EQ(services.fileRequests[0].filterPattern,
              platform::PathSeparator() == '\\' ? "*.exe;*.bat" : "*");
    EXPECT_EQ(services.fileRequests[0].title, "Select an executable...");
    EXPECT_TRUE(services.fileRequests[0].openMode);

    // Without a field (a plug-in asks): "*.exe" is offered.
    services.fileAnswers.push_back(Q(JoinPath(quake, "winquake.exe")));
    EXPECT_EQ(ui::BrowseExecutableFile(context), "winquake.exe");
    EXPECT_EQ(services.fileRequests[1].defaultName, "*.exe");

    QLineEdit* edConfigFile = dlg.options->edConfigFile;
    services.fileAnswers.push_back(Q(JoinPath(id1, "mine.cfg")));
    dlg.options->buBrowseConfigFile->click();
    EXPECT_EQ(edConfigFile->text(), "mine.cfg");
    EXPECT_FALSE(services.fileRequests[2].openMode);
    EXPECT_EQ(services.fileRequests[2].initialDir, Q(JoinPath(quake, "ID1")));
    EXPECT_EQ(services.fileRequests[2].title, "Select a config-file...");
}

TEST_F(PickersTest, CompanionPickerGivesTheWholePath) {
    const std::string qw = temp.WriteFile("quake/QW/qwcl.exe", "");
    std::filesystem::permissions(qw, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);  // a program
    services.fileAnswers.push_back(Q(qw));
    dlg.globalOptions->buBrowseQSpy->click();
    EXPECT_EQ(dlg.globalOptions->edQSpy->text(), Q(qw));
    EXPECT_EQ(services.fileRequests[0].defaultName, "qw.exe");
    EXPECT_TRUE(dlg.multiplayer->buLaunchQW->isEnabledTo(&dlg));
}

// Processes events until `done` holds or a few seconds have passed.
template <typename F>
bool WaitFor(F done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return done();
}

TEST(FolderDialog, KeepsTheChoiceToTheRootAndPreselectsTheInitialFolder) {
    test::TempDir temp;
    const std::string root = temp.MakeDir("quake");
    const std::string ctf = temp.MakeDir("quake/mods/ctf");
    const std::string outside = temp.MakeDir("outside");
    ui::FolderDialog dialog(Q(root), Q(ctf), "Pick one");
    EXPECT_EQ(dialog.SelectedPath(), Q(ctf));
    EXPECT_FALSE(dialog.SelectPath(Q(outside)));
    EXPECT_EQ(dialog.SelectedPath(), Q(ctf));

    // The tree's top level holds the root alone, even once its parent has been read.
    QTreeView* tree = dialog.tvFolders;
    const QModelIndex top = tree->rootIndex();
    WaitFor([&] { return tree->model()->canFetchMore(top) == false; });
    QApplication::processEvents();
    ASSERT_EQ(tree->model()->rowCount(top), 1);
    EXPECT_EQ(tree->model()->index(0, 0, top).data().toString(), "quake");

    EXPECT_TRUE(dialog.SelectPath(Q(root)));
    EXPECT_EQ(dialog.SelectedPath(), Q(root));

    ui::FolderDialog unrooted(QString(), Q(outside), "Pick any");
    EXPECT_EQ(unrooted.SelectedPath(), Q(outside));
}

}  // namespace
}  // namespace fenmar
