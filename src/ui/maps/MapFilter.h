#pragma once
// Search as you type over map lists: the browser's three lists and the map box's drop-down.

#include <QLineEdit>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace fenmar::ui {

// Shows exactly the rows of a list whose name or description contains a text, ignoring case
// (all rows for an empty text). The searchable text of every row is prepared once, so a
// keystroke costs a plain search per row and touches only rows whose visibility changes.
class MapFilterIndex {
public:
    // Takes the rows `list` holds now; run whenever its rows change.
    void Rebuild(const QTreeWidget& list);
    // Whether the index was built for a list of a different length.
    bool Stale(const QTreeWidget& list) const;
    // Returns how many rows are shown. `keep`, when given, hides the rows it refuses too.
    int Apply(QTreeWidget& list, const QString& text,
              const std::function<bool(const QTreeWidgetItem&)>& keep = {});

private:
    std::vector<std::string> haystacks_;  // name and description, lower case, UTF-8
    std::vector<char> shown_;
};

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
