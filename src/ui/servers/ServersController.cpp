#include "ui/servers/ServersController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStandardItemModel>

#include "ui/pages/MultiplayerPage.h"
#include "ui/servers/ServersWindow.h"
#include "ui/widgets/ComboText.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

ServersController::ServersController(TMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("ServersController"));
    connect(dialog_.multiplayer->buServers, &QPushButton::clicked, this,
            &ServersController::buServersClick);
}

ServersController::~ServersController() {
    delete window_;  // a window of its own, not a child of the main window
}

void ServersController::buServersClick() {
    if (window_ == nullptr) {
        QComboBox* history = dialog_.multiplayer->comboServer;
        window_ = new ServersWindow(
            dialog_.Context().store,
            [history] {
                std::vector<std::string> servers;
                for (int i = 0; i < history->count(); ++i) {
                    servers.push_back(history->itemText(i).toStdString());
                }
                return servers;
            },
            [this](const QString& address) { ConnectTo(address); });
        window_->setWindowIcon(dialog_.windowIcon());
        window_->OnBadAddress([this](const QString& text) {
            dialog_.Context().ui.ShowMessage(text, QStringLiteral("Something you should know..."),
                                             MessageIcon::Warning);
        });
    } else {
        window_->Reload();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    if (window_->model->rowCount() > 0) {
        window_->Refresh();
    }
}

void ServersController::ConnectTo(const QString& address) {
    MultiplayerPage& page = *dialog_.multiplayer;
    if (!page.cbConnectToServer->isEnabled()) {
        dialog_.Context().ui.ShowMessage(
            QStringLiteral("Switch off \"Enable Quake-server\" to connect to a server."),
            QStringLiteral("Something you should know..."), MessageIcon::Information);
        return;
    }
    page.cbConnectToServer->setChecked(true);
    SetComboText(page.comboServer, address);
    dialog_.activateWindow();
}

}  // namespace fenmar::ui
