#include "ScriptedPlugInHost.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/DynamicLibrary.h"

namespace fenmar::test {

void ScriptedPlugInHost::Log(const std::string& line) const {
    std::ofstream(logPath_, std::ios::app) << "host " << line << '\n';
}

std::optional<std::string> ScriptedPlugInHost::Next(const char* what) {
    Log(what);
    if (answers.empty()) {
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPlugInHost::ShowProfile() {
    ++showProfileCount;
    Log("ShowProfile");
}

void ScriptedPlugInHost::ApplyAllowList(const AllowList* list) {
    lastAllowList = list ? std::optional<AllowList>(*list) : std::nullopt;
    std::string flags;
    if (list) {
        for (auto flag : *list) {
            flags += flag ? '1' : '0';
        }
    }
    Log("ApplyAllowList " + (list ? flags : std::string("nil")));
}

std::string ScriptedPlugInHost::ResolveExecutableName(const std::string& file) {
    Log("ResolveExecutableName " + file);
    resolvedFiles.push_back(file);
    return executableName;
}

std::optional<std::string> ScriptedPlugInHost::BrowseMap() {
    return Next("BrowseMap");
}
std::string ScriptedPlugInHost::BrowseForPatch() {
    return Next("BrowseForPatch").value_or("");
}
std::optional<std::string> ScriptedPlugInHost::BrowseDemoID1() {
    return Next("BrowseDemoID1");
}
std::optional<std::string> ScriptedPlugInHost::BrowseDemoPatch() {
    return Next("BrowseDemoPatch");
}
std::optional<std::string> ScriptedPlugInHost::BrowseExecutableFile() {
    return Next("BrowseExecutableFile");
}

PlugInBench::PlugInBench()
    : previousDir(std::filesystem::current_path()),
      plugInDir(dir.MakeDir("PlugIns")),
      host((dir.Path() / "calls.log").string()) {
    // The recording plug-in works in the current directory.
    std::filesystem::current_path(dir.Path());
    ConfigureRecorder("");
    env.plugInDir = plugInDir;
    env.globals = &globals;
    env.executables = &executables;
    env.host = &host;
}

PlugInBench::~PlugInBench() {
    std::filesystem::current_path(previousDir);
}

void PlugInBench::ConfigureRecorder(const std::string& info, bool executeResult) const {
    std::ofstream(dir.Path() / "recorder.cfg")
        << "info=" << info << "\nexecute=" << (executeResult ? 1 : 0) << "\n";
}

std::string PlugInBench::LibraryName(const std::string& name) const {
    return name + std::string(platform::LibrarySuffix());
}

void PlugInBench::AddSample(const std::string& name) const {
    std::filesystem::copy_file(std::filesystem::path(FENMAR_TEST_PLUGIN_DIR) / LibraryName(name),
                               std::filesystem::path(plugInDir) / LibraryName(name));
}

void PlugInBench::AddFixture(const std::string& name) const {
    std::filesystem::copy_file(std::filesystem::path(FENMAR_TEST_FIXTURE_DIR) / LibraryName(name),
                               std::filesystem::path(plugInDir) / LibraryName(name));
}

PlugInIcon PlugInBench::ActivateFixture(TPlugIn& slot, const std::string& name) const {
    AddFixture(name);
    return ActivatePlugIn(slot, LibraryName(name));
}

std::vector<std::string> PlugInBench::TakeLog() {
    const auto path = dir.Path() / "calls.log";
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    in.close();
    std::filesystem::remove(path);
    return lines;
}

}  // namespace fenmar::test
