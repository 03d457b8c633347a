#pragma once
// The up-down control of the main window and the option dialogs: a pair of arrows beside an
// edit, like a spin box whose text belongs to the edit. The edit's text is never validated or
// rewritten except by a step. A step reads the edit (a number is limited to the range; a text
// that is not a number counts as the last position), moves by the increment within the range
// and writes the new position back into the edit. Up/Down keys in the edit step too.

#include <QSpinBox>

class QLineEdit;

namespace fenmar::ui {

class UpDown : public QSpinBox {
    Q_OBJECT
public:
    // Standing alone at `position`; SetAssociate gives it its edit.
    UpDown(QWidget* parent, int minimum, int maximum, int step, int position);
    // Attached to `buddy` from the start, at the range's minimum until the edit says more.
    UpDown(QLineEdit* buddy, int minimum, int maximum, int step, QWidget* parent = nullptr);

    // The edit whose number the arrows change; its text follows the position.
    void SetAssociate(QLineEdit* edit);
    QLineEdit* Associate() const { return associate_; }

    // The edit's number limited to the range, or the last position when it is not a number.
    int Position();
    int Minimum() const { return minimum(); }
    int Maximum() const { return maximum(); }
    int Increment() const { return singleStep(); }
    void StepBy(int steps) { stepBy(steps); }  // steps of Increment(), positive = up

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* associate_ = nullptr;
};

}  // namespace fenmar::ui
