#pragma once
// The user-interface side of the plug-in slot, scripted: answers queued per question, and
// everything the slot asked written to the same log the recording plug-in writes to, so one
// file shows the whole conversation in order.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "plugins/PlugInList.h"

namespace fenmar::test {

class ScriptedPlugInHost : public PlugInHost {
public:
    explicit ScriptedPlugInHost(std::string logPath) : logPath_(std::move(logPath)) {}

    void ShowProfile() override;
    void ApplyAllowList(const AllowList* list) override;
    std::string ResolveExecutableName(const std::string& file) override;
    std::optional<std::string> BrowseMap() override;
    std::string BrowseForPatch() override;
    std::optional<std::string> BrowseDemoID1() override;
    std::optional<std::string> BrowseDemoPatch() override;
    std::optional<std::string> BrowseExecutableFile() override;

    // Answers, taken in order; an empty queue answers "cancelled".
    std::deque<std::optional<std::string>> answers;
    std::string executableName = "DOS-Quake";  // what ResolveExecutableName answers
    std::vector<std::string> resolvedFiles;    // what it was asked
    std::optional<AllowList> lastAllowList;    // what ApplyAllowList received (nullopt: nil)
    int showProfileCount = 0;

private:
    void Log(const std::string& line) const;
    std::optional<std::string> Next(const char* what);
    std::string logPath_;
};

// A plug-in directory of its own with copies of the built libraries, a log file, the live
// values and a scripted host.
class PlugInBench {
public:
    PlugInBench();
    ~PlugInBench();
    // Copies a sample (from bin/PlugIns) or fixture (from bin/PlugInFixtures) library in.
    void AddSample(const std::string& name) const;
    void AddFixture(const std::string& name) const;
    // Copies a fixture library in and activates it in `slot`.
    PlugInIcon ActivateFixture(TPlugIn& slot, const std::string& name) const;
    std::string LibraryName(const std::string& name) const;  // name + the library suffix
    // The log lines since the last call.
    std::vector<std::string> TakeLog();
    // Settings of the recording plug-in ("info", "execute").
    void ConfigureRecorder(const std::string& info, bool executeResult = true) const;

    TempDir dir;
    std::filesystem::path previousDir;
    std::string plugInDir;
    Globals globals;
    ExecutableTable executables;
    ScriptedPlugInHost host;
    PlugInEnvironment env;
};

}  // namespace fenmar::test
