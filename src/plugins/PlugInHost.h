#pragma once
// What the plug-in slot needs from the rest of the program: the live values, and the user
// interface it reaches through (refreshing the window, the allow-list gating, the executable
// question and the pickers of the info function). The main window implements PlugInHost.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ExecutableTable.h"
#include "core/Globals.h"

namespace fenmar {

class PlugInHost {
public:
    virtual ~PlugInHost() = default;

    // Shows the launch profile in the window after a plug-in may have changed it.
    virtual void ShowProfile() = 0;
    // Shows and hides the gated controls; null means everything is allowed.
    virtual void ApplyAllowList(const AllowList* list) = 0;
    // The executable name whose file is `file` (ignoring case); asks the user to define one
    // when the table has none.
    virtual std::string ResolveExecutableName(const std::string& file) = 0;

    // The pickers the info function opens. nullopt: cancelled (or, for the file pickers,
    // the folder does not exist).
    virtual std::optional<std::string> BrowseMap() = 0;  // the map browser's edMap text
    // The patch relative to QuakePath, "<none>" for QuakePath itself, "" when cancelled.
    virtual std::string BrowseForPatch() = 0;
    virtual std::optional<std::string> BrowseDemoID1() = 0;         // relative, no extension
    virtual std::optional<std::string> BrowseDemoPatch() = 0;       // relative, no extension
    virtual std::optional<std::string> BrowseExecutableFile() = 0;  // file name only
};

// Where a slot finds its libraries and the values it exchanges with them.
struct PlugInEnvironment {
    std::string plugInDir;       // PlugInDir: the program's directory + "PlugIns"
    Globals* globals = nullptr;  // the live profile and the executable name
    const ExecutableTable* executables = nullptr;
    PlugInHost* host = nullptr;
};

// An icon copied out of a plug-in. Default icons are the host's own ("NPI_SMALL",
// "NPI_LARGE"); the window maps them to its resources.
struct PlugInIcon {
    enum class Kind { DefaultSmall, DefaultLarge, Image };
    Kind kind = Kind::DefaultLarge;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, rows from the top

    static PlugInIcon Default(int size) {
        PlugInIcon icon;
        icon.kind = size == 1 ? Kind::DefaultSmall : Kind::DefaultLarge;
        return icon;
    }
    bool operator==(const PlugInIcon&) const = default;
};

}  // namespace fenmar
