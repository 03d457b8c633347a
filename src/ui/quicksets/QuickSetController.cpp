#include "ui/quicksets/QuickSetController.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "core/QuickSetLayout.h"
#include "store/Store.h"
#include "ui/pages/QuickSetBar.h"
#include "ui/quicksets/QuickSetDialogs.h"
#include "ui/settings/SettingsController.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

QuickSetController::QuickSetController(TMainDialog& dialog, SettingsController& settings)
    : QObject(&dialog), dialog_(dialog), settings_(settings) {
    setObjectName(QStringLiteral("quickSets"));
    QuickSetBar& bar = *dialog.quickSetBar;
    // `activated` comes from the user only: the program's own selections load nothing.
    connect(bar.comboQuickSet, &QComboBox::activated, this,
            &QuickSetController::comboQuickSetChange);
    connect(bar.buQuickSaveAs, &QPushButton::clicked, this,
            &QuickSetController::buQuickSaveAsClick);
    connect(bar.buQuickRenameTo, &QPushButton::clicked, this,
            &QuickSetController::buQuickRenameToClick);
    connect(bar.buQuickDelete, &QPushButton::clicked, this,
            &QuickSetController::buQuickDeleteClick);
}

int QuickSetController::FindQuickSet(const QString& name) const {
    return dialog_.quickSetBar->comboQuickSet->findText(name, Qt::MatchFixedString);
}

void QuickSetController::SelectAdding(const QString& name) {
    SortedComboBox* combo = dialog_.quickSetBar->comboQuickSet;
    int index = FindQuickSet(name);
    if (index < 0) {
        index = combo->AddSorted(name);
    }
    combo->setCurrentIndex(index);
}

void QuickSetController::comboQuickSetChange() {
    const std::string name = dialog_.quickSetBar->CurrentName();
    if (IsSet(name)) {
        settings_.LoadQuickSet(name);
    }
}

void QuickSetController::buQuickSaveAsClick() {
    AppWindows* windows = dialog_.Windows();
    if (windows == nullptr || windows->quickSaveAs == nullptr) {
        return;
    }
    TQuickSaveAs& ask = *windows->quickSaveAs;
    ask.edQuickSet->setText(dialog_.quickSetBar->comboQuickSet->currentText());
    if (dialog_.Context().ui.ExecModal(ask) != QDialog::Accepted) {
        return;
    }
    const QString name = ask.edQuickSet->text();
    if (name.isEmpty()) {
        return;
    }
    // A name differing only in letter case saves into the existing entry, as it is written.
    SelectAdding(name);
    settings_.SaveQuickSet(ToLocal(dialog_.quickSetBar->comboQuickSet->currentText()));
}

void QuickSetController::buQuickRenameToClick() {
    AppWindows* windows = dialog_.Windows();
    if (windows == nullptr || windows->quickRenameTo == nullptr) {
        return;
    }
    SortedComboBox* combo = dialog_.quickSetBar->comboQuickSet;
    const QString oldName = combo->currentText();
    const std::string storedOldName = dialog_.quickSetBar->CurrentName();
    TQuickRenameTo& ask = *windows->quickRenameTo;
    ask.SetNameTaken([this](const QString& name) { return FindQuickSet(name) >= 0; });
    ask.edQuickSet->setText(oldName);
    if (dialog_.Context().ui.ExecModal(ask) != QDialog::Accepted) {
        return;
    }
    const QString newName = ask.edQuickSet->text();
    if (newName.isEmpty()) {
        return;
    }
    store::Store* store = settings_.Store();
    if (store != nullptr) {
        // The old Quick-Set goes only together with the new one's arrival.
        store::Transaction transaction(*store);
        if (!oldName.isEmpty()) {
            store->DeleteKey(ProfileKey(storedOldName));
        }
        settings_.SaveQuickSet(ToLocal(newName));
        transaction.Commit();
    }
    if (!oldName.isEmpty()) {
        combo->removeItem(combo->findText(oldName, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    SelectAdding(newName);
    if (!storedOldName.empty() && storedOldName != ToLocal(newName)) {
        emit renamed(storedOldName, ToLocal(newName));
    }
}

void QuickSetController::buQuickDeleteClick() {
    SortedComboBox* combo = dialog_.quickSetBar->comboQuickSet;
    const QString name = combo->currentText();
    if (!IsSet(ToLocal(name))) {
        return;
    }
    if (name == QString::fromLatin1(kDefaultQuickSet.data(),
                                    static_cast<qsizetype>(kDefaultQuickSet.size()))) {
        dialog_.Context().ui.ShowMessage(QStringLiteral("cannot remove entry \"<default>\" !"),
                                         QStringLiteral("Something you should know..."),
                                         MessageIcon::Information);
        return;
    }
    const std::string stored = dialog_.quickSetBar->CurrentName();
    if (store::Store* store = settings_.Store()) {
        store->DeleteKey(ProfileKey(stored));
    }
    combo->removeItem(combo->currentIndex());
    combo->setCurrentIndex(-1);
    emit deleted(stored);
}

}  // namespace fenmar::ui
