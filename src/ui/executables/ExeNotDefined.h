#pragma once
// "Executable not defined...": asks for a name for an executable file nobody has named yet.

#include <QDialog>

#include "ui/window/AppContext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fenmar::ui {

class TExeNotDefined : public QDialog {
    Q_OBJECT
public:
    explicit TExeNotDefined(AppContext& context, QWidget* parent = nullptr);

    QLabel* labExplanation;
    QLabel* labExe;
    QLineEdit* edExe;  // the file, read-only
    QLabel* labDescr;
    QLineEdit* edDescr;  // the name the user gives it; has the focus when shown
    QPushButton* buOK;
    QPushButton* buCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[maybe_unused]] AppContext& context_;
};

}  // namespace fenmar::ui
