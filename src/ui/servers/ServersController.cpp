#include "ui/servers/ServersController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStandardItemModel>

#include "core/ExecutableTable.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/servers/ServerListStore.h"
#include "ui/servers/ServersWindow.h"
#include "ui/widgets/ComboText.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"
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
            [this](const QString& address, net::ServerKind kind) { ConnectTo(address, kind); });
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

void ServersController::ConnectTo(const QString& address, net::ServerKind kind) {
    MultiplayerPage& page = *dialog_.multiplayer;
    if (!page.cbConnectToServer->isEnabled()) {
        dialog_.Context().ui.ShowMessage(
            QStringLiteral("Switch off \"Enable Quake-server\" to connect to a server."),
            QStringLiteral("Something you should know..."), MessageIcon::Information);
        return;
    }
    if (!UseEngineFor(kind)) {
        return;
    }
    page.cbConnectToServer->setChecked(true);
    SetComboText(page.comboServer, address);
    dialog_.activateWindow();
}

void ServersController::ShowExecutable(const std::string& name) {
    QComboBox* combo = dialog_.general->comboExecutables;
    for (int i = 0; i < combo->count(); ++i) {
        if (EqualsIgnoringAsciiCase(ToLocal(combo->itemText(i)), name)) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}

bool ServersController::UseEngineFor(net::ServerKind kind) {
    std::string& executable = dialog_.Context().globals.Executable;
    if (kind != net::ServerKind::QuakeWorld) {
        // Back to the engine in force before a QuakeWorld server was joined, unless the user
        // chose another one since.
        if (!netQuakeEngine_.empty() && EqualsIgnoringAsciiCase(executable, quakeWorldEngine_)) {
            executable = netQuakeEngine_;
            ShowExecutable(executable);
        }
        return true;
    }
    const auto engine = QuakeWorldEngine();
    if (!engine) {
        return false;
    }
    if (!EqualsIgnoringAsciiCase(executable, *engine)) {
        netQuakeEngine_ = executable;
    }
    quakeWorldEngine_ = *engine;
    executable = *engine;
    ShowExecutable(executable);
    return true;
}

std::optional<std::string> ServersController::QuakeWorldEngine() {
    AppContext& context = dialog_.Context();
    const std::string stored = LoadQuakeWorldEngine(context.store);
    if (const auto row = context.executables.Find(stored); row && !stored.empty()) {
        return row->name;
    }
    ChoiceRequest request;
    request.title = QStringLiteral("QuakeWorld engine");
    request.text = QStringLiteral("This is a QuakeWorld server. Which engine joins it?");
    const auto& rows = context.executables.Entries();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        request.items << FromLocal(rows[i].name);
        const std::string text = AsciiLower(rows[i].name + " " + rows[i].file);
        if (request.ticked.empty() &&
            (text.find("quakeworld") != std::string::npos || text.find("qw") != std::string::npos ||
             text.find("ezquake") != std::string::npos || text.find("fte") != std::string::npos)) {
            request.ticked.push_back(static_cast<int>(i));
        }
    }
    if (rows.empty()) {
        return std::nullopt;
    }
    const auto chosen = context.ui.ChooseFromList(request);
    if (!chosen || chosen->empty()) {
        return std::nullopt;
    }
    const std::string name = rows[static_cast<std::size_t>(chosen->front())].name;
    SaveQuakeWorldEngine(context.store, name);
    return name;
}

}  // namespace fenmar::ui
