#pragma once
// What the window offers from a search of this computer: engines to add to the executable
// list, and directories holding Quake's game data to take as the Quake directory. The user
// chooses from a list (UiServices::ChooseFromList); nothing is taken without the user.

#include <QString>
#include <optional>
#include <vector>

#include "core/Discovery.h"
#include "ui/window/AppContext.h"

class QWidget;

namespace fenmar::ui {

// Where engines and game data are searched for: this computer's own places unless replaced
// (tests give a fake home; nullopt returns to this computer's places).
DiscoveryEnvironment DiscoveryPlaces();
void ReplaceDiscoveryPlaces(std::optional<DiscoveryEnvironment> places);

// The search for engines / installations off the window's thread, with a busy indicator
// when it takes long.
std::vector<FoundEngine> SearchEngines(AppContext& context, QWidget* owner);
std::vector<FoundInstallation> SearchQuakeInstallations(QWidget* owner);

struct QuakeDirectoryChoice {
    enum class Kind { Chosen, UseFolderChooser, Cancelled };
    Kind kind = Kind::UseFolderChooser;
    QString path;  // with Chosen
};

// Offers the directories found to hold game data, with the folder chooser as the last entry.
// Nothing found: straight to the folder chooser.
QuakeDirectoryChoice OfferQuakeDirectories(AppContext& context, QWidget* owner);

}  // namespace fenmar::ui
