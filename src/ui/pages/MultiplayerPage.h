#pragma once
// The "Multiplayer" page: the companion-program button, server and connection, the server's
// configuration and rules, the deathmatch and teamplay modes. Controls public, named as their
// objectName; all server controls start disabled.

#include <QWidget>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class MultiplayerPage : public QWidget {
    Q_OBJECT
public:
    explicit MultiplayerPage(QWidget* parent = nullptr);

    QPushButton* buLaunchQW;

    QGroupBox* groupMultiPl;
    QCheckBox* cbEnableServer;
    QLabel* labHostName;
    QLineEdit* edHostName;
    QCheckBox* cbConnectToServer;
    QComboBox* comboServer;
    QPushButton* buServers;  // opens the Servers window

    QGroupBox* groupServerConfig;
    QLabel* labServerType;
    QRadioButton* rbListenServer;
    QRadioButton* rbDedicatedServer;
    QLabel* labMaxPlayers;
    QSlider* tbMaxPlayers;
    QLineEdit* edMaxPlayers;
    QLabel* labNoServer;

    QGroupBox* groupServerRules;
    QCheckBox* cbFragLimit;
    QLineEdit* edFragLimit;
    UpDown* udFragLimit;
    QLabel* labFragLimit;
    QCheckBox* cbTimeLimit;
    QLineEdit* edTimeLimit;
    UpDown* udTimeLimit;
    QLabel* labTimeLimit;
    QCheckBox* cbNoExit;
    QCheckBox* cbPausable;

    QGroupBox* groupPlayMode;
    QRadioButton* rbCoop;
    QRadioButton* rbDM1;
    QRadioButton* rbDM2;
    QLabel* labNoPlayMode;

    QGroupBox* groupTeamMode;
    QRadioButton* rbNoTeamMode;
    QRadioButton* rbTeamMode1;
    QRadioButton* rbTeamMode2;
    QLabel* labNoTeamplay;

private:
    void BuildMultiplayerGroup();
    QWidget* BuildServerConfigGroup();
    void BuildServerRulesGroup();
    QWidget* BuildPlayModeGroup();
    QWidget* BuildTeamModeGroup();
};

}  // namespace fenmar::ui
