#include "core/EngineProgram.h"

#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/ProgramSearch.h"

namespace fenmar {

namespace {

bool HasSeparator(std::string_view name) {
    for (const char c : name) {
        if (platform::IsSeparator(c)) {
            return true;
        }
    }
    return false;
}

std::string TrimTrailingSeparators(std::string path) {
    // Keep a root ("/", "C:\") whole.
    while (path.size() > 1 && platform::IsSeparator(path.back()) &&
           !(path.size() == 3 && path[1] == ':')) {
        path.pop_back();
    }
    return path;
}

// True when `program` lies below `directory`, both absolute, compared by their parts.
bool LiesBelow(const std::string& program, const std::string& directory) {
    if (directory.empty()) {
        return false;
    }
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(directory).lexically_normal();
    const fs::path file = fs::path(program).lexically_normal();
    const fs::path relative = file.lexically_relative(dir);
    return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

}  // namespace

std::string AbsolutePathOf(std::string_view path) {
    if (path.empty() || platform::IsAbsolutePath(path)) {
        return std::string(path);
    }
    std::error_code error;
    const auto absolute =
        std::filesystem::absolute(std::filesystem::path(std::string(path)), error);
    return error ? std::string(path) : absolute.string();
}

std::string BaseDirectoryOf(std::string_view quakePath) {
    return TrimTrailingSeparators(AbsolutePathOf(quakePath));
}

EngineProgram ResolveEngineProgram(std::string_view quakePath, std::string_view file,
                                   std::string_view pathList, std::string_view pathExt) {
    EngineProgram result;
    const std::string base = BaseDirectoryOf(quakePath);
    if (platform::IsAbsolutePath(file)) {
        result.place = ProgramPlace::AbsolutePath;
        result.path = std::string(file);
        result.found = platform::IsRunnableFile(result.path);
        result.insideQuakeDirectory = LiesBelow(result.path, base);
        return result;
    }
    const std::string inDirectory =
        quakePath.empty() ? std::string(file) : platform::JoinPath(AbsolutePathOf(quakePath), file);
    if (!file.empty() && platform::FileExists(inDirectory)) {
        result.path = inDirectory;
        result.found = true;
        return result;
    }
    if (!file.empty() && !HasSeparator(file)) {
        if (auto onPath = platform::FindProgramOnPath(file, pathList, pathExt)) {
            result.place = ProgramPlace::OnPath;
            result.path = std::move(*onPath);
            result.found = true;
            result.insideQuakeDirectory = LiesBelow(result.path, base);
            return result;
        }
    }
    result.path = inDirectory;  // a file of the Quake directory that is not there
    return result;
}

EngineProgram ResolveEngineProgram(std::string_view quakePath, std::string_view file) {
    const auto path = platform::GetEnvironment("PATH");
    const auto ext = platform::GetEnvironment("PATHEXT");
    return ResolveEngineProgram(quakePath, file, path.value_or(std::string()),
                                ext.value_or(std::string()));
}

CompanionProgram ResolveCompanionProgram(std::string_view text, std::string_view pathList,
                                         std::string_view pathExt) {
    const auto lookUp = [&](const std::string& word) -> std::optional<std::string> {
        if (word.empty()) {
            return std::nullopt;
        }
        if (HasSeparator(word) || platform::IsAbsolutePath(word)) {
            const std::string path = AbsolutePathOf(word);
            if (platform::IsRunnableFile(path)) {
                return path;
            }
            return std::nullopt;
        }
        return platform::FindProgramOnPath(word, pathList, pathExt);
    };
    CompanionProgram result;
    const std::string whole(text);
    if (whole.find(' ') != std::string::npos && whole.find('"') == std::string::npos) {
        if ((result.program = lookUp(whole))) {
            return result;
        }
    }
    auto words = platform::SplitCommandLine(text);
    if (words.empty()) {
        return result;
    }
    result.program = lookUp(words.front());
    if (result.program) {
        result.args.assign(words.begin() + 1, words.end());
    }
    return result;
}

CompanionProgram ResolveCompanionProgram(std::string_view text) {
    const auto path = platform::GetEnvironment("PATH");
    const auto ext = platform::GetEnvironment("PATHEXT");
    return ResolveCompanionProgram(text, path.value_or(std::string()), ext.value_or(std::string()));
}

}  // namespace fenmar
