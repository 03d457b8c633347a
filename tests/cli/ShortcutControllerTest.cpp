#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QStandardPaths>
#include <filesystem>

#include "DesktopEntryDecode.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"
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
    fs::path Launcher(const char* folder) const {
        return dir.Path() / folder / "fenmar-quickset-Coop_night.desktop";
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
    const std::string text = test::ReadFile(Launcher("applications"));
    EXPECT_EQ(test::ParseExec(test::UnescapeValue(test::EntryValue(text, "Exec"))),
              (std::vector<std::string>{"/opt/fen mar/bin/fenmar", "--run", "--", "Coop night"}));

    services.messageAnswers = {MessageResult::Yes, MessageResult::Ok, MessageResult::Ok};
    Trigger();
    EXPECT_TRUE(fs::exists(Launcher("Desktop")));
    EXPECT_EQ(shortcuts.Written().size(), 2);
}

TEST_F(ShortcutAction, AnExistingLauncherIsReplacedOnlyAfterAsking) {
    fs::create_directories(dir.Path() / "applications");
    dir.WriteFile("applications/fenmar-quickset-Coop_night.desktop", "mine");
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

TEST_F(ShortcutAction, NothingSelectedWritesNothing) {
    combo->setCurrentIndex(-1);
    Trigger();
    EXPECT_FALSE(fs::exists(dir.Path() / "applications"));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("Select a Quick-Set first."));
}

}  // namespace
}  // namespace fenmar
