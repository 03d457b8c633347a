#pragma once
// What the four option dialogs share: a fixed-size window centred on the screen, the "&OK"
// (Enter) and "&Cancel" (Esc) buttons, activation on every show, the copy-back on OK, and the
// small up-down control that steps the number in an edit.

#include <QDialog>
#include <QWidget>
#include <optional>

#include "ui/AppContext.h"

class QAbstractButton;
class QBoxLayout;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace fenmar::ui {

// An up-down pair of arrow buttons attached to an edit, like a spin box whose text belongs to
// the edit: the edit's text is never validated or rewritten except by a step. A step reads the
// edit (a text that is not a number counts as the last position), moves by the step within the
// range and writes the new position back into the edit. Up/Down keys in the edit step too.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(QLineEdit* buddy, int minimum, int maximum, int step, QWidget* parent = nullptr);

    // The edit's number limited to the range, or the last position when it is not a number.
    int Position() const;
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Increment() const { return step_; }
    void StepBy(int steps);  // steps of Increment(), positive = up

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
    int step_;
    mutable int position_;
};

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
