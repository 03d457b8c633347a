#pragma once
// The main window's map box shows the picture and summary of the map it names as its tooltip.

class QComboBox;

namespace fenmar::ui {

struct AppContext;

// The map is looked up as the game would find it in the profile's Quake directory and patch;
// where there is none (or no picture), the box keeps its usual tooltip.
void InstallMapBoxPreview(QComboBox& combo, AppContext& context);

}  // namespace fenmar::ui
