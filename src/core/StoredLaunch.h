#pragma once
// Everything a launch takes from the settings store, read without a window: the global
// options, the executables, the global parameters and a stored profile, with the rules the
// main window applies to a profile it shows. The command line and the window read the same
// values in the same order, so both compose the same line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ExecutableTable.h"
#include "core/Globals.h"
#include "core/QuickSetLayout.h"
#include "store/Store.h"

namespace fenmar {

// The values a launch reads besides the profile record.
struct LaunchInputs {
    Globals globals;
    ExecutableTable executables;
    std::vector<std::string> globalParams;
    std::vector<std::string> additionalParams;
};

// "Internal" (directories, companion program, the CONFIG.CFG mask as its four boxes rebuild
// it, map options), "Executables" and "Global params", into `inputs`. Missing keys leave the
// built-in values.
void ReadStoredOptions(store::Store& store, LaunchInputs& inputs);

// A stored profile (the working profile for the empty name) over the values in `inputs`, as
// the window loads it: fields of missing subkeys stay, the additional parameters are replaced
// only when their key exists; then ApplyShownProfileRules. Returns what ReadQuickSet found.
StoredProfileExtras ReadStoredProfile(store::Store& store, std::string_view name,
                                      LaunchInputs& inputs);

// What the window's controls do to a profile they show: the players track bar keeps 1..16;
// a server forbids playing a demo back and a dedicated one recording; a connection forbids
// playing back; map and skill are selectable unless a demo plays or a connection is made.
void ApplyShownProfileRules(Globals& globals);

// The executable box's entry for the profile's executable name (the table's spelling), or
// nothing when the table has no such name: the box then shows no selection.
std::optional<std::string> ShownExecutable(const ExecutableTable& table, std::string_view name);

// The stored Quick-Set names, sorted as the chooser sorts them, "<default>" included (the
// window creates it at its first start).
std::vector<std::string> QuickSetNames(store::Store& store);
// The stored spelling of a Quick-Set name, matched ignoring case; nothing when unknown.
std::optional<std::string> FindQuickSet(store::Store& store, std::string_view name);

}  // namespace fenmar
