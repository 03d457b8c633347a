#include "ui/launch/SoundSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/Numbers.h"

namespace fenmar::ui {

TSoundSettings::TSoundSettings(AppContext& context, QWidget* parent)
    : TOptionDialog(context, QStringLiteral("Fenmar - Sound-settings"), parent),
      cbNoSound(new QCheckBox(QStringLiteral("&no Sound at all"), this)),
      groupSample(new QGroupBox(QStringLiteral("Sample-Settings"), this)),
      labSampleRate(new QLabel(QStringLiteral("&Sample rate:"), groupSample)),
      comboSampleRate(new QComboBox(groupSample)),
      labKHz(new QLabel(QStringLiteral("kHz"), groupSample)),
      groupCD(new QGroupBox(QStringLiteral("CD-Settings"), this)),
      cbDisableCD(new QCheckBox(QStringLiteral("disable CD-Audio"), groupCD)),
      cbForceMediaCheck(new QCheckBox(QStringLiteral("Force CD media-check"), groupCD)) {
    setObjectName(QStringLiteral("SoundSettings"));
    cbNoSound->setObjectName(QStringLiteral("cbNoSound"));
    cbNoSound->setToolTip(QStringLiteral("disables ALL sounds (even CD) in Quake"));
    groupSample->setObjectName(QStringLiteral("groupSample"));
    labSampleRate->setObjectName(QStringLiteral("labSampleRate"));
    labSampleRate->setBuddy(comboSampleRate);
    comboSampleRate->setObjectName(QStringLiteral("comboSampleRate"));
    comboSampleRate->setToolTip(QStringLiteral("defines the playback-rate in Quake"));
    comboSampleRate->setEditable(true);
    comboSampleRate->setInsertPolicy(QComboBox::NoInsert);  // typed rates do not join the list
    comboSampleRate->addItems({QStringLiteral("8000"), QStringLiteral("11025"),
                               QStringLiteral("22050"), QStringLiteral("44100")});
    comboSampleRate->setEditText(QStringLiteral("11025"));
    labKHz->setObjectName(QStringLiteral("labKHz"));
    groupCD->setObjectName(QStringLiteral("groupCD"));
    cbDisableCD->setObjectName(QStringLiteral("cbDisableCD"));
    cbDisableCD->setToolTip(QStringLiteral("disables CD-output"));
    cbForceMediaCheck->setObjectName(QStringLiteral("cbForceMediaCheck"));
    cbForceMediaCheck->setToolTip(QStringLiteral("Checks periodically, if CD was changed."));

    auto* sampleRow = new QHBoxLayout(groupSample);
    sampleRow->addWidget(labSampleRate);
    sampleRow->addWidget(comboSampleRate, 1);
    sampleRow->addWidget(labKHz);
    auto* cdColumn = new QVBoxLayout(groupCD);
    cdColumn->addWidget(cbDisableCD);
    cdColumn->addWidget(cbForceMediaCheck);
    Body()->addWidget(cbNoSound);
    Body()->addWidget(groupSample);
    Body()->addWidget(groupCD);

    connect(cbNoSound, &QCheckBox::toggled, this, &TSoundSettings::cbNoSoundClick);
    FinishLayout();
}

void TSoundSettings::FormActivate() {
    const LaunchProfile& p = Profile();
    cbNoSound->setChecked(p.MuteAll != 0);
    comboSampleRate->setEditText(QString::number(p.SampleRate));
    cbDisableCD->setChecked(p.DisableCDAudio != 0);
    cbForceMediaCheck->setChecked(p.ForceCDMediaCheck != 0);
}

void TSoundSettings::cbNoSoundClick() {
    const bool soundOn = !cbNoSound->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{labSampleRate, comboSampleRate, labKHz,
                                                      cbDisableCD, cbForceMediaCheck}) {
        w->setEnabled(soundOn);
    }
}

bool TSoundSettings::FormClose() {
    LaunchProfile& p = Profile();
    p.MuteAll = cbNoSound->isChecked() ? 1 : 0;
    const auto rate = ReadInteger(comboSampleRate->currentText());
    if (!rate) {
        return false;
    }
    p.SampleRate = ClampToUInt16(*rate);
    p.DisableCDAudio = cbDisableCD->isChecked() ? 1 : 0;
    p.ForceCDMediaCheck = cbForceMediaCheck->isChecked() ? 1 : 0;
    return true;
}

}  // namespace fenmar::ui
