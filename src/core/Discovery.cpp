#include "core/Discovery.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <system_error>

#include "core/ExecutableTable.h"
#include "core/LibraryFolders.h"
#include "platform/FileSystem.h"
#include "platform/InstallPlaces.h"
#include "platform/ProgramSearch.h"

namespace fenmar {

namespace fs = std::filesystem;

namespace {

struct KnownEngine {
    const char* program;
    const char* name;
};

// Longer program names first, so "quakespasm-spiked-…" is not taken for "quakespasm".
constexpr std::array<KnownEngine, 18> kKnownEngines{{
    {"darkplaces-dedicated", "DarkPlaces (dedicated server)"},
    {"quakespasm-spiked", "QuakeSpasm-Spiked"},
    {"darkplaces-sdl", "DarkPlaces (SDL)"},
    {"darkplaces-glx", "DarkPlaces (GLX)"},
    {"tyr-glquake", "TyrQuake (GL)"},
    {"quakespasm", "QuakeSpasm"},
    {"darkplaces", "DarkPlaces"},
    {"fteqw-sdl", "FTEQW (SDL)"},
    {"tyr-quake", "TyrQuake"},
    {"fteqw-gl", "FTEQW (GL)"},
    {"fteqw-vk", "FTEQW (Vulkan)"},
    {"ironwail", "Ironwail"},
    {"joequake", "JoeQuake"},
    {"ezquake", "ezQuake"},
    {"vkquake", "vkQuake"},
    {"fteqw", "FTEQW"},
    {"quake", "Quake (Debian's starter)"},
    {"qss", "QuakeSpasm-Spiked"},
}};

bool EndsWithIgnoringCase(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringAsciiCase(std::string_view(text).substr(text.size() - suffix.size()),
                                   suffix);
}

// Keeps one search within its bounds of entries and time.
class Budget {
public:
    explicit Budget(const DiscoveryLimits& limits)
        : limits_(limits), deadline_(std::chrono::steady_clock::now() + limits.timeLimit) {}

    // False once the search is to end; counts one more entry looked at.
    bool Spend() {
        if (exhausted_) {
            return false;
        }
        if (++entries_ > limits_.maxEntries ||
            (limits_.stop != nullptr && limits_.stop->load(std::memory_order_relaxed)) ||
            ((entries_ & 63U) == 0 && std::chrono::steady_clock::now() > deadline_)) {
            exhausted_ = true;
        }
        return !exhausted_;
    }
    bool Exhausted() {
        if (!exhausted_ && (std::chrono::steady_clock::now() > deadline_ ||
                            (limits_.stop != nullptr && limits_.stop->load()))) {
            exhausted_ = true;
        }
        return exhausted_;
    }
    int MaxDepth() const { return limits_.maxDepth; }

private:
    const DiscoveryLimits& limits_;
    std::chrono::steady_clock::time_point deadline_;
    std::size_t entries_ = 0;
    bool exhausted_ = false;
};

// The entries of one directory, sorted by name; nothing when it cannot be read.
std::vector<fs::path> ListDirectory(const std::string& dir, Budget& budget) {
    std::vector<fs::path> entries;
    std::error_code error;
    fs::directory_iterator it(fs::path(dir), fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (!budget.Spend()) {
            break;
        }
        entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// A path's target with every link resolved, to tell whether two names lead to one place;
// the path itself when that fails (dangling links, loops).
std::string Identity(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(fs::path(path), error);
    return error ? path : resolved.string();
}

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::path(path), error);  // false for dangling links and loops
}

std::string SystemPlace(const DiscoveryEnvironment& env, std::string_view place) {
    return env.root.empty() ? std::string(place) : platform::JoinPath(env.root, place.substr(1));
}

std::string Below(const std::string& dir, std::string_view relative) {
    return platform::JoinPath(dir, relative);
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
    } else if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0 &&
                                                 name.find('.') < dot) {
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

bool HoldsGameData(const std::string& dir) {
    const auto id1 = platform::FindEntryIgnoringCase(dir, "id1");
    if (!id1 || !platform::DirectoryExists(*id1)) {
        return false;
    }
    for (const char* file : {"pak0.pak", "progs.dat"}) {
        const auto found = platform::FindEntryIgnoringCase(*id1, file);
        if (found && platform::FileExists(*found)) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> LocateProgram(const std::string& file, const std::string& quakePath,
                                         const DiscoveryEnvironment& env) {
    if (file.empty()) {
        return std::nullopt;
    }
    if (platform::IsAbsolutePath(file)) {
        return platform::FileExists(file) ? std::optional<std::string>(file) : std::nullopt;
    }
    if (!quakePath.empty()) {
        const std::string inQuake = platform::JoinPath(quakePath, file);
        if (platform::FileExists(inQuake)) {
            return inQuake;
        }
        const bool bare = std::none_of(file.begin(), file.end(), platform::IsSeparator);
        if (bare) {
            if (auto found = platform::FindEntryIgnoringCase(quakePath, file);
                found && platform::FileExists(*found)) {
                return found;
            }
        }
    }
    return platform::FindProgramOnPath(file, env.pathList, env.pathExt);
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

std::vector<FoundInstallation> FindQuakeInstallations(const DiscoveryEnvironment& env,
                                                      const DiscoveryLimits& limits) {
    Budget budget(limits);
    std::vector<FoundInstallation> found;
    std::set<std::string> seen;
    const auto consider = [&](const std::string& dir, const char* where) {
        if (IsDirectory(dir) && HoldsGameData(dir) && seen.insert(Identity(dir)).second) {
            found.push_back({dir, where});
        }
    };

    // Steam: the client's folders, and every library they list.
    std::vector<std::string> steamRoots = env.steamRoots;
    if (!env.home.empty()) {
        steamRoots.push_back(Below(env.home, ".local/share/Steam"));
        steamRoots.push_back(Below(env.home, ".steam/steam"));
        steamRoots.push_back(Below(env.home, ".var/app/com.valvesoftware.Steam/.local/share/Steam"));
    }
    std::vector<std::string> libraries;
    std::set<std::string> seenLibraries;
    const auto addLibrary = [&](const std::string& library) {
        if (IsDirectory(library) && seenLibraries.insert(Identity(library)).second) {
            libraries.push_back(library);
        }
    };
    for (const std::string& steamRoot : steamRoots) {
        if (!IsDirectory(steamRoot)) {
            continue;
        }
        addLibrary(steamRoot);
        for (const char* list : {"steamapps/libraryfolders.vdf", "config/libraryfolders.vdf"}) {
            for (const std::string& library : ReadLibraryFolders(Below(steamRoot, list))) {
                addLibrary(library);
            }
        }
    }
    for (const std::string& library : libraries) {
        if (budget.Exhausted()) {
            return found;
        }
        const auto steamapps = platform::FindEntryIgnoringCase(library, "steamapps");
        const auto common =
            steamapps ? platform::FindEntryIgnoringCase(*steamapps, "common") : std::nullopt;
        const auto quake = common ? platform::FindEntryIgnoringCase(*common, "Quake") : std::nullopt;
        if (quake) {
            consider(*quake, "Steam");
            if (const auto rerelease = platform::FindEntryIgnoringCase(*quake, "rerelease")) {
                consider(*rerelease, "Steam (rerelease)");
            }
        }
    }

    // Game folders of GOG's installer, Heroic and Lutris: a bounded walk below each.
    if (!env.home.empty()) {
        std::set<std::string> walked;
        const auto walk = [&](const auto& self, const std::string& dir, int depth) -> void {
            if (depth > budget.MaxDepth() || budget.Exhausted() ||
                !walked.insert(Identity(dir)).second) {
                return;
            }
            consider(dir, "GOG/Heroic/Lutris");
            for (const fs::path& entry : ListDirectory(dir, budget)) {
                const std::string sub = entry.string();
                if (IsDirectory(sub)) {
                    self(self, sub, depth + 1);
                }
            }
        };
        for (const char* base : {"GOG Games", "Games"}) {
            const std::string dir = Below(env.home, base);
            if (IsDirectory(dir)) {
                walk(walk, dir, 0);
            }
        }
    }

    // The system's shared game folders and the engines' own folders.
    if (!env.windows) {
        consider(SystemPlace(env, "/usr/share/games/quake"), "system");
        consider(SystemPlace(env, "/usr/local/share/games/quake"), "system");
    }
    if (!env.home.empty()) {
        consider(Below(env.home, ".quakespasm"), "QuakeSpasm's folder");
        consider(Below(env.home, ".ironwail"), "Ironwail's folder");
        consider(Below(env.home, ".vkquake"), "vkQuake's folder");
    }
    return found;
}

}  // namespace fenmar
