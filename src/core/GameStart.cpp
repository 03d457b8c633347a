#include "core/GameStart.h"

#include "platform/FileSystem.h"

namespace fenmar {

platform::StartRequest GameStartRequest(const ComposedLaunch& launch) {
    platform::StartRequest request;
    if (!launch.hasExecutable) {
        return request;  // nothing to start
    }
    request.program = launch.program.path;
    // The program is never re-read from the line, so blanks in its directory cannot start
    // anything else.
    const std::string& line = launch.line;
    const std::string rest =
        line.rfind(launch.programText, 0) == 0 ? line.substr(launch.programText.size()) : line;
    request.args = platform::SplitCommandLine(rest);
    request.workingDirectory = launch.workingDirectory;
    request.consoleTitle = kGameConsoleTitle;
    request.commandLine = line;
    return request;
}

std::optional<std::string> MissingProgramMessage(const ComposedLaunch& launch) {
    if (!launch.hasExecutable || launch.program.found) {
        return std::nullopt;
    }
    return "The program of the executable \"" + launch.executableName + "\" cannot be found:\n" +
           launch.program.path;
}

platform::StartRequest CompanionStartRequest(const std::string& line) {
    platform::StartRequest request;
    auto companion = ResolveCompanionProgram(line);
    if (companion.program) {
        request.program = std::move(*companion.program);
        request.args = std::move(companion.args);
    }
    request.commandLine = line;
    return request;
}

void DeleteConfigFiles(const Globals& globals) {
    const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
    if (quakePath.empty()) {
        return;
    }
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
