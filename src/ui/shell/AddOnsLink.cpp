#include "ui/shell/AddOnsLink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/widgets/ComboText.h"
#include "ui/window/ActionBar.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

QString MainWindowPlayTarget::QuakeDirectory() const {
    return QString::fromLocal8Bit(dialog_.Context().globals.Profile.Text(TextField::QuakePath));
}

void MainWindowPlayTarget::FillLaunch(const QString& gamePatch, const QString& map,
                                      const QStringList& additionalParams) {
    // An add-on is played: no demo, no server to join; the page's rules run as for clicks.
    dialog_.general->cbPlayback->setChecked(false);
    dialog_.general->cbRecord->setChecked(false);
    dialog_.multiplayer->cbConnectToServer->setChecked(false);
    SetComboText(dialog_.general->comboPatch, gamePatch);
    SetComboText(dialog_.general->comboMap, map);
    QListWidget* params = dialog_.general->lbAddParams;
    params->clear();
    params->addItems(additionalParams);
}

void MainWindowPlayTarget::RunQuake() {
    dialog_.actions->buRunQuake->click();  // nothing happens while it is disabled
}

}  // namespace fenmar::ui
