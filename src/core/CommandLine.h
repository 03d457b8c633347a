#pragma once
// Turns the launch profile into the game's command line, and moves its console commands into
// a config file on request.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/EngineProgram.h"
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
    // Where bare program names are looked up; none: this process's PATH (and PATHEXT).
    std::optional<std::string> searchPath;
    std::string searchExtensions;
    // False: in config-file mode nothing is written and the line keeps every command (a
    // preview; the plug-in still sees the profile's own mode).
    bool writeConfigFile = true;
};

// What the composer built, and the program it built it for: the run button starts exactly
// this, whatever a plug-in changes in the profile while the line is composed.
struct ComposedLaunch {
    std::string line;
    bool hasExecutable = false;    // false: no executable shown, nothing is to be started
    std::string executableName;    // the name shown in the executable box
    EngineProgram program;         // where the executable's file resolved to
    std::string programText;       // how the line names the program (its start)
    std::size_t headLength = 0;    // engines elsewhere: the length of program and -basedir
    std::string workingDirectory;  // the Quake directory as it was when composing started
};

inline constexpr const char* kNoExecutableMessage = "You MUST select an executable first !";
// Shown when the config file cannot be written; every command then stays on the line.
std::string ConfigFileFailedMessage(const std::string& path);

// Builds the line. `showMessage` receives kNoExecutableMessage when no executable is shown;
// `plugIn` may be null (no plug-in slot at all). In config-file mode writes the config file.
std::string ComposeCommandLine(Globals& globals, const ExecutableTable& table,
                               const ComposeInputs& inputs, ActivePlugInQueries* plugIn,
                               const std::function<void(const std::string&)>& showMessage);
// The same, handing back the program the line was built for.
ComposedLaunch ComposeLaunch(Globals& globals, const ExecutableTable& table,
                             const ComposeInputs& inputs, ActivePlugInQueries* plugIn,
                             const std::function<void(const std::string&)>& showMessage);

// The config file's path: QuakePath, the existing id1 directory (any case), ConfigFile.
// nullopt when the name is absolute or climbs out of id1, or when no Quake directory is set:
// such a file is never written.
std::optional<std::string> ConfigFilePath(const LiveProfile& profile);

enum class ConfigFileResult { Written, NothingToMove, NotWritten };

// What config-file mode makes of a line, without writing anything: the "+" groups after its
// first `headLength` characters (after its first blank when 0) as the file's lines, and the
// line that is left, ending with " +exec " and `configFile` when anything moved (otherwise
// the line unchanged).
struct ConfigFileSplit {
    std::vector<std::string> lines;
    std::string line;
};
ConfigFileSplit SplitForConfigFile(const std::string& line, std::size_t headLength,
                                   const std::string& configFile);

// Moves every "+" group of `line` after its first `headLength` characters (after its first
// blank when 0) into the config file; see CommandLine.cpp. On NotWritten the line is as it
// came in and no partial file is left behind.
ConfigFileResult WriteConfigFile(const LiveProfile& profile, std::string& line,
                                 std::size_t headLength = 0);

}  // namespace fenmar
