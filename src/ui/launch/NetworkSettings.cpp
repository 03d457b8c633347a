#include "ui/launch/NetworkSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/Numbers.h"

namespace fenmar::ui {

namespace {
const QString kPortHint = QStringLiteral("select another port if the one doesn't work");

QCheckBox* NewCheckBox(const char* name, const QString& caption, const QString& hint,
                       QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    return box;
}

QLineEdit* NewPortEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(QStringLiteral("26000"), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setToolTip(kPortHint);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    return edit;
}

// A disabled port edit looks like the dialog's face, an enabled one like any edit.
void ShowEditEnabled(QLineEdit* edit, bool enabled) {
    const QPalette& app = QApplication::palette();
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, app.color(enabled ? QPalette::Base : QPalette::Button));
    edit->setPalette(p);
}
}  // namespace

TNetworkSettings::TNetworkSettings(AppContext& context, QWidget* parent)
    : TOptionDialog(context, QStringLiteral("Fenmar - Network-settings"), parent),
      groupProtocols(new QGroupBox(QStringLiteral("Protocol disabling"), this)),
      cbDisableNet(NewCheckBox("cbDisableNet",
                               QStringLiteral("&Disable IPX, TCP/IP, and serial support"),
                               QStringLiteral("disables all multiplayer-support"), groupProtocols)),
      cbDisableUDP(NewCheckBox("cbDisableUDP", QStringLiteral("Disable support for &TCP/IP"),
                               QStringLiteral("disables e.g. playing over the internet"),
                               groupProtocols)),
      cbDisableIPX(NewCheckBox("cbDisableIPX", QStringLiteral("Disable support for &IPX"),
                               QStringLiteral("disables support for local networks"),
                               groupProtocols)),
      cbDisableSerial(NewCheckBox("cbDisableSerial", QStringLiteral("Disable serial &support"),
                                  QStringLiteral("disables modem and null-modem support"),
                                  groupProtocols)),
      groupPorts(new QGroupBox(QStringLiteral("Port settings"), this)),
      labIPXPort(new QLabel(QStringLiteral("I&PX-Port:"), groupPorts)),
      edIPXPort(NewPortEdit("edIPXPort", groupPorts)),
      udIPXPort(new UpDown(edIPXPort, 0, 32767, 10, groupPorts)),
      labUDPPort(new QLabel(QStringLiteral("TCP/IP-Po&rt:"), groupPorts)),
      edUDPPort(NewPortEdit("edUDPPort", groupPorts)),
      udUDPPort(new UpDown(edUDPPort, 0, 32767, 10, groupPorts)) {
    setObjectName(QStringLiteral("NetworkSettings"));
    groupProtocols->setObjectName(QStringLiteral("groupProtocols"));
    groupPorts->setObjectName(QStringLiteral("groupPorts"));
    labIPXPort->setObjectName(QStringLiteral("labIPXPort"));
    labIPXPort->setBuddy(edIPXPort);
    udIPXPort->setObjectName(QStringLiteral("udIPXPort"));
    labUDPPort->setObjectName(QStringLiteral("labUDPPort"));
    labUDPPort->setBuddy(edUDPPort);
    udUDPPort->setObjectName(QStringLiteral("udUDPPort"));

    auto* protocols = new QVBoxLayout(groupProtocols);
    protocols->addWidget(cbDisableNet);
    for (QCheckBox* box : {cbDisableUDP, cbDisableIPX, cbDisableSerial}) {
        auto* indented = new QHBoxLayout;
        indented->addSpacing(20);
        indented->addWidget(box);
        protocols->addLayout(indented);
    }
    auto* ports = new QGridLayout(groupPorts);
    ports->addWidget(labIPXPort, 0, 0);
    ports->addWidget(edIPXPort, 0, 1);
    ports->addWidget(udIPXPort, 0, 2);
    ports->addWidget(labUDPPort, 1, 0);
    ports->addWidget(edUDPPort, 1, 1);
    ports->addWidget(udUDPPort, 1, 2);
    ports->setColumnStretch(3, 1);
    ports->setHorizontalSpacing(4);
    Body()->addWidget(groupProtocols);
    Body()->addWidget(groupPorts);

    connect(cbDisableNet, &QCheckBox::toggled, this, &TNetworkSettings::cbDisableNetClick);
    ShowEditEnabled(edIPXPort, true);
    ShowEditEnabled(edUDPPort, true);
    FinishLayout();
}

void TNetworkSettings::FormActivate() {
    const LaunchProfile& p = Profile();
    cbDisableNet->setChecked(p.NoProtocols != 0);
    cbDisableUDP->setChecked(p.DisableTCPIP != 0);
    cbDisableIPX->setChecked(p.DisableIPX != 0);
    cbDisableSerial->setChecked(p.DisableSerial != 0);
    edIPXPort->setText(QString::number(p.IPXPort));
    edUDPPort->setText(QString::number(p.UDPPort));
}

void TNetworkSettings::cbDisableNetClick() {
    const bool enabled = !cbDisableNet->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{cbDisableUDP, cbDisableIPX, cbDisableSerial, labIPXPort,
                                         labUDPPort, edIPXPort, udIPXPort, edUDPPort, udUDPPort}) {
        w->setEnabled(enabled);
    }
    ShowEditEnabled(edIPXPort, enabled);
    ShowEditEnabled(edUDPPort, enabled);
}

bool TNetworkSettings::FormClose() {
    LaunchProfile& p = Profile();
    p.NoProtocols = cbDisableNet->isChecked() ? 1 : 0;
    p.DisableTCPIP = cbDisableUDP->isChecked() ? 1 : 0;
    p.DisableIPX = cbDisableIPX->isChecked() ? 1 : 0;
    p.DisableSerial = cbDisableSerial->isChecked() ? 1 : 0;
    const auto ipx = ReadInteger(*edIPXPort);
    if (!ipx) {
        return false;
    }
    p.IPXPort = ClampToUInt16(*ipx);
    const auto udp = ReadInteger(*edUDPPort);
    if (!udp) {
        return false;
    }
    p.UDPPort = ClampToUInt16(*udp);
    return true;
}

}  // namespace fenmar::ui
