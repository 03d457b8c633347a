#pragma once
// The values that live beside the launch profile for the whole run.

#include <array>
#include <cstdint>
#include <string>

#include "core/LiveProfile.h"

namespace fenmar {

// 13 one-byte flags, nonzero = allowed; indices ALLOW_MAP .. ALLOW_PAUSABLE.
using AllowList = std::array<std::uint8_t, ALLOW_COUNT>;
inline constexpr AllowList DefaultAllowList = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// Bits of DeleteConfigs.
enum DeleteConfigBits : std::int32_t {
    kDeleteInId1 = 1,
    kDeleteInPatch = 2,
    kDeleteOnLaunch = 4,
    kDeleteOnExit = 8,
};

// The additional and global parameter lists are held by the main window's list boxes and
// handed to whoever needs them.
struct Globals {
    LiveProfile Profile;
    std::string Executable = "DOS-Quake";
    bool CloseOnExecQuake = false;
    bool IgnoreGlobalParams = false;
    std::int32_t DeleteConfigs = 0;
    std::string QSpyExecutable = "qw.exe";
    std::int32_t MinBSPSize = 20;
    bool DontScanBSPMsgs = false;
    bool MapSelectable = true;
    bool SkillSelectable = true;
};

}  // namespace fenmar
