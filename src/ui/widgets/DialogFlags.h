#pragma once
// The window flags of the program's small fixed-size dialogs: a title bar with the system menu
// and a close button, no minimize or maximize buttons, no resizing.

#include <Qt>

namespace fenmar::ui {

inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

}  // namespace fenmar::ui
