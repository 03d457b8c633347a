#include "ui/pickers/DirectoryChecks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "LauncherWindows.h"
#include "platform/FileSystem.h"
#include "ui/discovery/Offers.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/window/ActionBar.h"

namespace fenmar {
namespace {

using platform::JoinPath;
using test::Q;

class DirectoryChecksTest : public ::testing::Test, public test::LauncherWindows {
protected:
    // A computer without any game data or engine: the folder chooser comes at once.
    DirectoryChecksTest() {
        DiscoveryEnvironment nowhere;
        nowhere.root = temp.MakeDir("root");
        ui::ReplaceDiscoveryPlaces(nowhere);
    }
    ~DirectoryChecksTest() override { ui::ReplaceDiscoveryPlaces(std::nullopt); }

    const std::string quake = temp.MakeDir("quake");
    ui::GlobalOptionsPage& page = *dlg.globalOptions;
    ui::DirectoryChecks& checks = *dlg.directoryChecks;

    bool RunEnabled() const { return dlg.actions->buRunQuake->isEnabledTo(&dlg); }
    std::vector<QString> Captions() const {
        std::vector<QString> out;
        for (const auto& m : services.messages) {
            out.push_back(m.caption);
        }
        return out;
    }
};

TEST_F(DirectoryChecksTest, MissingQuakeDirectoryIsReportedThenChosen) {
    const std::string missing = JoinPath(temp.Str(), "gone");
    page.edQuakePath->setText(Q(missing));  // as loaded from the settings
    ASSERT_FALSE(RunEnabled());
    services.folderAnswers.push_back(Q(quake));
    checks.CheckDirectories();

    EXPECT_EQ(services.beeps, std::vector<ui::BeepKind>{ui::BeepKind::Exclamation});
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].caption, "Quake-directory not found...");
    EXPECT_EQ(services.messages[0].text,
              "In order to work properly, Fenmar requires you to select your Quake directory.");
    EXPECT_EQ(services.messages[0].icon, ui::MessageIcon::Information);
    ASSERT_EQ(services.folderRequests.size(), 1u);
    const auto& asked = services.folderRequests[0];
    EXPECT_EQ(asked.messagesBefore, 1u);  // the message first, then the chooser
    EXPECT_TRUE(asked.root.isEmpty());
    EXPECT_EQ(asked.initial, Q(missing));
    EXPECT_EQ(asked.title, "Select the directory, where your QUAKE.EXE resides.");

    EXPECT_EQ(page.edQuakePath->text(), Q(quake));
    EXPECT_EQ(context.globals.Profile.Text(TextField::QuakePath), quake);
    // No patch directory given: it follows the Quake directory.
    EXPECT_EQ(page.edPatchPath->text(), Q(quake));
    EXPECT_FALSE(checks.PatchPathGiven());
    EXPECT_TRUE(RunEnabled());
}

TEST_F(DirectoryChecksTest, RunButtonNeedsAQuakeDirectoryGivenInThisRun) {
    checks.CheckDirectories();  // nothing stored, chooser cancelled
    EXPECT_EQ(services.folderRequests.size(), 1u);
    EXPECT_FALSE(RunEnabled());

    // A stored directory that is gone still counts as given, and so does one emptied since.
    page.edQuakePath->setText(Q(JoinPath(temp.Str(), "gone")));
    page.edQuakePath->clear();
    checks.CheckDirectories();
    EXPECT_TRUE(RunEnabled());
    EXPECT_EQ(Captions(), std::vector<QString>(2, "Quake-directory not found..."));
}

TEST_F(DirectoryChecksTest, PatchDirectoryOutsideTheQuakeDirectoryIsReselected) {
    const std::string sibling = temp.MakeDir("quake2/ctf");  // same letters, other folder
    const std::string mods = temp.MakeDir("quake/mods");
    page.edQuakePath->setText(Q(quake));
    page.edPatchPath->setText(Q(sibling));
    services.folderAnswers.push_back(Q(mods));
    checks.CheckDirectories();

    EXPECT_EQ(Captions(), std::vector<QString>{"Patch-directory invalid..."});
    EXPECT_EQ(services.messages[0].text,
              "Something is wrong with the patch-directory. Please re-select it.");
    ASSERT_EQ(services.folderRequests.size(), 1u);
    EXPECT_EQ(services.folderRequests[0].root, Q(quake));
    EXPECT_EQ(services.folderRequests[0].initial, Q(sibling));
    EXPECT_EQ(services.folderRequests[0].title, "Select the directory, where your patches are.");
    EXPECT_EQ(context.globals.Profile.Text(TextField::PatchPath), mods);

    // Now valid: the next check says nothing.
    services.messages.clear();
    checks.CheckDirectories();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(services.folderRequests.size(), 1u);
}

TEST_F(DirectoryChecksTest, AGivenPatchDirectoryStaysGivenWhenEmptied) {
    page.edQuakePath->setText(Q(quake));
    page.edPatchPath->setText(Q(quake));
    page.edPatchPath->clear();
    checks.CheckDirectories();
    EXPECT_EQ(Captions(), std::vector<QString>{"Patch-directory invalid..."});
    EXPECT_TRUE(page.edPatchPath->text().isEmpty());  // chooser cancelled: left as it was
}

TEST_F(DirectoryChecksTest, FolderButtonsCheckAfterwardsButNotTwice) {
    const std::string other = temp.MakeDir("other");
    page.edQuakePath->setText(Q(quake));
    checks.CheckDirectories();
    ASSERT_EQ(page.edPatchPath->text(), Q(quake));

    // A new Quake directory: the untouched patch directory follows it.
    services.folderAnswers.push_back(Q(other));
    page.buBrowseForQuakeFolder->click();
    EXPECT_EQ(page.edQuakePath->text(), Q(other));
    EXPECT_EQ(page.edPatchPath->text(), Q(other));
    EXPECT_TRUE(services.messages.empty());

    // The folder is removed, the button's chooser cancelled: the check asks once more, and
    // that chooser does not start yet another check.
    std::filesystem::remove(other);
    page.buBrowseForQuakeFolder->click();
    EXPECT_EQ(services.folderRequests.size(), 3u);
    EXPECT_EQ(services.messages.size(), 1u);
}

TEST_F(DirectoryChecksTest, EmptyCompanionFieldBecomesTheQuakeDirectorysProgram) {
    page.edQuakePath->setText(Q(quake));
    page.edQSpy->clear();
    checks.CheckDirectories();
    EXPECT_EQ(page.edQSpy->text(), Q(JoinPath(quake, "qw.exe")));

    // One that exists, in whatever case, is found.
    const std::string qw = temp.WriteFile("quake/QW.EXE", "");
    page.edQSpy->clear();
    checks.CheckDirectories();
    EXPECT_EQ(page.edQSpy->text(), Q(qw));
    EXPECT_EQ(context.globals.QSpyExecutable, qw);
}

TEST_F(DirectoryChecksTest, LaunchButtonFollowsTheCompanionFile) {
    const std::string qw = temp.WriteFile("quake/qw.exe", "");
    std::filesystem::permissions(qw, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);  // a program
    QPushButton* launch = dlg.multiplayer->buLaunchQW;
    page.edQSpy->setText(Q(qw));
    EXPECT_TRUE(launch->isEnabledTo(&dlg));
    page.edQSpy->setText(Q(qw).chopped(1));
    EXPECT_FALSE(launch->isEnabledTo(&dlg));
}

}  // namespace
}  // namespace fenmar
