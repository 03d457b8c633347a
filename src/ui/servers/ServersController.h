#pragma once
// The Multiplayer page's "Servers..." button: opens the Servers window (created on first use)
// and takes the server chosen there into the server box as if the user had typed it.

#include <QObject>
#include <QPointer>

#include "ui/servers/ServersWindow.h"

namespace fenmar::ui {

class TMainDialog;

class ServersController : public QObject {
    Q_OBJECT
public:
    explicit ServersController(TMainDialog& dialog);
    ~ServersController() override;

    void buServersClick();
    // Checks "Connect to server:" and puts the address into the server box; the page's rules
    // run as for a user's clicks and typing. Refused (with a notice) while a server is enabled.
    void ConnectTo(const QString& address);
    ServersWindow* Window() const { return window_; }

private:
    TMainDialog& dialog_;
    QPointer<ServersWindow> window_;
};

}  // namespace fenmar::ui
