#include "ui/executables/ExecutableList.h"

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "LauncherWindows.h"
#include "ui/executables/ExeNotDefined.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/widgets/Controls.h"

namespace fenmar {
namespace {

class ExecutableListTest : public ::testing::Test, public test::LauncherWindows {
protected:
    ui::MoreGlobalOptionsPage& page = *dlg.moreGlobalOptions;
    ui::ExecutableList& list = *dlg.executableList;

    QStringList ListNames() const {
        QStringList names;
        for (int i = 0; i < page.lvExecutables->topLevelItemCount(); ++i) {
            names << page.lvExecutables->topLevelItem(i)->text(0);
        }
        return names;
    }
    QStringList ComboNames() const {
        QStringList names;
        for (int i = 0; i < dlg.general->comboExecutables->count(); ++i) {
            names << dlg.general->comboExecutables->itemText(i);
        }
        return names;
    }
    void Select(const QString& name) {
        const auto rows = page.lvExecutables->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1);
        page.lvExecutables->setCurrentItem(rows.first());
    }
    void Key(int key) {
        page.lvExecutables->setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(page.lvExecutables, &press);
    }
    // The user names the unknown file `name` and presses OK.
    void AnswerName(const QString& name) {
        services.modalActions.push_back([name](QDialog& dialog) {
            auto& ask = static_cast<ui::TExeNotDefined&>(dialog);
            ask.edDescr->setText(name);
            ask.buOK->click();
        });
    }
};

TEST_F(ExecutableListTest, ShowsTheBuiltInRowsSortedAndTheBoxTheSameNames) {
    EXPECT_EQ(ListNames(), test::BuiltInExecutables());
    EXPECT_EQ(ComboNames(), test::BuiltInExecutables());
    EXPECT_EQ(page.lvExecutables->topLevelItem(2)->text(1), "glquake.exe");
    EXPECT_EQ(dlg.general->comboExecutables->currentText(), "DOS-Quake");
}

TEST_F(ExecutableListTest, ResolvesAKnownFileIgnoringCaseWithoutAsking) {
    EXPECT_EQ(list.ResolveExecutableName("WINQUAKE.EXE"), "WinQuake");
    EXPECT_TRUE(services.modalTitles.empty());
}

TEST_F(ExecutableListTest, AsksForANameAgainWhileTheNameExists) {
    ui::TExeNotDefined& ask = *windows.exeNotDefined;
    bool focusInDescr = false;
    services.modalActions.push_back([&](QDialog&) {
        EXPECT_EQ(ask.edExe->text(), "MINE.EXE");
        EXPECT_TRUE(ask.edExe->isReadOnly());
        focusInDescr = ask.focusWidget() == ask.edDescr;
        ask.edDescr->setText("winquake");
        ask.buOK->click();
    });
    AnswerName("Mine");
    EXPECT_EQ(list.ResolveExecutableName("mine.exe"), "Mine");
    EXPECT_TRUE(focusInDescr);
    ASSERT_EQ(services.modalTitles.size(), 2u);
    EXPECT_EQ(services.modalTitles[0], "Executable not defined...");
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "Executable \"winquake\" already exists !");
    EXPECT_TRUE(ComboNames().contains("Mine"));
    EXPECT_EQ(ListNames().indexOf("Mine"), ComboNames().indexOf("Mine"));
    // The launch code sees the new row.
    EXPECT_EQ(ExecutableFileOf(context.executables, "MINE"), "mine.exe");
}

TEST_F(ExecutableListTest, CancellingFallsBackToQuakeExeThenToTheFirstRow) {
    EXPECT_EQ(list.ResolveExecutableName("mine.exe"), "DOS-Quake");
    EXPECT_EQ(ListNames().size(), 8);

    list.ReplaceAll({{"Zed", "zed.exe"}, {"Alpha", "alpha.exe"}, {"", "nameless.exe"}});
    EXPECT_EQ(ListNames(), QStringList({"Alpha", "Zed"}));
    EXPECT_EQ(list.ResolveExecutableName("mine.exe"), "Alpha");

    list.ReplaceAll({});
    EXPECT_EQ(list.ResolveExecutableName("mine.exe"), std::nullopt);
    EXPECT_TRUE(ComboNames().isEmpty());
}

TEST_F(ExecutableListTest, AddRefusesANameThatExistsInAnyCase) {
    page.edName->setText("WINQUAKE");
    page.edFile->setText("other.exe");
    ASSERT_TRUE(page.buAdd->isEnabledTo(&dlg));
    page.buAdd->click();
    EXPECT_EQ(ListNames().size(), 8);
    EXPECT_EQ(page.edName->text(), "WINQUAKE");  // nothing happens at all
    EXPECT_TRUE(services.messages.empty());
    EXPECT_FALSE(list.AddExecutable("x.exe", "gl-quake"));

    page.edName->setText("Dusk");
    page.buAdd->click();
    EXPECT_EQ(ListNames().indexOf("Dusk"), 2);
    EXPECT_EQ(ComboNames().indexOf("Dusk"), 2);
    EXPECT_TRUE(page.edName->text().isEmpty());
    EXPECT_TRUE(page.edFile->text().isEmpty());
    EXPECT_FALSE(page.buAdd->isEnabledTo(&dlg));
    EXPECT_TRUE(services.beeps.empty());
}

TEST_F(ExecutableListTest, RenamingARowBeepsAndSwapsTheBoxEntry) {
    Select("GL-Quake");
    Key(Qt::Key_Return);  // copies the row into the editor
    EXPECT_EQ(page.edName->text(), "GL-Quake");
    EXPECT_EQ(page.edFile->text(), "glquake.exe");
    EXPECT_TRUE(page.buChangeTo->isEnabledTo(&dlg));

    page.edName->setText("Zeta GL");
    page.buChangeTo->click();
    EXPECT_EQ(services.beeps, std::vector<ui::BeepKind>{ui::BeepKind::Default});
    EXPECT_FALSE(ComboNames().contains("GL-Quake"));
    EXPECT_EQ(ComboNames().last(), "Zeta GL");
    EXPECT_EQ(ListNames(), ComboNames());
    EXPECT_EQ(ExecutableFileOf(context.executables, "Zeta GL"), "glquake.exe");
    EXPECT_EQ(ExecutableFileOf(context.executables, "GL-Quake"), "quake.exe");
}

TEST_F(ExecutableListTest, DeleteKeyRemovesTheRowAndItsBoxEntry) {
    Select("WinQuake");
    EXPECT_TRUE(page.buDelete->isEnabledTo(&dlg));
    Key(Qt::Key_Delete);
    EXPECT_FALSE(ListNames().contains("WinQuake"));
    EXPECT_FALSE(ComboNames().contains("WinQuake"));
    EXPECT_FALSE(page.buDelete->isEnabledTo(&dlg));
    EXPECT_FALSE(page.buChangeTo->isEnabledTo(&dlg));
    EXPECT_FALSE(context.executables.Find("WinQuake"));
}

TEST_F(ExecutableListTest, PickingAnEntryOfTheBoxSetsTheExecutable) {
    ui::SortedComboBox* combo = dlg.general->comboExecutables;
    const int gl = combo->findText("GL-Quake");
    combo->setCurrentIndex(gl);
    emit combo->activated(gl);
    EXPECT_EQ(context.globals.Executable, "GL-Quake");

    list.ShowExecutable("winquake");
    EXPECT_EQ(combo->currentText(), "WinQuake");
    list.ShowExecutable("nothing");
    EXPECT_EQ(combo->currentIndex(), -1);
}

TEST_F(ExecutableListTest, EntriesRoundTripThroughReplaceAll) {
    const std::vector<ExecutableEntry> rows = {{"b", "b.exe"}, {"A", "a.bat"}};
    list.ReplaceAll(rows);
    const auto entries = list.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "A");
    EXPECT_EQ(entries[0].file, "a.bat");
    EXPECT_EQ(entries[1].name, "b");
    EXPECT_EQ(ComboNames(), QStringList({"A", "b"}));
    EXPECT_EQ(context.executables.Entries().size(), 2u);
}

// Counts the events an object receives while `counting` is set.
class EventCounter : public QObject {
public:
    bool counting = false;
    int seen = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (counting) {
            ++seen;
        }
        return QObject::eventFilter(watched, event);
    }
};

TEST(ExecutableListTeardown, TheWindowGoesAwayWhileItsListHasTheKeyboardFocus) {
    // The list keeps receiving events (focus, hide, removal of its rows) while the window
    // around it is destroyed; the key handler must then not reach into the window.
    test::ScriptedUiServices services;
    ui::AppContext context{services};
    auto windows = std::make_unique<ui::AppWindows>(context);
    ui::TMainDialog& dlg = *windows->main;
    QTreeWidget* list = dlg.moreGlobalOptions->lvExecutables;
    EventCounter counter;  // outlives the list; sees what the list sees
    list->installEventFilter(&counter);

    dlg.PageControl1->setCurrentWidget(dlg.moreGlobalOptions);
    dlg.show();
    QApplication::processEvents();
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    const int rows = list->topLevelItemCount();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list, &press);
    ASSERT_EQ(list->topLevelItemCount(), rows - 1);  // the key handler is in place

    counter.counting = true;
    windows.reset();
    EXPECT_GT(counter.seen, 0);  // the teardown did reach the list's filters
}

}  // namespace
}  // namespace fenmar
