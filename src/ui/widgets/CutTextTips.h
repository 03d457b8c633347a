#pragma once
// Tool tips for texts a list cuts off: hovering over a cell whose text does not fit its column
// shows the whole text. Cells that fit keep whatever tip they have (none by default).

class QAbstractItemView;
class QComboBox;
class QLineEdit;

namespace fenmar::ui {

void ShowCutTextsAsTips(QAbstractItemView& view);

// The same for the one line of a combo box or an edit: while its text does not fit, hovering
// shows the whole text, followed by the widget's own tip (if it has one) after a blank line.
void ShowCutTextAsTip(QComboBox& combo);
void ShowCutTextAsTip(QLineEdit& edit);

}  // namespace fenmar::ui
