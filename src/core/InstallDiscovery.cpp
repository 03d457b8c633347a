// Finding directories that hold Quake's game data.
#include <filesystem>
#include <set>

#include "core/Discovery.h"  // IWYU pragma: associated
#include "core/DiscoveryWalk.h"
#include "core/LibraryFolders.h"
#include "platform/FileSystem.h"

namespace fenmar {

namespace fs = std::filesystem;
using namespace discovery;  // the search pieces of core/DiscoveryWalk.h

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
        steamRoots.push_back(
            Below(env.home, ".var/app/com.valvesoftware.Steam/.local/share/Steam"));
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
        const auto quake =
            common ? platform::FindEntryIgnoringCase(*common, "Quake") : std::nullopt;
        if (quake) {
            consider(*quake, "Steam");
            if (const auto rerelease = platform::FindEntryIgnoringCase(*quake, "rerelease")) {
                consider(*rerelease, "Steam, rerelease");
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
