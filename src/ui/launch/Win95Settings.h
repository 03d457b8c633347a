#pragma once
// The Windows memory dialog: how DOS-Quake is locked in memory, or how much heap WinQuake gets.
//
// The dialog remembers, for as long as it lives, the method chosen for each kind of executable,
// so switching between DOS-Quake and WinQuake brings back the earlier choice of that kind.

#include <cstdint>

#include "ui/launch/OptionDialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace fenmar::ui {

class TWin95Settings : public TOptionDialog {
    Q_OBJECT
public:
    explicit TWin95Settings(AppContext& context, QWidget* parent = nullptr);

protected:
    void FormActivate() override;
    bool FormClose() override;

private:
    QRadioButton* NewRadio(const char* name, const QString& caption, const QString& hint,
                           QWidget* parent);
    void rbDOSLockMethodClick(QRadioButton* sender);
    void rbHeapSizeMethodClick(QRadioButton* sender);
    void rbDOSQuakeClick();
    void rbWinQuakeClick();
    // The lock methods are for the DOS program, the heap size for the Windows one.
    void EnableMethodsOf(bool dosQuake);
    void edAllocMemChange();

    QGroupBox* groupExecutable;
    QRadioButton* rbDOSQuake;
    QRadioButton* rbWinQuake;
    QGroupBox* groupDOSMem;
    QRadioButton* rbNoLock;
    QRadioButton* rbWinLock;
    QRadioButton* rbLockUnlock;
    QGroupBox* groupHeapSize;
    QRadioButton* rbHeapSizeAuto;
    QRadioButton* rbHeapSizeOverride;
    QLabel* labAllocate;
    QLineEdit* edAllocMem;
    UpDown* udAllocMem;
    QLabel* labAllocMB;

    // The remembered choices (LockMethod values) and the spinner's value.
    int selectedMethod_ = 0;
    int lastDOSLockMethod_ = 0;
    int lastHeapSizeMethod_ = 3;
    int allocMem_ = 8;
};

}  // namespace fenmar::ui
