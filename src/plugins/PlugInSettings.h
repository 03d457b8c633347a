#pragma once
// The active plug-in's place in stored settings: its file name as "Current Plug-In" in
// B\General, and its own settings under B\PlugIn-Settings\<its description>. B is the
// program's root key for the current settings, or a Quick-Set's key.

#include <string>
#include <string_view>

#include "plugins/PlugInList.h"
#include "store/Store.h"

namespace fenmar {

inline constexpr std::string_view kCurrentPlugInValue = "Current Plug-In";
inline constexpr std::string_view kPlugInSettingsKey = "PlugIn-Settings";

// B for the current settings (empty Quick-Set name) or for a Quick-Set.
std::string SettingsBaseKey(std::string_view quickSetName);

// Writes the slot's file name ("<none>" when empty), deletes B\PlugIn-Settings with
// everything below it, and, if a library is loaded, lets it save into
// B\PlugIn-Settings\<description> (PI_GetDescription, then PI_SaveSettings).
void SavePlugInSettings(TPlugIn& slot, store::Store& store, std::string_view base);

// The stored "Current Plug-In" ("" when absent).
std::string StoredPlugInName(store::Store& store, std::string_view base);

// PI_GetDescription, then PI_RestoreSettings on B\PlugIn-Settings\<description> if that key
// exists. False when there was nothing to restore from.
bool RestorePlugInSettings(TPlugIn& slot, store::Store& store, std::string_view base);

// What loading settings does for the plug-in: activates the stored library afresh (even when
// it is the active one), then lets it restore its settings. Returns the icon to show.
PlugInIcon LoadStoredPlugIn(TPlugIn& slot, store::Store& store, std::string_view base);

}  // namespace fenmar
