#pragma once
// The Multiplayer page's "Servers..." button: opens the Servers window (created on first use)
// and takes the server chosen there into the server box as if the user had typed it.

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

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
    // A QuakeWorld server is joined with the QuakeWorld engine of the executable list (asked
    // for once, then kept); any other with the NetQuake engine in force before.
    void ConnectTo(const QString& address, net::ServerKind kind = net::ServerKind::Auto);
    ServersWindow* Window() const { return window_; }

private:
    // Shows the engine that joins servers of `kind`; false when the user chose none.
    bool UseEngineFor(net::ServerKind kind);
    std::optional<std::string> QuakeWorldEngine();
    void ShowExecutable(const std::string& name);  // in the General page's executable box

    TMainDialog& dialog_;
    std::string netQuakeEngine_;    // in force before a QuakeWorld server was joined
    std::string quakeWorldEngine_;  // shown for the last QuakeWorld server joined
    QPointer<ServersWindow> window_;
};

}  // namespace fenmar::ui
