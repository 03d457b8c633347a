#pragma once
// Edits whose text goes into the settings store: the store reads back at most 260 bytes of
// a text (a longer one comes back empty), so typing stops at 255 bytes of stored text -
// bytes, not characters: an accented letter takes two - and a tooltip at the edit says why.

#include <QString>
#include <QValidator>

class QComboBox;
class QLineEdit;
class QWidget;

namespace fenmar::ui {

inline constexpr int kMaxStoredTextBytes = 255;

// The tooltip shown where typing stops.
QString StoredTextLimitMessage();

class StoredTextValidator : public QValidator {
    Q_OBJECT
public:
    // `owner`: the edit the tooltip points at.
    StoredTextValidator(QWidget* owner, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    QWidget* owner_;
};

// Limits an edit, or an editable chooser's edit, to kMaxStoredTextBytes of stored text.
void LimitStoredText(QLineEdit* edit);
void LimitStoredText(QComboBox* combo);

}  // namespace fenmar::ui
