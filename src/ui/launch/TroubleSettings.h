#pragma once
// The troubleshooting dialog: safe mode, and the five things the game can be told to leave out.

#include "ui/launch/OptionDialog.h"

class QCheckBox;
class QGroupBox;

namespace fenmar::ui {

class TTroubleSettings : public TOptionDialog {
    Q_OBJECT
public:
    explicit TTroubleSettings(AppContext& context, QWidget* parent = nullptr);

protected:
    void FormActivate() override;
    bool FormClose() override;

private:
    void cbSafeModeClick();
    void cbDisableClick();

    QCheckBox* cbSafeMode;
    QGroupBox* groupOptions;
    QCheckBox* cbDisableVESA;
    QCheckBox* cbDisableSound;
    QCheckBox* cbDisableNet;
    QCheckBox* cbDisableCD;
    QCheckBox* cbDisableJoy;
};

}  // namespace fenmar::ui
