#include "ui/widgets/StoredTextLimit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolTip>

namespace fenmar::ui {

QString StoredTextLimitMessage() {
    return QStringLiteral("This field holds at most %1 bytes of text (accented letters take two).")
        .arg(kMaxStoredTextBytes);
}

StoredTextValidator::StoredTextValidator(QWidget* owner, QObject* parent)
    : QValidator(parent), owner_(owner) {}

QValidator::State StoredTextValidator::validate(QString& input, int&) const {
    // Counted as the settings code stores the text.
    if (input.toLocal8Bit().size() <= kMaxStoredTextBytes) {
        return Acceptable;
    }
    if (owner_ != nullptr) {
        QToolTip::showText(owner_->mapToGlobal(QPoint(0, owner_->height())),
                           StoredTextLimitMessage(), owner_);
    }
    return Invalid;
}

void LimitStoredText(QLineEdit* edit) {
    if (edit != nullptr) {
        edit->setValidator(new StoredTextValidator(edit, edit));
    }
}

void LimitStoredText(QComboBox* combo) {
    if (combo != nullptr && combo->isEditable()) {
        combo->setValidator(new StoredTextValidator(combo, combo));
    }
}

}  // namespace fenmar::ui
