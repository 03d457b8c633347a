#pragma once
// Turns the launch profile into the game's command line, and moves its console commands into
// a config file on request.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ExecutableTable.h"
#include "core/Globals.h"

namespace fenmar {

// What the composer asks of the active plug-in slot.
class ActivePlugInQueries {
public:
    virtual ~ActivePlugInQueries() = default;
    virtual bool IsLoaded() const = 0;
    // The plug-in's allow list, or nullopt when it gives none.
    virtual std::optional<AllowList> QueryAllowList() = 0;
    // The plug-in's text for the line; may change the profile through the settings exchange.
    virtual std::string GetParams(Globals& globals) = 0;
};

// What the main window hands over besides the globals.
struct ComposeInputs {
    std::optional<std::string> shownExecutable;  // the executable box's name; none when empty
    std::string hostName;                        // the host-name box's text
    std::vector<std::string> globalParams;       // in list order
    std::vector<std::string> additionalParams;   // in list order
};

inline constexpr const char* kNoExecutableMessage = "You MUST select an executable first !";

// Builds the line. `showMessage` receives kNoExecutableMessage when no executable is shown;
// `plugIn` may be null (no plug-in slot at all). In config-file mode writes the config file.
std::string ComposeCommandLine(Globals& globals, const ExecutableTable& table,
                               const ComposeInputs& inputs, ActivePlugInQueries* plugIn,
                               const std::function<void(const std::string&)>& showMessage);

// The config file's path: QuakePath, the existing id1 directory (any case), ConfigFile.
// nullopt when the name is absolute or climbs out of id1: such a file is never written.
std::optional<std::string> ConfigFilePath(const LiveProfile& profile);

// Moves every "+" group of `line` into the config file; see CommandLine.cpp.
void WriteConfigFile(const LiveProfile& profile, std::string& line);

}  // namespace fenmar
