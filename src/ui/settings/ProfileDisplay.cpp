// The profile in the window: ShowProfile, and Quick-Sets loaded into and saved from it.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "core/GlobalSettings.h"
#include "plugins/PlugInSettings.h"
#include "plugins/TPlugIn.h"
#include "store/Store.h"
#include "ui/executables/ExecutableList.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/plugins/PlugInManager.h"
#include "ui/settings/SettingsController.h"
#include "ui/widgets/ComboText.h"
#include "ui/widgets/LocalText.h"
#include "ui/widgets/ParamListEditor.h"
#include "ui/widgets/RadioChoice.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

namespace {

// The active plug-in's slot as a stored profile sees it.
class WindowProfilePlugIn : public ProfilePlugIn {
public:
    explicit WindowProfilePlugIn(TMainDialog& dialog) : dialog_(dialog) {}

    std::string FileName() override {
        TPlugIn* slot = dialog_.Context().activePlugIn;
        return slot != nullptr ? slot->FileName() : std::string(kNone);
    }
    void Save(store::Store& store, std::string_view base) override {
        if (TPlugIn* slot = dialog_.Context().activePlugIn) {
            SavePlugInSettings(*slot, store, base);
        } else {
            store.DeleteKey(store::JoinKeyPath(base, kPlugInSettingsKey));
        }
    }
    void Load(store::Store& store, std::string_view base, const std::string& fileName) override {
        if (dialog_.plugInManager == nullptr) {
            return;
        }
        dialog_.plugInManager->ActivatePlugIn(fileName.empty() ? std::string(kNone) : fileName);
        TPlugIn* slot = dialog_.Context().activePlugIn;
        if (slot != nullptr && slot->IsLoaded()) {
            RestorePlugInSettings(*slot, store, base);
        }
    }

private:
    TMainDialog& dialog_;
};

}  // namespace

void SettingsController::ConnectPlugInHost() {
    if (dialog_.plugInManager == nullptr) {
        return;
    }
    dialog_.plugInManager->Host().SetShowProfile([this] { ShowProfile(); });
    // A plug-in chosen in the list restores its settings from the working profile.
    dialog_.plugInManager->SetRestoreSettings([this](TPlugIn& slot) {
        if (store::Store* store = Store()) {
            RestorePlugInSettings(slot, *store, ProfileKey(""));
        }
    });
}

void SettingsController::ShowProfile() {
    // The controls' handlers write back into the profile as each control is set, and the
    // window's rules may change further fields: show what the profile held at the start.
    const Globals& live = dialog_.Context().globals;
    const LiveProfile profile = live.Profile;
    const LaunchProfile& p = profile.Record();
    const std::string executable = live.Executable;
    GeneralPage& general = *dialog_.general;
    MultiplayerPage& mp = *dialog_.multiplayer;
    OptionsPage& options = *dialog_.options;

    SetComboText(general.comboMap, FromLocal(profile.Text(TextField::LaunchMap)));
    SetComboText(general.comboPatch, FromLocal(profile.Text(TextField::GamePatch)));
    dialog_.launchOptions->RefreshDemoButtons();
    CheckRadioByTag({general.rbSkill0, general.rbSkill1, general.rbSkill2, general.rbSkill3},
                    p.SkillLevel);
    general.cbPlayback->setChecked(p.DemoState == 1);
    general.cbRecord->setChecked(p.DemoState == 2);
    SetComboText(general.comboDemo, FromLocal(profile.Text(TextField::DemoName)));
    mp.cbEnableServer->setChecked(p.EnableServer != 0);
    mp.edHostName->setText(FromLocal(profile.Text(TextField::HostName)));
    mp.cbConnectToServer->setChecked(p.ConnectToServer != 0);
    SetComboText(mp.comboServer, FromLocal(profile.Text(TextField::CurrentServer)));
    CheckRadioByTag({mp.rbListenServer, mp.rbDedicatedServer}, p.ServerType);
    mp.edMaxPlayers->setText(QString::number(p.MaxPlayers));
    mp.cbFragLimit->setChecked(p.EnableFragLimit != 0);
    mp.edFragLimit->setText(QString::number(p.FragLimit));
    mp.cbTimeLimit->setChecked(p.EnableTimeLimit != 0);
    mp.edTimeLimit->setText(QString::number(p.TimeLimit));
    CheckRadioByTag({mp.rbCoop, mp.rbDM1, mp.rbDM2}, p.Deathmatch);
    CheckRadioByTag({mp.rbNoTeamMode, mp.rbTeamMode1, mp.rbTeamMode2}, p.Teamplay);
    mp.cbNoExit->setChecked(p.NoExit != 0);
    mp.cbPausable->setChecked(p.Pausable != 0);
    dialog_.globalOptions->edQuakePath->setText(FromLocal(profile.Text(TextField::QuakePath)));
    dialog_.globalOptions->edPatchPath->setText(FromLocal(profile.Text(TextField::PatchPath)));
    dialog_.executableList->ShowExecutable(executable);
    CheckRadioByTag({options.rbCmdLine, options.rbConfigFile}, p.CommandLineMode);
    options.edConfigFile->setText(FromLocal(profile.Text(TextField::ConfigFile)));
}

void SettingsController::LoadQuickSet(const std::string& name) {
    store::Store* store = Store();
    if (store == nullptr) {
        return;
    }
    const StoredProfileExtras extras = ReadQuickSet(*store, name, dialog_.Context().globals);
    if (extras.generalFound) {
        dialog_.options->cbCloseOnExec->setChecked(extras.closeOnExecQuake);
        dialog_.options->cbIgnoreGlobalParams->setChecked(extras.ignoreGlobalParams);
        dialog_.general->cbNoAutoAim->setChecked(extras.noAutoAim);
    }
    ShowProfile();
    if (const auto params = ReadAdditionalParams(*store, name)) {
        addParams->SetEntries(*params);
    }
    WindowProfilePlugIn plugIn(dialog_);
    plugIn.Load(*store, ProfileKey(name), extras.plugInName);
}

void SettingsController::SaveQuickSet(const std::string& name) {
    store::Store* store = Store();
    if (store == nullptr) {
        return;
    }
    WindowProfilePlugIn plugIn(dialog_);
    // The additional parameters are deleted and written again: land both together.
    store::Transaction transaction(*store);
    fenmar::SaveQuickSet(*store, name, dialog_.Context().globals, addParams->Entries(), &plugIn);
    transaction.Commit();
}

void SettingsController::CreateDefaultQuickSet(store::Store& store) {
    WindowProfilePlugIn plugIn(dialog_);
    fenmar::CreateDefaultQuickSet(store, dialog_.Context().globals, addParams->Entries(), &plugIn);
}

void SettingsController::SaveAll(store::Store& store, const GlobalSettingsData& data) {
    WindowProfilePlugIn plugIn(dialog_);
    SaveAllSettings(store, data, dialog_.Context().globals, addParams->Entries(), &plugIn);
}

}  // namespace fenmar::ui
