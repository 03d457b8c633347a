#pragma once
// What the four option dialogs share: a fixed-size window centred on the screen, the "&OK"
// (Enter) and "&Cancel" (Esc) buttons, activation on every show and the copy-back on OK.

#include <QDialog>
#include <QWidget>
#include <optional>

#include "ui/widgets/UpDown.h"
#include "ui/window/AppContext.h"

class QAbstractButton;
class QBoxLayout;
class QLineEdit;
class QPushButton;

namespace fenmar::ui {

// The option dialogs' former name for the up-down control.
using TUpDown = UpDown;

class TOptionDialog : public QDialog {
    Q_OBJECT
public:
    TOptionDialog(AppContext& context, const QString& caption, QWidget* parent = nullptr);

protected:
    // Profile to controls; runs each time the dialog is shown.
    virtual void FormActivate() = 0;
    // Controls to profile on OK; false when a number did not convert (the dialog stays open).
    virtual bool FormClose() = 0;

    // The page above the buttons, where each dialog puts its controls.
    QBoxLayout* Body() const { return body_; }
    LaunchProfile& Profile() { return context_.globals.Profile.Record(); }

    // The edit's text as an integer; when it is not one, tells the user and yields nothing.
    std::optional<int> ReadInteger(const QLineEdit& edit);
    std::optional<int> ReadInteger(const QString& text);

    // Call at the end of the derived constructor, once every control is in place.
    void FinishLayout();

    void showEvent(QShowEvent* event) override;

private:
    void buOKClick();

    AppContext& context_;
    QBoxLayout* body_;
    QPushButton* buOK_;
    QPushButton* buCancel_;
};

}  // namespace fenmar::ui
