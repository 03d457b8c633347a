#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QStandardPaths>
#include <filesystem>

#include "DesktopEntryDecode.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "core/DesktopEntry.h"
#include "ui/pages/QuickSetBar.h"
#include "ui/shortcuts/ShortcutController.h"
#include "ui/widgets/Controls.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;
using ui::MessageResult;

class ShortcutAction : public ::testing::Test {
protected:
    ShortcutAction() {
        shortcuts.applicationsDir = QString::fromStdString((dir.Path() / "applications").string());
        shortcuts.desktopDir = QString::fromStdString((dir.Path() / "Desktop").string());
        shortcuts.programPath = QStringLiteral("/opt/fen mar/bin/fenmar");
        combo->AddSorted(QStringLiteral("Coop night"));
        combo->setCurrentIndex(0);
    }
    fs::path Launcher(const char* folder, const std::string& quickSet = "Coop night") const {
        return dir.Path() / folder / ShortcutFileName(quickSet, ".desktop");
    }
    std::vector<std::string> ExecOf(const fs::path& file) const {
        return test::ParseExec(test::UnescapeValue(test::EntryValue(test::ReadFile(file), "Exec")))
            .value_or(std::vector<std::string>{});
    }
    void Trigger() { dlg.quickSetBar->miCreateShortcut->trigger(); }

    test::TempDir dir;
    test::ScriptedUiServices services;
    ui::AppContext context{services};
    ui::AppWindows windows{context};
    ui::TMainDialog& dlg = *windows.main;
    ui::SortedComboBox* combo = dlg.quickSetBar->comboQuickSet;
    ui::ShortcutController& shortcuts = *new ui::ShortcutController(dlg);
};

TEST_F(ShortcutAction, TheBarOffersTheActionAndKeepsItsControls) {
    EXPECT_TRUE(dlg.quickSetBar->actions().contains(dlg.quickSetBar->miCreateShortcut));
    EXPECT_TRUE(combo->actions().contains(dlg.quickSetBar->miCreateShortcut));
    EXPECT_EQ(combo->contextMenuPolicy(), Qt::ActionsContextMenu);
}

TEST_F(ShortcutAction, WritesTheMenuLauncherAndTheDesktopOneOnlyWhenAsked) {
    services.messageAnswers = {MessageResult::No, MessageResult::Ok};
    Trigger();
    ASSERT_TRUE(fs::exists(Launcher("applications")));
    EXPECT_FALSE(fs::exists(Launcher("Desktop")));
    EXPECT_EQ(ExecOf(Launcher("applications")),
              (std::vector<std::string>{"/opt/fen mar/bin/fenmar", "--run", "--gui-errors", "--",
                                        "Coop night"}));

    services.messageAnswers = {MessageResult::Yes, MessageResult::Ok, MessageResult::Ok};
    Trigger();
    EXPECT_TRUE(fs::exists(Launcher("Desktop")));
    EXPECT_EQ(shortcuts.Written().size(), 2);
}

TEST_F(ShortcutAction, AnExistingLauncherIsReplacedOnlyAfterAsking) {
    fs::create_directories(dir.Path() / "applications");
    dir.WriteFile("applications/" + ShortcutFileName("Coop night", ".desktop"), "mine");
    services.messageAnswers = {MessageResult::No, MessageResult::Cancel};
    Trigger();
    EXPECT_EQ(test::ReadFile(Launcher("applications")), "mine");
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_TRUE(services.messages[1].text.contains(QStringLiteral("exists already")));
    EXPECT_EQ(services.messages[1].defaultButton, MessageResult::Cancel);

    services.messages.clear();
    services.messageAnswers = {MessageResult::No, MessageResult::Ok, MessageResult::Ok};
    Trigger();
    EXPECT_NE(test::ReadFile(Launcher("applications")), "mine");
}

// A stored name the system's encoding cannot show keeps its bytes up to the launcher.
TEST_F(ShortcutAction, ANameThatIsNotTextGetsALauncherForItsBytes) {
    const std::string name = "Caf\xe9";
    combo->setCurrentIndex(dlg.quickSetBar->AddStoredName(name));
    services.messageAnswers = {MessageResult::No, MessageResult::Ok};
    Trigger();
    const std::vector<std::string> exec = ExecOf(Launcher("applications", name));
    ASSERT_EQ(exec.size(), 6u);
    EXPECT_EQ(exec[3], "--hex-name");
    EXPECT_EQ(BytesFromHex(exec[5]), name);
}

// Renaming or deleting a Quick-Set takes its launchers along once the user agrees; the
// launcher of another Quick-Set under an older, shared file name stays.
TEST_F(ShortcutAction, LaunchersFollowARenameAndADeleteAndTheMenuRemovesThem) {
    services.messageAnswers = {MessageResult::Yes, MessageResult::Ok};
    Trigger();
    const std::string others = "applications/" + OlderShortcutFileName("Coop.night", ".desktop");
    dir.WriteFile(others, DesktopEntryText(QuickSetShortcut("Coop.night", "/usr/bin/fenmar", "")));
    const std::string older = "Desktop/" + OlderShortcutFileName("Coop night", ".desktop");
    dir.WriteFile(older, DesktopEntryText(QuickSetShortcut("Coop night", "/usr/bin/fenmar", "")));
    ASSERT_EQ(shortcuts.LaunchersOf("Coop night").size(), 3);

    services.messageAnswers = {MessageResult::No};
    shortcuts.QuickSetRenamed("Coop night", "Duel");
    EXPECT_TRUE(fs::exists(Launcher("applications")));  // not agreed: left alone

    services.messageAnswers = {MessageResult::Yes};
    shortcuts.QuickSetRenamed("Coop night", "Duel");
    EXPECT_TRUE(shortcuts.LaunchersOf("Coop night").isEmpty());
    EXPECT_TRUE(fs::exists(dir.Path() / others));
    for (const char* folder : {"applications", "Desktop"}) {
        EXPECT_EQ(ExecOf(Launcher(folder, "Duel")).back(), "Duel") << folder;
    }

    services.messageAnswers = {MessageResult::Yes};
    shortcuts.QuickSetDeleted("Duel");
    EXPECT_TRUE(shortcuts.LaunchersOf("Duel").isEmpty());
    EXPECT_TRUE(fs::exists(dir.Path() / others));

    // The context menu's "remove": asks, then removes.
    combo->setCurrentIndex(combo->findText("Coop night"));
    Trigger();  // answers left over: none, so the defaults (No, then OK)
    ASSERT_EQ(shortcuts.LaunchersOf("Coop night").size(), 1);
    services.messageAnswers = {MessageResult::Cancel};
    dlg.quickSetBar->miRemoveShortcut->trigger();
    EXPECT_EQ(shortcuts.LaunchersOf("Coop night").size(), 1);
    services.messageAnswers = {MessageResult::Ok};
    dlg.quickSetBar->miRemoveShortcut->trigger();
    EXPECT_TRUE(shortcuts.LaunchersOf("Coop night").isEmpty());
}

TEST_F(ShortcutAction, NothingSelectedWritesNothing) {
    combo->setCurrentIndex(-1);
    Trigger();
    EXPECT_FALSE(fs::exists(dir.Path() / "applications"));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("Select a Quick-Set first."));
}

}  // namespace
}  // namespace fenmar
