#include "ui/launch/LaunchOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#include "core/Globals.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/UpDown.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

LaunchOptionsController::LaunchOptionsController(TMainDialog& dialog)
    : QObject(&dialog), dialog_(dialog), globals_(dialog.Context().globals) {
    setObjectName(QStringLiteral("launchOptions"));
    ConnectGeneral();
    ConnectMultiplayer();
    ConnectOptions();
}

std::string LaunchOptionsController::ToText(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString LaunchOptionsController::FromText(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

void LaunchOptionsController::RefreshDemoButtons() {
    const std::uint8_t state = globals_.Profile->DemoState;
    const bool patchSet = IsSet(globals_.Profile.Text(TextField::GamePatch));
    GeneralPage& page = *dialog_.general;
    page.comboDemo->setEnabled(state != kNoDemo);
    page.buBrowseDemo->setEnabled(state == kPlayback || (state == kRecord && !patchSet));
    page.buBrowsePatchDemo->setEnabled(state != kNoDemo && patchSet);
}

void LaunchOptionsController::UpdateRecordAllowed(bool permit) {
    const LaunchProfile& profile = globals_.Profile.Record();
    const bool dedicated = profile.EnableServer != 0 && profile.ServerType != kListenServer;
    const bool allowed = permit && !dedicated && profile.DemoState != kPlayback;
    QCheckBox* record = dialog_.general->cbRecord;
    if (!allowed) {
        record->setChecked(false);
    }
    record->setEnabled(allowed);
    RefreshDemoButtons();
}

void LaunchOptionsController::UpdatePlaybackAllowed(bool permit) {
    const LaunchProfile& profile = globals_.Profile.Record();
    const bool allowed = permit && profile.EnableServer == 0 && profile.ConnectToServer == 0 &&
                         profile.DemoState != kRecord;
    QCheckBox* playback = dialog_.general->cbPlayback;
    playback->setEnabled(allowed);
    if (!allowed) {
        playback->setChecked(false);
    }
    RefreshDemoButtons();
}

void LaunchOptionsController::UpdateDemoAllowed(bool permit) {
    UpdatePlaybackAllowed(permit);
    UpdateRecordAllowed(permit);
}

void LaunchOptionsController::SetMapSelectable(bool permit) {
    const bool selectable = permit && globals_.Profile->DemoState != kPlayback;
    dialog_.general->comboMap->setEnabled(selectable);
    dialog_.general->buBrowseMap->setEnabled(selectable);
    globals_.MapSelectable = selectable;
}

void LaunchOptionsController::SetSkillSelectable(bool permit) {
    const bool selectable = permit && globals_.Profile->DemoState != kPlayback;
    GeneralPage& page = *dialog_.general;
    EnableAll({page.rbSkill0, page.rbSkill1, page.rbSkill2, page.rbSkill3}, selectable);
    globals_.SkillSelectable = selectable;
}

void LaunchOptionsController::EnableServerRules(bool on) {
    MultiplayerPage& page = *dialog_.multiplayer;
    page.cbFragLimit->setEnabled(on);
    EnableAll({page.edFragLimit, page.udFragLimit, page.labFragLimit},
              on && page.cbFragLimit->isChecked());
    page.cbTimeLimit->setEnabled(on);
    EnableAll({page.edTimeLimit, page.udTimeLimit, page.labTimeLimit},
              on && page.cbTimeLimit->isChecked());
    EnableAll({page.rbCoop, page.rbDM1, page.rbDM2, page.rbNoTeamMode, page.rbTeamMode1,
               page.rbTeamMode2, page.cbNoExit, page.cbPausable},
              on);
}

}  // namespace fenmar::ui
