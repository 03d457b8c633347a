#pragma once
// An up-down control beside an edit: its arrows step the number in the edit within a range.

#include <QSpinBox>

class QLineEdit;

namespace fenmar::ui {

class UpDown : public QSpinBox {
    Q_OBJECT
public:
    UpDown(QWidget* parent, int minimum, int maximum, int step, int position);

    // The edit whose number the arrows change; its text follows the position.
    void SetAssociate(QLineEdit* edit);
    QLineEdit* Associate() const { return associate_; }

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    QLineEdit* associate_ = nullptr;
};

}  // namespace fenmar::ui
