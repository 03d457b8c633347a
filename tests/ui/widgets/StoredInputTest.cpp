// Input that goes into the settings store, as the user types it into the real widgets, and the
// file dialog's filter as the real dialog shows it.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QToolButton>
#include <QToolTip>

#include "LauncherWindows.h"
#include "TempDir.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/quicksets/QuickSetDialogs.h"
#include "ui/services/QtUiServices.h"
#include "ui/widgets/StoredTextLimit.h"

namespace fenmar {
namespace {

class StoredInput : public ::testing::Test, public test::LauncherWindows {};

// Every edit whose text is stored, found by name as a person would find it.
std::vector<QLineEdit*> StoredEdits(ui::TMainDialog& dlg) {
    std::vector<QLineEdit*> edits;
    for (const char* name : {"edQuakePath", "edPatchPath", "edQSpy", "edGlobalParams",
                             "edAddParams", "edName", "edFile", "edHostName"}) {
        edits.push_back(dlg.findChild<QLineEdit*>(QString::fromLatin1(name)));
    }
    for (const char* name : {"comboMap", "comboPatch", "comboDemo", "comboServer"}) {
        auto* combo = dlg.findChild<QComboBox*>(QString::fromLatin1(name));
        edits.push_back(combo != nullptr ? combo->lineEdit() : nullptr);
    }
    return edits;
}

TEST_F(StoredInput, TypingStopsAt255BytesOfStoredText) {
    for (QLineEdit* edit : StoredEdits(dlg)) {
        ASSERT_NE(edit, nullptr);
        SCOPED_TRACE(edit->objectName().toStdString() + "/" +
                     edit->parent()->objectName().toStdString());
        edit->clear();
        edit->insert(QString(253, QLatin1Char('a')));
        EXPECT_EQ(edit->text().size(), 253);
        // Two bytes more: an accented letter takes both.
        edit->insert(QStringLiteral("é"));
        EXPECT_EQ(edit->text().toLocal8Bit().size(), 255);
        edit->insert(QStringLiteral("b"));  // one byte too many: refused
        EXPECT_EQ(edit->text().toLocal8Bit().size(), 255);
        EXPECT_TRUE(edit->text().endsWith(QStringLiteral("é")));
        // A pasted text that would not fit is refused whole, not cut.
        edit->clear();
        edit->insert(QString(300, QLatin1Char('x')));
        EXPECT_EQ(edit->text(), QString());
    }
}

TEST_F(StoredInput, WhereTypingStopsATooltipSaysWhy) {
    QLineEdit* edit = dlg.globalOptions->edQuakePath;
    dlg.show();
    edit->insert(QString(255, QLatin1Char('q')));
    QToolTip::hideText();
    edit->insert(QStringLiteral("ü"));  // two more bytes do not fit
    EXPECT_EQ(edit->text().size(), 255);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), ui::StoredTextLimitMessage());
    EXPECT_NE(QToolTip::text().indexOf(QStringLiteral("255 bytes")), -1);
    QToolTip::hideText();
    dlg.hide();
}

TEST_F(StoredInput, QuickSetNamesStopAt255Bytes) {
    for (ui::QuickSetNameDialog* ask :
         {static_cast<ui::QuickSetNameDialog*>(windows.quickSaveAs),
          static_cast<ui::QuickSetNameDialog*>(windows.quickRenameTo)}) {
        ASSERT_NE(ask, nullptr);
        ask->edQuickSet->insert(QString(200, QLatin1Char('n')));
        ask->edQuickSet->insert(QString(30, QChar(0x00E9)));  // 60 bytes: does not fit
        EXPECT_EQ(ask->edQuickSet->text().size(), 200);
        ask->edQuickSet->insert(QString(55, QLatin1Char('n')));
        EXPECT_EQ(ask->edQuickSet->text().size(), 255);
    }
}

TEST_F(StoredInput, TheTwoDemoButtonsSayWhereTheyLook) {
    const QString id1 = dlg.general->buBrowseDemo->toolTip();
    const QString patch = dlg.general->buBrowsePatchDemo->toolTip();
    EXPECT_NE(id1.indexOf(QStringLiteral("id1"), 0, Qt::CaseInsensitive), -1) << id1.toStdString();
    EXPECT_NE(patch.indexOf(QStringLiteral("patch")), -1) << patch.toStdString();
    EXPECT_NE(id1, patch);
}

TEST(FileDialogFilter, ShowsItsCaptionOnceAndMatchesAnyCapitals) {
    EXPECT_EQ(ui::PatternsMatchingAnyCase(QStringLiteral("*.dem;*.qwd")),
              QStringLiteral("*.[dD][eE][mM] *.[qQ][wW][dD]"));
    EXPECT_EQ(ui::PatternsMatchingAnyCase(QStringLiteral("*.cfg;*.CFG")),
              QStringLiteral("*.[cC][fF][gG]"));

    ui::FileDialogRequest request;
    request.filterText = QStringLiteral("Quake demo-files (*.dem, *.qwd)");
    request.filterPattern = QStringLiteral("*.dem;*.qwd");
    request.defaultExt = QStringLiteral("DEM");
    request.title = QStringLiteral("Select a demo...");
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    ui::ConfigureFileDialog(dialog, request);
    // The chooser of file kinds shows the caption as given, without a second pattern list.
    auto* kinds = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(kinds, nullptr);
    ASSERT_EQ(kinds->count(), 1);
    EXPECT_EQ(kinds->itemText(0), request.filterText);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("dem"));
    EXPECT_EQ(dialog.windowTitle(), request.title);

    // The patterns the dialog filters with list files in any capitals, and nothing else.
    const QString filter = dialog.nameFilters().value(0);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("\\(([^()]*)\\)$")).match(filter);
    ASSERT_TRUE(m.hasMatch()) << filter.toStdString();
    test::TempDir dir;
    for (const char* name : {"Duel1.Dem", "e1.DEM", "team.qwd", "notes.txt", "old.demo"}) {
        dir.WriteFile(name, "x");
    }
    QDir folder(QString::fromLocal8Bit(dir.Str()));
    folder.setFilter(QDir::Files | QDir::CaseSensitive);
    folder.setNameFilters(m.captured(1).split(QLatin1Char(' ')));
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    EXPECT_EQ(folder.entryList(), (QStringList{"Duel1.Dem", "e1.DEM", "team.qwd"}));
}

}  // namespace
}  // namespace fenmar
