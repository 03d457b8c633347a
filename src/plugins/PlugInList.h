#pragma once
// Listing the plug-in directory and making a library the active plug-in: the steps the
// plug-in page and the Quick-Set loading share.

#include <string>
#include <vector>

#include "plugins/TPlugIn.h"

namespace fenmar {

// One row of the plug-in list.
struct PlugInListing {
    std::string description;  // PI_GetDescription
    std::string fileName;     // as found in the directory
    std::string versionText;  // APIVersionText of PI_GetPlugInAPIVersion
    PlugInIcon largeIcon;     // GetIcon(2)
    PlugInIcon smallIcon;     // GetIcon(1)
};

// The "<no plugin>" row's texts.
inline constexpr const char* kNoPlugInCaption = "<no plugin>";

// Loads every library of env.plugInDir, in directory order, into a slot of its own and lists
// those whose PI_IsPlugIn is true. Never touches any other slot; never calls PI_SetInfoFn.
std::vector<PlugInListing> ListPlugIns(const PlugInEnvironment& env);

// Loads `fileName` into `slot` (freeing what it held), then hands over the info function,
// applies the allow list and exchanges the settings (Init). Returns the large icon for the
// active-plug-in image: taken after the load and before Init, as plug-ins expect.
PlugInIcon ActivatePlugIn(TPlugIn& slot, const std::string& fileName);

// Empties the slot: nothing is loaded, everything is allowed again.
PlugInIcon ResetPlugIn(TPlugIn& slot);

}  // namespace fenmar
