#pragma once
// How the Executable box shows the programs of the executable list: those found on this
// computer first, with where they are as the tip; those that cannot be found after them,
// greyed and italic, as the list shows them. Only the order shown changes: the box is read by
// its entries' texts, and the list and the stored table keep theirs.

#include <QHash>
#include <QString>

class QComboBox;

namespace fenmar::ui {

struct ProgramMark {
    bool missing = false;
    QString tip;  // where the program was found, or why it was not
};

// Marks and orders the box's entries by their names' marks (entries without a mark count as
// found). Keeps the entry shown and sends no signal.
void MarkExecutableBox(QComboBox& box, const QHash<QString, ProgramMark>& marks);

}  // namespace fenmar::ui
