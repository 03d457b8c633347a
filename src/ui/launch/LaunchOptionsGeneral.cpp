// The "General" page: patch, map, skill, demos, auto-aim and the option dialogs' buttons.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "core/Globals.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/launch/NetworkSettings.h"
#include "ui/launch/SoundSettings.h"
#include "ui/launch/TroubleSettings.h"
#include "ui/launch/Win95Settings.h"
#include "ui/maps/MapBrowse.h"
#include "ui/pages/GeneralPage.h"
#include "ui/widgets/ComboText.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/RadioChoice.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

void LaunchOptionsController::ConnectGeneral() {
    GeneralPage& page = *dialog_.general;
    OnComboChange(page.comboPatch, [this] { comboPatchChange(); });
    OnComboChange(page.comboMap, [this] { comboMapChange(); });
    OnComboChange(page.comboDemo, [this] { comboDemoChange(); });
    OnRadioChecked({page.rbSkill0, page.rbSkill1, page.rbSkill2, page.rbSkill3}, this,
                   [this](QAbstractButton* radio) { rbSkillClick(radio); });
    connect(page.cbRecord, &QCheckBox::toggled, this, &LaunchOptionsController::cbRecordClick);
    connect(page.cbPlayback, &QCheckBox::toggled, this, &LaunchOptionsController::cbPlaybackClick);
    connect(page.cbNoAutoAim, &QCheckBox::toggled, this,
            &LaunchOptionsController::cbNoAutoAimClick);
    connect(page.buBrowseMap, &QToolButton::clicked, this,
            &LaunchOptionsController::buBrowseMapClick);
    connect(page.buSoundSettings, &QPushButton::clicked, this,
            &LaunchOptionsController::buSoundSettingsClick);
    connect(page.buNetSettings, &QPushButton::clicked, this,
            &LaunchOptionsController::buNetSettingsClick);
    connect(page.buWinSettings, &QPushButton::clicked, this,
            &LaunchOptionsController::buWinSettingsClick);
    connect(page.buTrouble, &QPushButton::clicked, this, &LaunchOptionsController::buTroubleClick);
}

void LaunchOptionsController::comboPatchChange() {
    globals_.Profile.SetText(TextField::GamePatch,
                             ToText(dialog_.general->comboPatch->currentText()));
    RefreshDemoButtons();
}

void LaunchOptionsController::comboMapChange() {
    globals_.Profile.SetText(TextField::LaunchMap,
                             ToText(dialog_.general->comboMap->currentText()));
}

void LaunchOptionsController::rbSkillClick(QAbstractButton* sender) {
    globals_.Profile->SkillLevel = static_cast<std::uint8_t>(TagOf(sender));
}

void LaunchOptionsController::cbRecordClick() {
    const GeneralPage& page = *dialog_.general;
    const bool record = page.cbRecord->isChecked();
    globals_.Profile->DemoState =
        record ? kRecord : (page.cbPlayback->isChecked() ? kPlayback : kNoDemo);
    UpdatePlaybackAllowed(!record);
}

void LaunchOptionsController::cbPlaybackClick() {
    const GeneralPage& page = *dialog_.general;
    globals_.Profile->DemoState =
        page.cbPlayback->isChecked() ? kPlayback : (page.cbRecord->isChecked() ? kRecord : kNoDemo);
    const bool permit = globals_.Profile->DemoState != kPlayback;
    UpdateRecordAllowed(permit);
    // A connection fixes map, skill and auto-aim too: playback ending because "Connect to
    // server" was checked must not free them again.
    const bool choosable = permit && globals_.Profile->ConnectToServer == 0;
    SetMapSelectable(choosable);
    SetSkillSelectable(choosable);
    page.cbNoAutoAim->setEnabled(choosable);
}

void LaunchOptionsController::comboDemoChange() {
    globals_.Profile.SetText(TextField::DemoName,
                             ToText(dialog_.general->comboDemo->currentText()));
}

void LaunchOptionsController::cbNoAutoAimClick() {
    globals_.Profile->NoAutoAim = dialog_.general->cbNoAutoAim->isChecked() ? 1 : 0;
}

void LaunchOptionsController::buBrowseMapClick() {
    if (dialog_.Windows() == nullptr || dialog_.Windows()->mapBrowse == nullptr) {
        return;
    }
    if (const std::optional<QString> map = dialog_.Windows()->mapBrowse->Execute()) {
        SetComboText(dialog_.general->comboMap, *map);
    }
}

template <typename Window>
void LaunchOptionsController::OpenDialog(Window* AppWindows::*window) {
    AppWindows* windows = dialog_.Windows();
    if (windows != nullptr && windows->*window != nullptr) {
        dialog_.Context().ui.ExecModal(*(windows->*window));
    }
}

void LaunchOptionsController::buSoundSettingsClick() {
    OpenDialog(&AppWindows::sound);
}

void LaunchOptionsController::buNetSettingsClick() {
    OpenDialog(&AppWindows::network);
}

void LaunchOptionsController::buWinSettingsClick() {
    OpenDialog(&AppWindows::win95);
}

void LaunchOptionsController::buTroubleClick() {
    OpenDialog(&AppWindows::trouble);
}

}  // namespace fenmar::ui
