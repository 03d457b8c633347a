#pragma once
// Choosers (combo boxes) whose text the program sets: the map, patch, demo and server boxes.
//
// A chooser's change handler is registered once with OnComboChange. It then runs whenever the
// user changes the chooser's text (typing or picking an entry), and exactly once for every
// SetComboText, also when the text set is the one already shown. Qt itself would run it on
// setEditText only when the text differs; SetComboText makes the program's own changes
// predictable for the handlers that re-apply rules.

#include <QString>
#include <functional>

class QComboBox;

namespace fenmar::ui {

// Registers `handler` as the change handler of `combo`, replacing an earlier one. The handler
// reads the chooser's text itself (`combo->currentText()`).
void OnComboChange(QComboBox* combo, std::function<void()> handler);

// Sets the chooser's text and runs its change handler once (nothing runs when none is
// registered). An editable chooser shows the text as typed; a drop-down list selects the
// entry with that text, or nothing when it has none.
void SetComboText(QComboBox* combo, const QString& text);

}  // namespace fenmar::ui
