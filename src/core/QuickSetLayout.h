#pragma once
// How a launch profile is laid out in the settings store: the working profile directly under
// the program's root key, and each named Quick-Set under "QuickSets\<name>". Subkeys
// "General", "Troubleshooting", "Multiplayer", "Sound", "Network", "Win95",
// "Additional Params" and "PlugIn-Settings".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Globals.h"
#include "store/Store.h"

namespace fenmar {

inline constexpr std::string_view kQuickSetsKey = "QuickSets";
inline constexpr std::string_view kDefaultQuickSet = "<default>";
inline constexpr std::string_view kCurrentSelectedValue = "CurrentSelected";

// The key of a profile: the root key for the empty name (the working profile), else the
// Quick-Set's key.
std::string ProfileKey(std::string_view quickSetName);

// Why `name` cannot name a Quick-Set: a backslash would make it a nested key, "<none>" is the
// chooser's "nothing chosen", and key names are at most 255 characters. Empty when the name is
// usable (the empty name included: the dialogs treat it as "nothing entered").
std::string QuickSetNameProblem(std::string_view name);

// The active plug-in's part of a stored profile.
class ProfilePlugIn {
public:
    virtual ~ProfilePlugIn() = default;
    // The library's file name, "<none>" when no plug-in is active ("Current Plug-In").
    virtual std::string FileName() = 0;
    // Rewrites "Current Plug-In" below `base`, clears `base`\PlugIn-Settings and lets the
    // plug-in save its own settings there.
    virtual void Save(store::Store& store, std::string_view base) = 0;
    // Activates the plug-in stored as `fileName` ("" or "<none>": none) and lets it restore
    // its settings from below `base`.
    virtual void Load(store::Store& store, std::string_view base, const std::string& fileName) = 0;
};

// The part of the window a profile is stored with: the additional parameters in list order.
// Writes the profile (and `additionalParams`) under ProfileKey(name): "General" in its fixed
// order, the plug-in's part, then "Troubleshooting", "Multiplayer", "Sound", "Network",
// "Win95" and "Additional Params". Only "PlugIn-Settings" and "Additional Params" are cleared
// first; everything else is overwritten value by value. `plugIn` may be null: none active.
void SaveQuickSet(store::Store& store, std::string_view name, const Globals& globals,
                  const std::vector<std::string>& additionalParams, ProfilePlugIn* plugIn);

// What reading a stored profile found besides the fields it set.
struct StoredProfileExtras {
    bool generalFound = false;  // "General" opened: the three flags below are meaningful
    bool closeOnExecQuake = false;
    bool ignoreGlobalParams = false;
    bool noAutoAim = false;
    std::string plugInName;  // "Current Plug-In"; "" when "General" is missing
};

// Reads "General" … "Win95" of the profile into `globals` (profile fields, Executable and the
// two flags beside the profile). A missing subkey leaves its fields as they are; absent
// values read as "" or false, and a number that is absent or outside its field's range (a
// skill of 0 to 3, 1 to 16 players, ...) takes the field's initial value. "HostName" is taken only
// when the stored text is not empty. QuakePath, PatchPath and ConfigFile are never touched.
StoredProfileExtras ReadQuickSet(store::Store& store, std::string_view name, Globals& globals);

// The stored additional parameters, in order; nothing when the key does not exist (the list
// is then kept as it is), an empty list when it exists but holds none.
std::optional<std::vector<std::string>> ReadAdditionalParams(store::Store& store,
                                                             std::string_view name);

}  // namespace fenmar
