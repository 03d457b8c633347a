#pragma once
// What playing a release fills in: the game patch (its command line's "-game X", or its own
// folder from zipbasedir when that is not id1), the map (its start map; with several the
// caller chooses) and the rest of its command line as additional parameters.

#include <string>
#include <string_view>
#include <vector>

#include "addons/AddOn.h"

namespace fenmar::addons {

struct PlayPlan {
    std::string gamePatch;             // "" for the base game
    std::vector<std::string> maps;     // the candidates: start maps (or the line's "+map")
    std::string map;                   // chosen, or the only candidate; "" to choose
    std::string additionalParameters;  // the command line without -game and +map
    std::string error;                 // non-empty: refused (unsafe patch or map name)
    bool Ok() const { return error.empty(); }
    bool NeedsChoice() const { return map.empty() && maps.size() > 1; }
};

// `chosenMap` (when not empty) must be a plain name; it need not be a candidate. With
// `quakeDir` given, a start map that is only the id by default is dropped when no such map is
// installed (the engine then starts as it would without +map).
PlayPlan PlanPlay(const AddOn& addOn, std::string_view chosenMap = {},
                  const std::string& quakeDir = {});

}  // namespace fenmar::addons
