#include "ui/plugins/PlugInGating.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <initializer_list>

#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/UpDown.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

void ApplyAllowList(TMainDialog& dialog, const AllowList* list) {
    const AllowList& allowed = list != nullptr ? *list : DefaultAllowList;
    const auto is = [&allowed](int index) { return allowed[static_cast<std::size_t>(index)] != 0; };
    GeneralPage& g = *dialog.general;
    MultiplayerPage& m = *dialog.multiplayer;

    g.GroupMap->setVisible(is(ALLOW_MAP));
    g.GroupPatch->setVisible(is(ALLOW_PATCH));
    g.groupSkill->setVisible(is(ALLOW_SKILL));
    g.cbPlayback->setVisible(is(ALLOW_PLAYBACK));
    g.cbRecord->setVisible(is(ALLOW_RECORD));
    g.groupDemos->setVisible(is(ALLOW_PLAYBACK) || is(ALLOW_RECORD));
    ShowAll({m.cbEnableServer, m.groupServerConfig}, is(ALLOW_SERVER));
    m.cbConnectToServer->setVisible(is(ALLOW_CONNECT));
    ShowAll({m.cbTimeLimit, m.edTimeLimit, m.udTimeLimit, m.labTimeLimit}, is(ALLOW_TIMELIMIT));
    ShowAll({m.cbFragLimit, m.edFragLimit, m.udFragLimit, m.labFragLimit}, is(ALLOW_FRAGLIMIT));
    m.groupPlayMode->setVisible(is(ALLOW_DEATHMATCH));
    m.groupTeamMode->setVisible(is(ALLOW_TEAMPLAY));
    m.cbNoExit->setVisible(is(ALLOW_NOEXIT));
    // ALLOW_PAUSABLE has no control: only the command line leaves it out.
}

}  // namespace fenmar::ui
