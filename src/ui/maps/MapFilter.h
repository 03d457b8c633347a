#pragma once
// Search as you type over map lists: the browser's three lists and the map box's drop-down.

#include <QLineEdit>
#include <QString>

class QComboBox;
class QTreeWidget;

namespace fenmar::ui {

// Shows exactly the rows of `list` whose name or description contains `text`, ignoring case
// (all rows for an empty text). Returns how many rows are shown.
int ApplyMapFilter(QTreeWidget& list, const QString& text);

// Lets the drop-down of an editable combo box narrow to the entries containing what is typed
// (ignoring case, anywhere in the entry).
void InstallMapBoxFilter(QComboBox& combo);

// A filter box: Escape clears a text; on an empty box Escape goes on to the dialog (closing it).
class FilterEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace fenmar::ui
