// The "Multiplayer" page: server, connection, server type, maximum players and server rules.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "core/Globals.h"
#include "core/Numbers.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/widgets/ComboText.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/RadioChoice.h"
#include "ui/widgets/UpDown.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

namespace {
// The value of a server rule is editable only while the rule itself is (with a server).
void EnableRuleValue(const MultiplayerPage& page, const QCheckBox& rule,
                     std::initializer_list<QWidget*> value) {
    EnableAll(value, rule.isChecked() && page.cbEnableServer->isChecked());
}
}  // namespace

void LaunchOptionsController::ConnectMultiplayer() {
    MultiplayerPage& page = *dialog_.multiplayer;
    using C = LaunchOptionsController;
    connect(page.cbEnableServer, &QCheckBox::toggled, this, &C::cbEnableServerClick);
    connect(page.edHostName, &QLineEdit::textChanged, this, &C::edHostNameChange);
    connect(page.cbConnectToServer, &QCheckBox::toggled, this, &C::cbConnectToServerClick);
    OnComboChange(page.comboServer, [this] { comboServerChange(); });
    OnRadioChecked({page.rbListenServer, page.rbDedicatedServer}, this,
                   [this](QAbstractButton* radio) { ServerTypeClick(radio); });
    connect(page.tbMaxPlayers, &QSlider::valueChanged, this, &C::tbMaxPlayersChange);
    connect(page.edMaxPlayers, &QLineEdit::textChanged, this, &C::edMaxPlayersChange);

    connect(page.cbFragLimit, &QCheckBox::toggled, this, &C::cbFragLimitClick);
    connect(page.edFragLimit, &QLineEdit::textChanged, this, &C::edFragLimitChange);
    connect(page.edFragLimit, &QLineEdit::editingFinished, this, [this] {
        ShowValueInForce(dialog_.multiplayer->edFragLimit, globals_.Profile->FragLimit);
    });
    connect(page.cbTimeLimit, &QCheckBox::toggled, this, &C::cbTimeLimitClick);
    connect(page.edTimeLimit, &QLineEdit::textChanged, this, &C::edTimeLimitChange);
    connect(page.edTimeLimit, &QLineEdit::editingFinished, this, [this] {
        ShowValueInForce(dialog_.multiplayer->edTimeLimit, globals_.Profile->TimeLimit);
    });
    OnRadioChecked({page.rbCoop, page.rbDM1, page.rbDM2}, this,
                   [this](QAbstractButton* radio) { rbPlayModeClick(radio); });
    OnRadioChecked({page.rbNoTeamMode, page.rbTeamMode1, page.rbTeamMode2}, this,
                   [this](QAbstractButton* radio) { rbTeamModeClick(radio); });
    connect(page.cbNoExit, &QCheckBox::toggled, this, &C::cbNoExitClick);
    connect(page.cbPausable, &QCheckBox::toggled, this, &C::cbPausableClick);
}

void LaunchOptionsController::cbEnableServerClick() {
    MultiplayerPage& page = *dialog_.multiplayer;
    const bool server = page.cbEnableServer->isChecked();
    globals_.Profile->EnableServer = server ? 1 : 0;
    page.labHostName->setEnabled(server);
    page.edHostName->setEnabled(server);
    page.cbConnectToServer->setEnabled(!server);
    EnableAll({page.rbDedicatedServer, page.tbMaxPlayers, page.edMaxPlayers, page.labServerType,
               page.labMaxPlayers, page.rbListenServer},
              server);
    EnableServerRules(server);
    if (server) {
        UpdatePlaybackAllowed(false);
        UpdateRecordAllowed(true);
    } else {
        UpdateDemoAllowed(true);
        EnableServerRules(false);
    }
}

void LaunchOptionsController::edHostNameChange() {
    globals_.Profile.SetText(TextField::HostName, ToText(dialog_.multiplayer->edHostName->text()));
}

void LaunchOptionsController::cbConnectToServerClick() {
    MultiplayerPage& page = *dialog_.multiplayer;
    const bool connecting = page.cbConnectToServer->isChecked();
    globals_.Profile->ConnectToServer = connecting ? 1 : 0;
    page.cbEnableServer->setEnabled(!connecting);
    page.comboServer->setEnabled(connecting);
    dialog_.general->cbNoAutoAim->setEnabled(!connecting);
    SetMapSelectable(!connecting);
    SetSkillSelectable(!connecting);
    // Clearing "Playback" here re-applies the playback rules; they keep map, skill and
    // auto-aim fixed while connecting.
    UpdatePlaybackAllowed(!connecting);
}

void LaunchOptionsController::comboServerChange() {
    globals_.Profile.SetText(TextField::CurrentServer,
                             ToText(dialog_.multiplayer->comboServer->currentText()));
}

void LaunchOptionsController::ServerTypeClick(QAbstractButton* sender) {
    globals_.Profile->ServerType = static_cast<std::uint8_t>(TagOf(sender));
    // Only a running dedicated server forbids recording: choosing the type while the server
    // is off (as a loaded profile does) must not clear a demo being recorded.
    UpdateRecordAllowed(globals_.Profile->ServerType == kListenServer ||
                        globals_.Profile->EnableServer == 0);
}

void LaunchOptionsController::tbMaxPlayersChange() {
    dialog_.multiplayer->edMaxPlayers->setText(
        QString::number(dialog_.multiplayer->tbMaxPlayers->value()));
}

void LaunchOptionsController::edMaxPlayersChange() {
    MultiplayerPage& page = *dialog_.multiplayer;
    const std::optional<std::int32_t> number = StrToInt(ToText(page.edMaxPlayers->text()));
    if (!number) {
        return;
    }
    // The track bar keeps the number within its range; the edit follows it.
    page.tbMaxPlayers->setValue(*number);
    const QString shown = QString::number(page.tbMaxPlayers->value());
    if (page.edMaxPlayers->text() != shown) {
        page.edMaxPlayers->setText(shown);
    }
    globals_.Profile->MaxPlayers = static_cast<std::uint8_t>(page.tbMaxPlayers->value());
}

std::optional<std::uint8_t> LaunchOptionsController::ByteOf(const QLineEdit& edit) {
    const std::optional<std::int32_t> number = StrToInt(ToText(edit.text()));
    if (!number) {
        return std::nullopt;
    }
    return ClampToUInt8(*number);
}

void LaunchOptionsController::ShowValueInForce(QLineEdit* edit, std::uint8_t value) {
    const QString shown = QString::number(value);
    if (edit->text() != shown) {
        edit->setText(shown);
    }
}

void LaunchOptionsController::cbFragLimitClick() {
    MultiplayerPage& page = *dialog_.multiplayer;
    globals_.Profile->EnableFragLimit = page.cbFragLimit->isChecked() ? 1 : 0;
    EnableRuleValue(page, *page.cbFragLimit,
                    {page.edFragLimit, page.udFragLimit, page.labFragLimit});
}

void LaunchOptionsController::edFragLimitChange() {
    if (const auto frags = ByteOf(*dialog_.multiplayer->edFragLimit)) {
        globals_.Profile->FragLimit = *frags;
    }
}

void LaunchOptionsController::cbTimeLimitClick() {
    MultiplayerPage& page = *dialog_.multiplayer;
    globals_.Profile->EnableTimeLimit = page.cbTimeLimit->isChecked() ? 1 : 0;
    EnableRuleValue(page, *page.cbTimeLimit,
                    {page.edTimeLimit, page.udTimeLimit, page.labTimeLimit});
}

void LaunchOptionsController::edTimeLimitChange() {
    if (const auto minutes = ByteOf(*dialog_.multiplayer->edTimeLimit)) {
        globals_.Profile->TimeLimit = *minutes;
    }
}

void LaunchOptionsController::rbPlayModeClick(QAbstractButton* sender) {
    globals_.Profile->Deathmatch = static_cast<std::uint8_t>(TagOf(sender));
}

void LaunchOptionsController::rbTeamModeClick(QAbstractButton* sender) {
    globals_.Profile->Teamplay = static_cast<std::uint8_t>(TagOf(sender));
}

void LaunchOptionsController::cbNoExitClick() {
    globals_.Profile->NoExit = dialog_.multiplayer->cbNoExit->isChecked() ? 1 : 0;
}

void LaunchOptionsController::cbPausableClick() {
    globals_.Profile->Pausable = dialog_.multiplayer->cbPausable->isChecked() ? 1 : 0;
}

}  // namespace fenmar::ui
