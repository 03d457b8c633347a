#pragma once
// The host's info function: plug-ins call it to open the host's pickers while they run.

#include <cstdint>

#include "fenmar/plugin.h"
#include "plugins/PlugInHost.h"

namespace fenmar {

// The environment the info function works on: the slot that handed it over last. Null when
// that slot is gone; the info function then answers nil.
void SetInfoFnTarget(const PlugInEnvironment* env);
const PlugInEnvironment* InfoFnTarget();

// The function handed to PI_SetInfoFn.
PIInfoFn HostInfoFn();

// What request 7 answers: PatchPath without its first (length of QuakePath + 1) characters;
// "" when PatchPath is not longer than that.
std::string PatchPathRelative(const LiveProfile& profile);

}  // namespace fenmar
