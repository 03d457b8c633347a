#pragma once
// The network dialog: which protocols the game leaves out, and the IPX and TCP/IP ports.

#include "ui/launch/OptionDialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace fenmar::ui {

class TNetworkSettings : public TOptionDialog {
    Q_OBJECT
public:
    explicit TNetworkSettings(AppContext& context, QWidget* parent = nullptr);

protected:
    void FormActivate() override;
    bool FormClose() override;

private:
    void cbDisableNetClick();

    QGroupBox* groupProtocols;
    QCheckBox* cbDisableNet;
    QCheckBox* cbDisableUDP;
    QCheckBox* cbDisableIPX;
    QCheckBox* cbDisableSerial;
    QGroupBox* groupPorts;
    QLabel* labIPXPort;
    QLineEdit* edIPXPort;
    UpDown* udIPXPort;
    QLabel* labUDPPort;
    QLineEdit* edUDPPort;
    UpDown* udUDPPort;
};

}  // namespace fenmar::ui
