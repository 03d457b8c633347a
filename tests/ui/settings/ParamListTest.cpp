#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "LauncherWindows.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/settings/SettingsController.h"
#include "ui/widgets/ParamListEditor.h"

namespace fenmar {
namespace {

// Both editors follow the same rules; each test runs on both.
class ParamListTest : public ::testing::TestWithParam<bool>, public test::LauncherWindows {
protected:
    ui::ParamListController& editor() {
        return GetParam() ? *dlg.settings->globalParams : *dlg.settings->addParams;
    }
    const ui::ParamListControls& c() { return editor().Controls(); }
    bool Enabled(QWidget* w) { return w->isEnabledTo(&dlg); }
    void Add(const QString& text) {
        c().edit->setText(text);
        c().add->click();
    }
    QStringList Entries() {
        QStringList out;
        for (int i = 0; i < c().list->count(); ++i) {
            out << c().list->item(i)->text();
        }
        return out;
    }
    void Select(int row) { c().list->setCurrentRow(row); }
    // The entries after pressing `button`.
    QStringList EntriesAfter(QAbstractButton* button) {
        button->click();
        return Entries();
    }
};

TEST_P(ParamListTest, AddNeedsTextAndAllowsDuplicates) {
    EXPECT_FALSE(Enabled(c().add) || Enabled(c().change) || Enabled(c().remove));
    EXPECT_TRUE(Enabled(c().up) && Enabled(c().down));
    c().edit->setText(QStringLiteral("-nosound"));
    EXPECT_TRUE(Enabled(c().add));
    EXPECT_FALSE(Enabled(c().change));  // nothing selected: not touched
    c().add->click();
    Add(QStringLiteral("-nosound"));
    EXPECT_EQ(Entries(), (QStringList{"-nosound", "-nosound"}));
    EXPECT_TRUE(c().edit->text().isEmpty());
    EXPECT_FALSE(Enabled(c().add));
    editor().AddClick();  // empty: never added
    EXPECT_EQ(c().list->count(), 2);
    // Return in the edit adds as the button does, and only what the button would add.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(c().edit, &enter);
    EXPECT_EQ(c().list->count(), 2);
    c().edit->setText(QStringLiteral("-game x"));
    QApplication::sendEvent(c().edit, &enter);
    EXPECT_EQ(Entries(), (QStringList{"-nosound", "-nosound", "-game x"}));
    EXPECT_TRUE(c().edit->text().isEmpty());
}

TEST_P(ParamListTest, SelectingCopiesAndChangeReplacesInPlace) {
    for (const char* p : {"-a", "-b", "-c"}) {
        Add(QString::fromLatin1(p));
    }
    Select(1);
    EXPECT_EQ(c().edit->text(), "-b");
    EXPECT_TRUE(Enabled(c().remove));
    c().edit->setText(QStringLiteral("-B2"));
    EXPECT_TRUE(Enabled(c().change));
    c().change->click();
    EXPECT_EQ(Entries(), (QStringList{"-a", "-B2", "-c"}));
    EXPECT_EQ(c().list->currentRow(), 1);
    EXPECT_FALSE(Enabled(c().change));
    EXPECT_TRUE(c().edit->text().isEmpty());
}

TEST_P(ParamListTest, MovesStopAtTheEndsAndKeepTheSelection) {
    for (const char* p : {"-a", "-b", "-c"}) {
        Add(QString::fromLatin1(p));
    }
    Select(0);
    EXPECT_EQ(EntriesAfter(c().up), (QStringList{"-a", "-b", "-c"}));  // already on top
    EXPECT_EQ(EntriesAfter(c().down), (QStringList{"-b", "-a", "-c"}));
    EXPECT_EQ(c().list->currentRow(), 1);
    Select(2);
    EXPECT_EQ(EntriesAfter(c().down), (QStringList{"-b", "-a", "-c"}));  // already at the bottom
    EXPECT_EQ(EntriesAfter(c().up), (QStringList{"-b", "-c", "-a"}));
    EXPECT_EQ(c().list->currentRow(), 1);
}

TEST_P(ParamListTest, RemoveLeavesNothingSelectedAndDisablesOnTheLastEntry) {
    Add(QStringLiteral("-a"));
    Add(QStringLiteral("-b"));
    Select(0);
    c().remove->click();
    EXPECT_EQ(Entries(), QStringList{"-b"});
    EXPECT_EQ(c().list->currentRow(), -1);
    EXPECT_TRUE(Enabled(c().remove));
    EXPECT_TRUE(c().edit->text().isEmpty());
    c().remove->click();  // nothing selected: nothing removed
    EXPECT_EQ(Entries(), QStringList{"-b"});
    Select(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(c().list, &del);
    EXPECT_EQ(c().list->count(), 0);
    EXPECT_FALSE(Enabled(c().remove) || Enabled(c().change));
}

INSTANTIATE_TEST_SUITE_P(BothLists, ParamListTest, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "Global" : "Additional"; });

}  // namespace
}  // namespace fenmar
