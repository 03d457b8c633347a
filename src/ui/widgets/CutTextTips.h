#pragma once
// Tool tips for texts a list cuts off: hovering over a cell whose text does not fit its column
// shows the whole text. Cells that fit keep whatever tip they have (none by default).

class QAbstractItemView;

namespace fenmar::ui {

void ShowCutTextsAsTips(QAbstractItemView& view);

}  // namespace fenmar::ui
