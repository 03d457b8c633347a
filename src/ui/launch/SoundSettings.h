#pragma once
// The sound dialog: no sound at all, the sample rate, and the CD switches.

#include "ui/launch/OptionDialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace fenmar::ui {

class TSoundSettings : public TOptionDialog {
    Q_OBJECT
public:
    explicit TSoundSettings(AppContext& context, QWidget* parent = nullptr);

protected:
    void FormActivate() override;
    bool FormClose() override;

private:
    void cbNoSoundClick();

    QCheckBox* cbNoSound;
    QGroupBox* groupSample;
    QLabel* labSampleRate;
    QComboBox* comboSampleRate;
    QLabel* labKHz;
    QGroupBox* groupCD;
    QCheckBox* cbDisableCD;
    QCheckBox* cbForceMediaCheck;
};

}  // namespace fenmar::ui
