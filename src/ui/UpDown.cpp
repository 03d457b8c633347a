#include "ui/UpDown.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

namespace fenmar::ui {

UpDown::UpDown(QWidget* parent, int minimum, int maximum, int step, int position)
    : QSpinBox(parent) {
    setRange(minimum, maximum);
    setSingleStep(step);
    setValue(position);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setFocusPolicy(Qt::NoFocus);
    lineEdit()->hide();
    setFrame(false);
}

void UpDown::SetAssociate(QLineEdit* edit) {
    associate_ = edit;
}

void UpDown::stepBy(int steps) {
    // Start from what the edit shows now, so that typed numbers are stepped from.
    if (associate_ != nullptr) {
        bool ok = false;
        const int shown = associate_->text().toInt(&ok);
        if (ok) {
            setValue(shown);
        }
    }
    QSpinBox::stepBy(steps);
    if (associate_ != nullptr) {
        associate_->setText(QString::number(value()));
    }
}

QSize UpDown::sizeHint() const {
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, &option, this) + 2;
    return {width, QSpinBox::sizeHint().height()};
}

}  // namespace fenmar::ui
