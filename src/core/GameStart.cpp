#include "core/GameStart.h"

#include "platform/FileSystem.h"

namespace fenmar {

platform::StartRequest GameStartRequest(const Globals& globals, const ExecutableTable& table,
                                        const std::optional<std::string>& shownExecutable,
                                        const std::string& line) {
    const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
    std::string program = quakePath.empty() ? std::string() : platform::JoinPath(quakePath, "");
    if (shownExecutable && !shownExecutable->empty()) {
        program += ExecutableFileOf(table, *shownExecutable);
    }
    platform::StartRequest request;
    request.program = program;
    // The line starts with the program as composed; the program is never re-read from the
    // line, so blanks in the Quake directory cannot start anything else.
    const std::string rest = line.rfind(program, 0) == 0 ? line.substr(program.size()) : line;
    request.args = platform::SplitCommandLine(rest);
    request.workingDirectory = quakePath;
    request.consoleTitle = kGameConsoleTitle;
    request.commandLine = line;
    return request;
}

platform::StartRequest CompanionStartRequest(const std::string& line) {
    platform::StartRequest request;
    auto words = platform::SplitCommandLine(line);
    if (!words.empty()) {
        request.program = words.front();
        request.args.assign(words.begin() + 1, words.end());
    }
    request.searchPath = true;
    request.commandLine = line;
    return request;
}

void DeleteConfigFiles(const Globals& globals) {
    const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
    const auto deleteIn = [](const std::string& dir) {
        const std::string file = platform::ResolveIgnoringCase(dir, "config.cfg");
        if (platform::FileExists(file)) {
            platform::RemoveFile(file);
        }
    };
    if (globals.DeleteConfigs & kDeleteInId1) {
        deleteIn(platform::ResolveIgnoringCase(quakePath, "id1"));
    }
    const std::string patch = globals.Profile.Text(TextField::GamePatch);
    if ((globals.DeleteConfigs & kDeleteInPatch) && IsSet(patch)) {
        deleteIn(platform::JoinPath(quakePath, patch));
    }
}

}  // namespace fenmar
