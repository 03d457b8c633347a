#include "ui/pages/MultiplayerPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <tuple>

#include "ui/widgets/Controls.h"
#include "ui/widgets/UpDown.h"

namespace fenmar::ui {

namespace {
// A mode group's radio buttons in a column, `initial` ticked and all of them off until a
// plug-in allows the mode.
QGroupBox* LayOutModeGroup(QGroupBox* group, std::initializer_list<QRadioButton*> radios,
                           QRadioButton* initial) {
    initial->setChecked(true);
    auto* column = new QVBoxLayout(group);
    for (QRadioButton* r : radios) {
        r->setEnabled(false);
        column->addWidget(r);
    }
    UseNormalFontInside(group);
    return group;
}

QLineEdit* MakeNumberEdit(QWidget* parent, const QString& name, const QString& text) {
    QLineEdit* edit = MakeEdit(parent, name, text);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    return edit;
}

struct LimitRange {
    int min, max, step, initial;
};

// A row of the server rules: "cb<name>" with the number edit "ed<name>", its up-down
// "ud<name>" and the unit label "lab<name>", all with the same tip.
std::tuple<QCheckBox*, QLineEdit*, UpDown*, QLabel*> AddLimitRow(
    QGridLayout& grid, int row, const QString& name, const QString& caption, const QString& unit,
    const QString& tip, LimitRange range) {
    QWidget* g = grid.parentWidget();
    QCheckBox* check = MakeCheck(g, QStringLiteral("cb") + name, caption, tip);
    QLineEdit* edit =
        MakeNumberEdit(g, QStringLiteral("ed") + name, QString::number(range.initial));
    auto* upDown = Named(new UpDown(g, range.min, range.max, range.step, range.initial),
                         QStringLiteral("ud") + name);
    upDown->SetAssociate(edit);
    QLabel* label = MakeLabel(g, QStringLiteral("lab") + name, unit);
    for (QWidget* w : {static_cast<QWidget*>(edit), static_cast<QWidget*>(upDown),
                       static_cast<QWidget*>(label)}) {
        w->setToolTip(tip);
    }
    grid.addWidget(check, row, 0);
    grid.addWidget(edit, row, 1);
    grid.addWidget(upDown, row, 2);
    grid.addWidget(label, row, 3);
    return {check, edit, upDown, label};
}
}  // namespace

MultiplayerPage::MultiplayerPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabMultiplayer"));
    buLaunchQW = MakeButton(this, QStringLiteral("buLaunchQW"), QStringLiteral("launch QSpy/QW !"));
    buLaunchQW->setFont(BoldItalic(font(), 1.25));
    buLaunchQW->setMinimumHeight(buLaunchQW->sizeHint().height() * 3 / 2);
    buLaunchQW->setEnabled(false);

    BuildMultiplayerGroup();
    QWidget* serverConfig = BuildServerConfigGroup();
    BuildServerRulesGroup();
    QWidget* playMode = BuildPlayModeGroup();
    QWidget* teamMode = BuildTeamModeGroup();

    auto* left = new QVBoxLayout;
    left->addWidget(groupMultiPl);
    left->addWidget(serverConfig);
    left->addWidget(groupServerRules);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(buLaunchQW);
    right->addWidget(playMode);
    right->addWidget(teamMode);
    right->addStretch();
    auto* page = new QHBoxLayout(this);
    page->addLayout(left, 1);
    page->addLayout(right, 1);
}

void MultiplayerPage::BuildMultiplayerGroup() {
    groupMultiPl = MakeTitledGroup(this, QStringLiteral("groupMultiPl"),
                                   QStringLiteral("Multiplayer-functionality"));
    cbEnableServer = MakeCheck(groupMultiPl, QStringLiteral("cbEnableServer"),
                               QStringLiteral("&Enable Quake-server"),
                               QStringLiteral("Turns your computer into a Quake-server."));
    edHostName = MakeEdit(groupMultiPl, QStringLiteral("edHostName"), QStringLiteral("My server"));
    labHostName = MakeLabel(groupMultiPl, QStringLiteral("labHostName"),
                            QStringLiteral("Hostname:"), edHostName);
    cbConnectToServer = MakeCheck(groupMultiPl, QStringLiteral("cbConnectToServer"),
                                  QStringLiteral("&Connect to server:"),
                                  QStringLiteral("Connect to a special server."));
    comboServer =
        Named(new QComboBox(groupMultiPl), QStringLiteral("comboServer"),
              QStringLiteral(
                  "Type in the server you want to connect or select one from drop-down list."));
    comboServer->setEditable(true);
    comboServer->setInsertPolicy(QComboBox::NoInsert);
    comboServer->addItem(QStringLiteral("<none>"));
    SetTag(comboServer, 50);
    buServers =
        MakeButton(groupMultiPl, QStringLiteral("buServers"), QString::fromUtf8("Servers\u2026"),
                   QStringLiteral("Shows which servers are up, their map, players and ping."));
    EnableAll({edHostName, labHostName, comboServer}, false);

    auto* grid = new QGridLayout(groupMultiPl);
    grid->addWidget(cbEnableServer, 0, 0, 1, 2);
    grid->addWidget(labHostName, 1, 0);
    grid->addWidget(edHostName, 1, 1);
    grid->addWidget(cbConnectToServer, 2, 0, 1, 2);
    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(comboServer, 1);
    serverRow->addWidget(buServers);
    grid->addLayout(serverRow, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    UseNormalFontInside(groupMultiPl);
}

QWidget* MultiplayerPage::BuildServerConfigGroup() {
    groupServerConfig =
        MakeTitledGroup(this, QStringLiteral("groupServerConfig"), QStringLiteral("Server-config"));
    rbListenServer = MakeRadio(groupServerConfig, QStringLiteral("rbListenServer"),
                               QStringLiteral("Liste&n-server"), 0,
                               QStringLiteral("You are able to play on the server. (Booo!)"));
    rbDedicatedServer = MakeRadio(groupServerConfig, QStringLiteral("rbDedicatedServer"),
                                  QStringLiteral("&Dedicated server"), 1,
                                  QStringLiteral("You cannot play on this machine."));
    labServerType = MakeLabel(groupServerConfig, QStringLiteral("labServerType"),
                              QStringLiteral("server-&type:"), rbListenServer);
    tbMaxPlayers =
        Named(new QSlider(Qt::Horizontal, groupServerConfig), QStringLiteral("tbMaxPlayers"),
              QStringLiteral("Drag left and right for changing the number of players."));
    tbMaxPlayers->setRange(1, 16);
    tbMaxPlayers->setValue(8);
    tbMaxPlayers->setTickPosition(QSlider::TicksBelow);
    tbMaxPlayers->setTickInterval(1);
    tbMaxPlayers->setPageStep(1);
    labMaxPlayers = MakeLabel(groupServerConfig, QStringLiteral("labMaxPlayers"),
                              QStringLiteral("&max. players:"), tbMaxPlayers);
    edMaxPlayers =
        MakeNumberEdit(groupServerConfig, QStringLiteral("edMaxPlayers"), QStringLiteral("8"));
    edMaxPlayers->setReadOnly(true);
    edMaxPlayers->setMaxLength(3);  // a stored 100..255 shows whole until the track bar bounds it
    rbListenServer->setChecked(true);
    EnableAll({labServerType, rbListenServer, rbDedicatedServer, labMaxPlayers, tbMaxPlayers,
               edMaxPlayers},
              false);

    auto* grid = new QGridLayout(groupServerConfig);
    grid->addWidget(labServerType, 0, 0);
    grid->addWidget(rbListenServer, 0, 1, 1, 2);
    grid->addWidget(rbDedicatedServer, 1, 1, 1, 2);
    grid->addWidget(labMaxPlayers, 2, 0);
    grid->addWidget(tbMaxPlayers, 2, 1);
    grid->addWidget(edMaxPlayers, 2, 2);
    grid->setColumnStretch(1, 1);
    UseNormalFontInside(groupServerConfig);
    return StackOverStandIn(this, groupServerConfig, labNoServer, QStringLiteral("labNoServer"),
                            QStringLiteral("The current Plug-In doesn't allow to set up a "
                                           "server or has an own routine for it."));
}

void MultiplayerPage::BuildServerRulesGroup() {
    groupServerRules =
        MakeTitledGroup(this, QStringLiteral("groupServerRules"), QStringLiteral("Server-rules"));
    QWidget* g = groupServerRules;
    auto* grid = new QGridLayout(g);
    grid->setHorizontalSpacing(2);
    std::tie(cbFragLimit, edFragLimit, udFragLimit, labFragLimit) = AddLimitRow(
        *grid, 0, QStringLiteral("FragLimit"), QStringLiteral("&Frag-limit:"),
        QStringLiteral("frags"),
        QStringLiteral("Ends the game when a player reaches a special number of frags."),
        {0, 100, 10, 50});
    std::tie(cbTimeLimit, edTimeLimit, udTimeLimit, labTimeLimit) =
        AddLimitRow(*grid, 1, QStringLiteral("TimeLimit"), QStringLiteral("&Time-limit:"),
                    QStringLiteral("minutes"),
                    QStringLiteral("Ends the game after several minutes."), {0, 60, 5, 30});
    cbNoExit =
        MakeCheck(g, QStringLiteral("cbNoExit"), QStringLiteral("Cl&ients may not exit a level"),
                  QStringLiteral("Players are gibbed when entering the exit."));
    cbPausable = MakeCheck(g, QStringLiteral("cbPausable"), QStringLiteral("Pausable by clients"),
                           QStringLiteral("Clients may or may not pause the game."));
    cbPausable->setChecked(true);
    EnableAll({cbFragLimit, edFragLimit, udFragLimit, labFragLimit, cbTimeLimit, edTimeLimit,
               udTimeLimit, labTimeLimit, cbNoExit, cbPausable},
              false);
    grid->addWidget(cbNoExit, 2, 0, 1, 5);
    grid->addWidget(cbPausable, 3, 0, 1, 5);
    grid->setColumnStretch(4, 1);
    UseNormalFontInside(groupServerRules);
}

QWidget* MultiplayerPage::BuildPlayModeGroup() {
    groupPlayMode =
        MakeTitledGroup(this, QStringLiteral("groupPlayMode"), QStringLiteral("Deathmatch-mode"));
    const QString tip = QStringLiteral("How do you want to play today ?");
    rbCoop =
        MakeRadio(groupPlayMode, QStringLiteral("rbCoop"), QStringLiteral("C&ooperative"), 0, tip);
    rbDM1 = MakeRadio(groupPlayMode, QStringLiteral("rbDM1"),
                      QStringLiteral("De&athmatch with respawning weapons"), 1, tip);
    rbDM2 = MakeRadio(groupPlayMode, QStringLiteral("rbDM2"),
                      QStringLiteral("Deat&hmatch with staying weapons"), 2, tip);
    return StackOverStandIn(this, LayOutModeGroup(groupPlayMode, {rbCoop, rbDM1, rbDM2}, rbDM1),
                            labNoPlayMode, QStringLiteral("labNoPlayMode"),
                            QStringLiteral("The current Plug-In doesn't allow to change the "
                                           "deathmatch-mode or has an own routine for it."));
}

QWidget* MultiplayerPage::BuildTeamModeGroup() {
    groupTeamMode =
        MakeTitledGroup(this, QStringLiteral("groupTeamMode"), QStringLiteral("Teamplay-mode"));
    rbNoTeamMode =
        MakeRadio(groupTeamMode, QStringLiteral("rbNoTeamMode"), QStringLiteral("&No teamplay"), 0,
                  QStringLiteral("You may attack everyone."));
    rbTeamMode1 = MakeRadio(
        groupTeamMode, QStringLiteral("rbTeamMode1"),
        QStringLiteral("Teammate&s don't hurt each other"), 1,
        QStringLiteral("You cannot kill a teammate. You only damage his armor if you shoot him."));
    rbTeamMode2 = MakeRadio(groupTeamMode, QStringLiteral("rbTeamMode2"),
                            QStringLiteral("&Kill Teammates for a minus-frag"), 2,
                            QStringLiteral("If you kill a teammate you will be penalized frags."));
    return StackOverStandIn(
        this,
        LayOutModeGroup(groupTeamMode, {rbNoTeamMode, rbTeamMode1, rbTeamMode2}, rbNoTeamMode),
        labNoTeamplay, QStringLiteral("labNoTeamplay"),
        QStringLiteral("The current Plug-In doesn't allow to change the teamplay-mode or has an "
                       "own routine for it."));
}

}  // namespace fenmar::ui
