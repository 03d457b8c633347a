#include "ui/widgets/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include "core/Numbers.h"

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

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, int step, QWidget* parent)
    : UpDown(parent, minimum, maximum, step, minimum) {
    SetAssociate(buddy);
}

void UpDown::SetAssociate(QLineEdit* edit) {
    if (associate_ != nullptr) {
        associate_->removeEventFilter(this);
    }
    associate_ = edit;
    if (associate_ != nullptr) {
        associate_->installEventFilter(this);
        if (toolTip().isEmpty()) {
            setToolTip(associate_->toolTip());
        }
    }
}

int UpDown::Position() {
    if (associate_ != nullptr) {
        if (const auto shown = StrToInt(associate_->text().toStdString())) {
            setValue(static_cast<int>(ClampToRange(*shown, minimum(), maximum())));
        }
    }
    return value();
}

void UpDown::stepBy(int steps) {
    // Start from what the edit shows now, so that typed numbers are stepped from.
    const auto next = ClampToRange(std::int64_t{Position()} + std::int64_t{steps} * singleStep(),
                                   minimum(), maximum());
    setValue(static_cast<int>(next));
    if (associate_ != nullptr) {
        associate_->setText(QString::number(value()));
    }
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == associate_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QSpinBox::eventFilter(watched, event);
}

QSize UpDown::sizeHint() const {
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, &option, this) + 2;
    return {width, QSpinBox::sizeHint().height()};
}

}  // namespace fenmar::ui
