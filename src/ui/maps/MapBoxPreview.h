#pragma once
// The main window's map box shows the picture and summary of the map it names as its tooltip.

#include <string>

class QComboBox;

namespace fenmar::ui {

struct AppContext;

// The map is looked up as the game would find it in the profile's Quake directory and patch;
// where there is none (or no picture), the box keeps its usual tooltip. The picture is taken
// from (and kept in) the map cache `cacheFile`; "" for the user's.
void InstallMapBoxPreview(QComboBox& combo, AppContext& context, std::string cacheFile = {});

}  // namespace fenmar::ui
