#include "ui/launch/TroubleSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace fenmar::ui {

namespace {
QCheckBox* NewCheckBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}
}  // namespace

TTroubleSettings::TTroubleSettings(AppContext& context, QWidget* parent)
    : TOptionDialog(context, QStringLiteral("Fenmar - Troubleshooting"), parent),
      cbSafeMode(NewCheckBox("cbSafeMode", QStringLiteral("&Safe mode (disables anything)"), this)),
      groupOptions(new QGroupBox(QStringLiteral("Options"), this)),
      cbDisableVESA(
          NewCheckBox("cbDisableVESA", QStringLiteral("disable &VESA 2.0"), groupOptions)),
      cbDisableSound(NewCheckBox("cbDisableSound", QStringLiteral("disable so&und"), groupOptions)),
      cbDisableNet(NewCheckBox("cbDisableNet", QStringLiteral("disable &network"), groupOptions)),
      cbDisableCD(NewCheckBox("cbDisableCD", QStringLiteral("disable &CD-audio"), groupOptions)),
      cbDisableJoy(NewCheckBox("cbDisableJoy", QStringLiteral("disable Joystick"), groupOptions)) {
    setObjectName(QStringLiteral("TroubleSettings"));
    groupOptions->setObjectName(QStringLiteral("groupOptions"));

    auto* options = new QVBoxLayout(groupOptions);
    for (QCheckBox* box :
         {cbDisableVESA, cbDisableSound, cbDisableNet, cbDisableCD, cbDisableJoy}) {
        options->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TTroubleSettings::cbDisableClick);
    }
    Body()->addWidget(cbSafeMode);
    Body()->addWidget(groupOptions);

    connect(cbSafeMode, &QCheckBox::toggled, this, &TTroubleSettings::cbSafeModeClick);
    FinishLayout();
}

// Each assignment below runs the box's rule when it changes the state, so loading safe mode
// first and the five options after it leaves safe mode checked only when all five are.
void TTroubleSettings::FormActivate() {
    const LaunchProfile& p = Profile();
    cbSafeMode->setChecked(p.SafeMode != 0);
    cbDisableVESA->setChecked(p.DisableVESA != 0);
    cbDisableSound->setChecked(p.MuteAll != 0);
    cbDisableNet->setChecked(p.NoProtocols != 0);
    cbDisableCD->setChecked(p.DisableCDAudio != 0);
    cbDisableJoy->setChecked(p.NoJoystick != 0);
}

void TTroubleSettings::cbSafeModeClick() {
    if (!cbSafeMode->isChecked()) {
        return;
    }
    for (QCheckBox* box :
         {cbDisableVESA, cbDisableSound, cbDisableNet, cbDisableCD, cbDisableJoy}) {
        box->setChecked(true);
    }
}

void TTroubleSettings::cbDisableClick() {
    cbSafeMode->setChecked(cbDisableVESA->isChecked() && cbDisableSound->isChecked() &&
                           cbDisableNet->isChecked() && cbDisableCD->isChecked() &&
                           cbDisableJoy->isChecked());
}

bool TTroubleSettings::FormClose() {
    LaunchProfile& p = Profile();
    p.SafeMode = cbSafeMode->isChecked() ? 1 : 0;
    p.DisableVESA = cbDisableVESA->isChecked() ? 1 : 0;
    p.MuteAll = cbDisableSound->isChecked() ? 1 : 0;
    p.NoProtocols = cbDisableNet->isChecked() ? 1 : 0;
    p.DisableCDAudio = cbDisableCD->isChecked() ? 1 : 0;
    p.NoJoystick = cbDisableJoy->isChecked() ? 1 : 0;
    return true;
}

}  // namespace fenmar::ui
