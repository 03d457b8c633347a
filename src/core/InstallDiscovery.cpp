// Finding directories that hold Quake's game data.
#include <filesystem>
#include <set>

#include "core/Discovery.h"  // IWYU pragma: associated
#include "core/DiscoveryWalk.h"
#include "core/ExecutableTable.h"
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

    // Game folders of GOG's installer, Heroic and Lutris: a bounded walk below each, level
    // by level (game data sits near the top), each folder with an equal share of what is
    // left of the budget and each directory listed only so far, so that one huge folder
    // cannot hide the rest. Links that lead out of the folder being searched are looked at
    // but not walked, and never a Wine prefix's drive letters ("dosdevices": z: is "/").
    if (!env.home.empty()) {
        std::set<std::string> walked;
        const std::vector<std::string> bases = {Below(env.home, "GOG Games"),
                                                Below(env.home, "Games")};
        for (std::size_t b = 0; b < bases.size(); ++b) {
            const std::string& base = bases[b];
            if (!IsDirectory(base)) {
                continue;
            }
            const std::string baseIdentity = Identity(base);
            std::size_t share = budget.Left() / (bases.size() - b);
            // A folder is looked at when it is found, before anything deeper is listed.
            consider(base, "GOG/Heroic/Lutris");
            std::vector<std::string> level = {base};
            for (int depth = 0; depth < budget.MaxDepth() && !level.empty(); ++depth) {
                std::vector<std::string> next;
                for (const std::string& dir : level) {
                    if (budget.Exhausted() || share == 0) {
                        break;
                    }
                    if (!walked.insert(Identity(dir)).second) {
                        continue;
                    }
                    for (const Subdirectory& sub :
                         ListSubdirectories(dir, budget, share, limits.maxEntriesPerDirectory)) {
                        if (EqualsIgnoringAsciiCase(sub.path.filename().string(), "dosdevices")) {
                            continue;
                        }
                        const std::string path = sub.path.string();
                        consider(path, "GOG/Heroic/Lutris");
                        if (!sub.link || LiesWithin(Identity(path), baseIdentity)) {
                            next.push_back(path);
                        }
                    }
                }
                level = std::move(next);
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
