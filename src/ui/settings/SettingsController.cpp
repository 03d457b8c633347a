#include "ui/settings/SettingsController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "core/GlobalSettings.h"
#include "store/Store.h"
#include "ui/executables/ExecutableList.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/QuickSetBar.h"
#include "ui/pickers/DirectoryChecks.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"
#include "ui/widgets/ParamListEditor.h"
#include "ui/widgets/StoredTextLimit.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/WindowSize.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

SettingsController::SettingsController(TMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("settings"));
    GeneralPage& general = *dialog.general;
    addParams = new ParamListController(
        {general.labAddParams, general.edAddParams, general.lbAddParams, general.buAPAdd,
         general.buAPChange, general.buAPRemove, general.MvUp, general.MvDn},
        this);
    GlobalOptionsPage& global = *dialog.globalOptions;
    globalParams = new ParamListController(
        {global.labGlobalParams, global.edGlobalParams, global.lbGlobalParams, global.buGPAdd,
         global.buGPChange, global.buGPRemove, global.buGPMvUp, global.buGPMvDn},
        this);

    for (QCheckBox* box :
         {global.cbDelInID1Dir, global.cbDelInPatchDir, global.cbDelOnLaunch, global.cbDelOnExit}) {
        connect(box, &QCheckBox::toggled, this, [this, box] { cbDelConfigsClick(box); });
    }
    MoreGlobalOptionsPage& more = *dialog.moreGlobalOptions;
    connect(more.udMinBSPSize, &QSpinBox::valueChanged, this,
            &SettingsController::udMinBSPSizeClick);
    connect(more.cbDontScanBSPMsgs, &QCheckBox::toggled, this,
            &SettingsController::cbDontScanBSPMsgsClick);

    LimitStoredEdits();

    connect(&dialog, &TMainDialog::activatedFirstTime, this, &SettingsController::FormActivate);
    connect(&dialog, &TMainDialog::closing, this, &SettingsController::FormClose);
    ConnectPlugInHost();
}

store::Store* SettingsController::Store() const {
    return dialog_.Context().store;
}

void SettingsController::FormActivate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    LoadSettings();
    dialog_.directoryChecks->CheckDirectories();
}

void SettingsController::FormClose() {
    // A window closed before it was ever activated has loaded nothing: saving its initial
    // state would overwrite the stored settings.
    if (loaded_) {
        SaveSettings();
    }
}

void SettingsController::LimitStoredEdits() {
    // Every edit whose text is stored: paths, executable names and files, parameters, the
    // profile's texts.
    for (QLineEdit* edit : {dialog_.globalOptions->edQuakePath, dialog_.globalOptions->edPatchPath,
                            dialog_.globalOptions->edQSpy, dialog_.globalOptions->edGlobalParams,
                            dialog_.general->edAddParams, dialog_.moreGlobalOptions->edName,
                            dialog_.moreGlobalOptions->edFile, dialog_.multiplayer->edHostName}) {
        LimitStoredText(edit);
    }
    for (QComboBox* combo : {dialog_.general->comboMap, dialog_.general->comboPatch,
                             dialog_.general->comboDemo, dialog_.multiplayer->comboServer}) {
        LimitStoredText(combo);
    }
}

// --- Options ------------------------------------------------------------------------------

void SettingsController::cbDelConfigsClick(QObject* sender) {
    auto* box = qobject_cast<QCheckBox*>(sender);
    if (box == nullptr) {
        return;
    }
    Globals& globals = dialog_.Context().globals;
    globals.DeleteConfigs =
        DeleteConfigMaskWith(globals.DeleteConfigs, TagOf(box), box->isChecked());
    const bool located = DeleteConfigHasLocation(globals.DeleteConfigs);
    GlobalOptionsPage& page = *dialog_.globalOptions;
    for (QCheckBox* when : {page.cbDelOnLaunch, page.cbDelOnExit}) {
        when->setEnabled(located);
        if (!located) {
            // The mask already lost these bits.
            const QSignalBlocker quiet(when);
            when->setChecked(false);
        }
    }
}

void SettingsController::udMinBSPSizeClick() {
    MoreGlobalOptionsPage& page = *dialog_.moreGlobalOptions;
    const int position = page.udMinBSPSize->value();
    page.edMinBSPSize->setText(QString::number(position));
    dialog_.Context().globals.MinBSPSize = position;
}

void SettingsController::cbDontScanBSPMsgsClick() {
    dialog_.Context().globals.DontScanBSPMsgs =
        dialog_.moreGlobalOptions->cbDontScanBSPMsgs->isChecked();
}

// --- Loading ------------------------------------------------------------------------------

void SettingsController::LoadSettings() {
    store::Store* store = Store();
    if (store == nullptr) {
        return;
    }
    loaded_ = true;
    if (SettingsNeedUpgrade(*store)) {
        UpgradeAllSettings(*store, HostNameText(), [this](const std::string& file) {
            return dialog_.executableList->ResolveExecutableName(file).value_or(std::string());
        });
    }
    LoadInternalOptions(*store);
    if (auto rows = ReadExecutables(*store)) {
        dialog_.executableList->ReplaceAll(*rows);
    }
    if (!DefaultQuickSetExists(*store)) {
        CreateDefaultQuickSet(*store);
    }
    std::vector<std::string> params;
    if (ReadGlobalParams(*store, params)) {
        globalParams->AppendEntries(params);
    }
    LoadRecentLists(*store);
    LoadQuickSet("");
    LoadQuickSetChooser(*store);
    RestoreWindowSize(*store, "Main", dialog_);
}

void SettingsController::LoadInternalOptions(store::Store& store) {
    const std::optional<InternalOptions> options = ReadInternalOptions(store);
    if (!options) {
        return;
    }
    GlobalOptionsPage& page = *dialog_.globalOptions;
    page.edQuakePath->setText(FromLocal(options->quakePath));
    page.edPatchPath->setText(FromLocal(options->patchPath));
    page.edQSpy->setText(FromLocal(options->qSpyExecutable));
    // The boxes rebuild the mask through their handler, location first.
    for (QCheckBox* box :
         {page.cbDelInID1Dir, page.cbDelInPatchDir, page.cbDelOnLaunch, page.cbDelOnExit}) {
        box->setChecked((options->deleteConfigs & TagOf(box)) != 0);
    }
    MoreGlobalOptionsPage& more = *dialog_.moreGlobalOptions;
    more.udMinBSPSize->setValue(options->minBSPSize);
    udMinBSPSizeClick();
    more.cbDontScanBSPMsgs->setChecked(options->dontScanBSPMsgs);
    cbDontScanBSPMsgsClick();
}

void SettingsController::LoadRecentLists(store::Store& store) {
    const std::pair<QComboBox*, RecentListKey> lists[] = {
        {dialog_.general->comboPatch, kRecentPatches},
        {dialog_.general->comboDemo, kRecentDemos},
        {dialog_.multiplayer->comboServer, kRecentServers}};
    for (const auto& [combo, which] : lists) {
        std::vector<std::string> items = Items(*combo);
        if (ReadRecentList(store, which, items)) {
            SetItems(*combo, items);
        }
    }
}

void SettingsController::LoadQuickSetChooser(store::Store& store) {
    const std::optional<QuickSetChoice> choice = ReadQuickSetChoice(store);
    if (!choice) {
        return;
    }
    SortedComboBox* combo = dialog_.quickSetBar->comboQuickSet;
    for (const std::string& name : choice->names) {
        dialog_.quickSetBar->AddStoredName(name);
    }
    // Selecting here loads nothing: the controls keep the working profile.
    const bool inRange = choice->selected >= 0 && choice->selected < combo->count();
    combo->setCurrentIndex(inRange ? choice->selected : -1);
}

// --- Saving -------------------------------------------------------------------------------

void SettingsController::SaveSettings() {
    store::Store* store = Store();
    if (store == nullptr) {
        return;
    }
    AppContext& context = dialog_.Context();
    const Globals& globals = context.globals;
    GlobalSettingsData data;
    data.quakePath = globals.Profile.Text(TextField::QuakePath);
    data.patchPath = globals.Profile.Text(TextField::PatchPath);
    data.qSpyExecutable = ToLocal(dialog_.globalOptions->edQSpy->text());
    data.deleteConfigs = globals.DeleteConfigs;
    data.minBSPSize = globals.MinBSPSize;
    data.dontScanBSPMsgs = globals.DontScanBSPMsgs;
    data.executables = dialog_.executableList->Entries();
    data.globalParams = globalParams->Entries();
    data.recentPatches = Items(*dialog_.general->comboPatch);
    data.recentDemos = Items(*dialog_.general->comboDemo);
    data.recentServers = Items(*dialog_.multiplayer->comboServer);
    data.currentSelected = dialog_.quickSetBar->comboQuickSet->currentIndex();

    SaveAll(*store, data);
    SaveWindowSize(*store, "Main", dialog_);
}

// --- Helpers ------------------------------------------------------------------------------

std::vector<std::string> SettingsController::Items(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) {
        items.push_back(ToLocal(combo.itemText(i)));
    }
    return items;
}

void SettingsController::SetItems(QComboBox& combo, const std::vector<std::string>& items) {
    // Only the entries change: the text shown and its handler stay as they are.
    const QSignalBlocker quiet(&combo);
    const QString shown = combo.currentText();
    for (std::size_t i = static_cast<std::size_t>(combo.count()); i < items.size(); ++i) {
        combo.addItem(FromLocal(items[i]));
    }
    if (combo.isEditable()) {
        combo.setEditText(shown);
    }
}

std::string SettingsController::HostNameText() const {
    return ToLocal(dialog_.multiplayer->edHostName->text());
}

}  // namespace fenmar::ui
