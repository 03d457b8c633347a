#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "LauncherWindows.h"
#include "core/QuickSetLayout.h"
#include "store/RegistryHandling.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/QuickSetBar.h"
#include "ui/quicksets/QuickSetController.h"
#include "ui/quicksets/QuickSetDialogs.h"
#include "ui/settings/SettingsController.h"
#include "ui/widgets/Controls.h"

namespace fenmar {
namespace {

using store::JoinKeyPath;

class QuickSetBarTest : public ::testing::Test, public test::LauncherWindows {
protected:
    QuickSetBarTest() {
        UseSettingsFile();
        emit dlg.activatedFirstTime();  // "<default>" exists and is selected
        services.messages.clear();
        for (const char* name : {"Alpha", "Beta"}) {
            dlg.settings->SaveQuickSet(name);
            combo->AddSorted(QString::fromLatin1(name));
        }
    }

    // The user types `name` into the name dialog and presses OK (once per entry of `presses`).
    void Answer(const QString& name, int presses = 1) {
        services.modalActions.push_back([name, presses](QDialog& d) {
            auto& ask = static_cast<ui::QuickSetNameDialog&>(d);
            ask.edQuickSet->setText(name);
            for (int i = 0; i < presses && ask.isVisible(); ++i) {
                ask.buOK->click();
            }
            if (ask.isVisible()) {
                ask.buCancel->click();
            }
        });
    }
    bool Stored(const std::string& name) { return storage->KeyExists(ProfileKey(name)); }
    QStringList Entries() const {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i) {
            out << combo->itemText(i);
        }
        return out;
    }
    std::string StoredMap(const std::string& name) {
        return store::RegReadString(*storage, JoinKeyPath(ProfileKey(name), "General"),
                                    "LaunchMap");
    }

    ui::SortedComboBox* combo = dlg.quickSetBar->comboQuickSet;
    ui::QuickSetController& bar = *dlg.quickSets;
};

TEST_F(QuickSetBarTest, SaveAsAddsOrReusesTheEntryIgnoringCase) {
    dlg.general->comboMap->setEditText(QStringLiteral("e1m7"));
    Answer(QStringLiteral("beta"));
    bar.buQuickSaveAsClick();
    EXPECT_EQ(Entries(), (QStringList{"<default>", "Alpha", "Beta"}));
    EXPECT_EQ(combo->currentText(), "Beta");
    EXPECT_EQ(StoredMap("Beta"), "e1m7");

    Answer(QStringLiteral("Gamma"));
    bar.buQuickSaveAsClick();
    EXPECT_EQ(Entries(), (QStringList{"<default>", "Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(combo->currentText(), "Gamma");
    EXPECT_TRUE(Stored("Gamma"));

    Answer(QString());  // an empty name does nothing
    bar.buQuickSaveAsClick();
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(services.modalTitles.back(), "Fenmar - save Quick-Set");
}

TEST_F(QuickSetBarTest, NamesThatWouldNestOverflowOrMeanNothingAreRefusedInTheDialog) {
    Answer(QStringLiteral("team\\blue"));
    bar.buQuickSaveAsClick();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_NE(services.messages[0].text.indexOf(QStringLiteral("backslash")), -1);
    Answer(QString(256, QLatin1Char('x')));
    bar.buQuickSaveAsClick();
    EXPECT_EQ(services.messages.size(), 2u);
    // The chooser's "nothing chosen" could be saved but never loaded or deleted.
    Answer(QStringLiteral("<none>"));
    bar.buQuickSaveAsClick();
    ASSERT_EQ(services.messages.size(), 3u);
    EXPECT_NE(services.messages[2].text.indexOf(QStringLiteral("<none>")), -1);
    EXPECT_FALSE(Stored("<none>"));
    EXPECT_EQ(combo->count(), 3);
    EXPECT_FALSE(storage->KeyExists(JoinKeyPath(ProfileKey("team"), "blue")));
}

TEST_F(QuickSetBarTest, RenameOntoAnExistingNameAsksAndCancelKeepsTheDialogOpen) {
    combo->setCurrentIndex(combo->findText(QStringLiteral("Alpha")));
    dlg.general->comboMap->setEditText(QStringLiteral("e2m2"));
    services.messageAnswers = {ui::MessageResult::Cancel, ui::MessageResult::Ok};
    Answer(QStringLiteral("beta"), 2);
    bar.buQuickRenameToClick();

    ASSERT_EQ(services.messages.size(), 2u);  // asked twice: Cancel kept the dialog open
    const ui::MessageRequest& asked = services.messages[0];
    EXPECT_EQ(asked.text, "Really overwrite \"beta\" ?");
    EXPECT_EQ(asked.caption, "QuickSet already exists!");
    EXPECT_EQ(asked.icon, ui::MessageIcon::Question);
    EXPECT_EQ(asked.buttons, ui::MessageButtons::OkCancel);
    EXPECT_EQ(asked.defaultButton, ui::MessageResult::Cancel);
    EXPECT_EQ(Entries(), (QStringList{"<default>", "Beta"}));
    EXPECT_EQ(combo->currentText(), "Beta");
    EXPECT_FALSE(Stored("Alpha"));
    EXPECT_EQ(StoredMap("Beta"), "e2m2");
}

TEST_F(QuickSetBarTest, RenameToNothingChangesNothingAndWithoutSelectionDeletesNothing) {
    combo->setCurrentIndex(combo->findText(QStringLiteral("Alpha")));
    Answer(QString());
    bar.buQuickRenameToClick();
    EXPECT_EQ(Entries(), (QStringList{"<default>", "Alpha", "Beta"}));
    EXPECT_TRUE(Stored("Alpha"));

    combo->setCurrentIndex(-1);
    Answer(QStringLiteral("Delta"));
    bar.buQuickRenameToClick();
    EXPECT_EQ(Entries(), (QStringList{"<default>", "Alpha", "Beta", "Delta"}));
    EXPECT_TRUE(Stored("Alpha") && Stored("Beta") && Stored("Delta"));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(QuickSetBarTest, DefaultCannotBeDeletedOthersGoWithoutTouchingTheProfile) {
    combo->setCurrentIndex(combo->findText(QStringLiteral("<default>")));
    bar.buQuickDeleteClick();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "cannot remove entry \"<default>\" !");
    EXPECT_EQ(services.messages[0].caption, "Something you should know...");
    EXPECT_EQ(services.messages[0].icon, ui::MessageIcon::Information);
    EXPECT_TRUE(Stored("<default>"));

    dlg.general->comboMap->setEditText(QStringLiteral("dm4"));
    combo->setCurrentIndex(combo->findText(QStringLiteral("Beta")));
    bar.buQuickDeleteClick();
    EXPECT_FALSE(Stored("Beta"));
    EXPECT_EQ(Entries(), (QStringList{"<default>", "Alpha"}));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(dlg.general->comboMap->currentText(), "dm4");
    bar.buQuickDeleteClick();  // nothing selected: nothing happens
    EXPECT_EQ(combo->count(), 2);
}

TEST_F(QuickSetBarTest, OnlyTheUsersChoiceLoadsAQuickSet) {
    store::RegWriteString(*storage, JoinKeyPath(ProfileKey("Alpha"), "General"), "LaunchMap",
                          "e3m6");
    const int alpha = combo->findText(QStringLiteral("Alpha"));
    combo->setCurrentIndex(alpha);  // the program's selection
    EXPECT_EQ(dlg.general->comboMap->currentText(), "<none>");
    emit combo->activated(alpha);  // the user's
    EXPECT_EQ(dlg.general->comboMap->currentText(), "e3m6");
    EXPECT_EQ(context.globals.Profile.Text(TextField::LaunchMap), "e3m6");
    EXPECT_EQ(context.globals.Profile.Text(TextField::ConfigFile), "fenmar.cfg");
}

}  // namespace
}  // namespace fenmar
