#include "core/Discovery.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <system_error>

#include "core/DiscoveryWalk.h"
#include "core/EngineProgram.h"
#include "core/ExecutableTable.h"
#include "platform/FileSystem.h"
#include "platform/InstallPlaces.h"
#include "platform/ProgramSearch.h"

namespace fenmar {

namespace fs = std::filesystem;
using namespace discovery;  // the search pieces of core/DiscoveryWalk.h

namespace {

struct KnownEngine {
    const char* program;
    const char* name;
    // From the engine's own documentation; "may not" where it does not say or a version
    // still found in distributions does not.
    Pk3Reading pk3;
};

constexpr Pk3Reading kReads = Pk3Reading::Reads;
constexpr Pk3Reading kMayNot = Pk3Reading::MayNot;

// Longer program names first, so "quakespasm-spiked-…" is not taken for "quakespasm".
constexpr std::array<KnownEngine, 18> kKnownEngines{{
    {"darkplaces-dedicated", "DarkPlaces (dedicated server)", kReads},
    {"quakespasm-spiked", "QuakeSpasm-Spiked", kReads},
    {"darkplaces-sdl", "DarkPlaces (SDL)", kReads},
    {"darkplaces-glx", "DarkPlaces (GLX)", kReads},
    {"tyr-glquake", "TyrQuake (GL)", kMayNot},
    {"quakespasm", "QuakeSpasm", kMayNot},  // only its newer versions
    {"darkplaces", "DarkPlaces", kReads},
    {"fteqw-sdl", "FTEQW (SDL)", kReads},
    {"tyr-quake", "TyrQuake", kMayNot},
    {"fteqw-gl", "FTEQW (GL)", kReads},
    {"fteqw-vk", "FTEQW (Vulkan)", kReads},
    {"ironwail", "Ironwail", kMayNot},
    {"joequake", "JoeQuake", kMayNot},
    {"ezquake", "ezQuake", kReads},
    {"vkquake", "vkQuake", kMayNot},
    {"fteqw", "FTEQW", kReads},
    {"quake", "Quake (Debian's starter)", kMayNot},  // starts whichever engine is installed
    {"qss", "QuakeSpasm-Spiked", kReads},
}};

bool EndsWithIgnoringCase(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringAsciiCase(std::string_view(text).substr(text.size() - suffix.size()),
                                   suffix);
}

std::vector<std::string> PathDirectories(const DiscoveryEnvironment& env) {
    std::vector<std::string> dirs;
    const char separator = env.windows ? ';' : ':';
    std::size_t start = 0;
    const std::string& list = env.pathList;
    while (start <= list.size()) {
        std::size_t end = list.find(separator, start);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (end > start) {
            dirs.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return dirs;
}

}  // namespace

DiscoveryEnvironment DiscoveryEnvironment::FromProcess() {
    DiscoveryEnvironment env;
    env.home = platform::HomeDirectory();
    env.pathList = platform::GetEnvironment("PATH").value_or(std::string());
    env.pathExt = platform::GetEnvironment("PATHEXT").value_or(std::string());
    env.windows = platform::ProgramsHaveExeSuffix();
    env.programFiles = platform::ProgramFilesFolders();
    env.steamRoots = platform::RecordedSteamFolders();
    return env;
}

std::optional<FoundEngine> RecogniseEngine(const std::string& fileName, bool windows) {
    std::string name = AsciiLower(fileName);
    bool appImage = false;
    if (windows) {
        if (!EndsWithIgnoringCase(name, ".exe")) {
            return std::nullopt;
        }
        name.resize(name.size() - 4);
    } else if (EndsWithIgnoringCase(name, ".appimage")) {
        name.resize(name.size() - 9);
        appImage = true;
    } else if (const auto dot = name.rfind('.');
               dot != std::string::npos && dot > 0 && name.find('.') < dot) {
        // A Flatpak export is named after its application ID: "org.example.Engine".
        name = name.substr(dot + 1);
    }
    for (const KnownEngine& engine : kKnownEngines) {
        const std::string_view program = engine.program;
        const bool starter = program == "quake";
        if (starter && windows) {
            continue;  // quake.exe is the DOS game, one of the built-in rows
        }
        const bool exact = name == program;
        // An AppImage carries its version and machine after the name: "vkquake-1.31_x86_64".
        const bool versioned = appImage && !starter && name.size() > program.size() &&
                               name.compare(0, program.size(), program) == 0 &&
                               (name[program.size()] == '-' || name[program.size()] == '_' ||
                                name[program.size()] == '.');
        if (exact || versioned) {
            return FoundEngine{engine.name, engine.program, {}};
        }
    }
    return std::nullopt;
}

std::optional<std::string> LocateProgram(const std::string& file, const std::string& quakePath,
                                         const DiscoveryEnvironment& env) {
    // The same resolution the run button uses, so the editor never calls a row found that
    // would not start.
    EngineProgram program = ResolveEngineProgram(quakePath, file, env.pathList, env.pathExt);
    if (file.empty() || !program.found) {
        return std::nullopt;
    }
    return std::move(program.path);
}

std::vector<std::string> EnginePlaces(const DiscoveryEnvironment& env,
                                      const std::string& quakePath) {
    std::vector<std::string> places = PathDirectories(env);
    if (!env.windows) {
        places.push_back(SystemPlace(env, "/usr/games"));
        places.push_back(SystemPlace(env, "/usr/local/games"));
        places.push_back(SystemPlace(env, "/usr/local/bin"));
        places.push_back(SystemPlace(env, "/var/lib/flatpak/exports/bin"));
        if (!env.home.empty()) {
            places.push_back(Below(env.home, ".local/bin"));
            places.push_back(Below(env.home, "bin"));
            places.push_back(Below(env.home, "Applications"));
            places.push_back(Below(env.home, ".local/share/flatpak/exports/bin"));
        }
    }
    if (!quakePath.empty()) {
        places.push_back(quakePath);
    }
    return places;
}

std::vector<FoundEngine> FindEngines(const DiscoveryEnvironment& env, const std::string& quakePath,
                                     const DiscoveryLimits& limits) {
    Budget budget(limits);
    std::vector<FoundEngine> found;
    std::set<std::string> seenFiles;
    std::set<std::string> seenPlaces;
    const auto look = [&](const std::string& dir) {
        if (!IsDirectory(dir) || !seenPlaces.insert(Identity(dir)).second) {
            return;
        }
        for (const fs::path& entry : ListDirectory(dir, budget)) {
            const std::string path = entry.string();
            auto engine = RecogniseEngine(entry.filename().string(), env.windows);
            if (!engine || !platform::IsRunnableFile(path) ||
                !seenFiles.insert(Identity(path)).second) {
                continue;
            }
            engine->path = path;
            found.push_back(std::move(*engine));
        }
    };
    for (const std::string& place : EnginePlaces(env, quakePath)) {
        if (budget.Exhausted()) {
            return found;
        }
        look(place);
    }
    // On Windows engines live in folders of their own below Program Files.
    for (const std::string& programFiles : env.programFiles) {
        for (const fs::path& sub : ListDirectory(programFiles, budget)) {
            if (budget.Exhausted()) {
                return found;
            }
            look(sub.string());
        }
    }
    return found;
}

Pk3Reading Pk3ReadingOf(std::string_view programFile) {
    std::size_t start = programFile.size();
    while (start > 0 && !platform::IsSeparator(programFile[start - 1])) {
        --start;
    }
    const std::string fileName(programFile.substr(start));
    if (fileName.empty()) {
        return Pk3Reading::MayNot;
    }
    // The programs of the built-in rows came out before PK3 archives did.
    for (const ExecutableEntry& row : ExecutableTable::BuiltInRows()) {
        if (EqualsIgnoringAsciiCase(row.file, fileName)) {
            return Pk3Reading::DoesNot;
        }
    }
    const auto engine = RecogniseEngine(fileName, EndsWithIgnoringCase(fileName, ".exe"));
    if (engine) {
        for (const KnownEngine& known : kKnownEngines) {
            if (engine->program == known.program) {
                return known.pk3;
            }
        }
    }
    return Pk3Reading::MayNot;
}

}  // namespace fenmar
