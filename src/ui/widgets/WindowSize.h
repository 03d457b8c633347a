#pragma once
// The size a resizable window was last given, kept under "Windows\<name>" of the program's
// key as "Width" and "Height". A window opens at its smallest size until one is kept.

#include <string>

class QWidget;

namespace fenmar::store {
class Store;
}

namespace fenmar::ui {

std::string WindowSizeKeyPath(const std::string& name);
// Gives `window` the kept size, never smaller than its minimum nor larger than its screen's
// free area; a missing or damaged value leaves the size as it is.
void RestoreWindowSize(store::Store& store, const std::string& name, QWidget& window);
void SaveWindowSize(store::Store& store, const std::string& name, const QWidget& window);

}  // namespace fenmar::ui
