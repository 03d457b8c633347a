#pragma once
// Finding what is installed on this computer: the known Quake engines (by program name, in
// the usual install places) and the directories holding Quake's game data (Steam libraries,
// GOG/Heroic/Lutris folders, the system's and the engines' own folders). The search looks
// only where it is told by a DiscoveryEnvironment, so tests build whole fake homes; it skips
// what it cannot read, never follows a loop of links twice nor walks a link out of the folder
// it searches, and stops at fixed bounds of depth, entries and time.

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar {

struct DiscoveryEnvironment {
    // Put in front of the system's fixed places ("/usr/games" and the like); "" is the real
    // root. Home and the PATH directories are used as they are.
    std::string root;
    std::string home;      // the user's home directory; "" searches no home folders
    std::string pathList;  // PATH
    std::string pathExt;   // PATHEXT (Windows)
    bool windows = false;  // Windows places and program names (*.exe)
    std::vector<std::string> programFiles;  // Windows "Program Files" folders
    std::vector<std::string> steamRoots;    // further Steam folders (Windows: from the registry)

    // This process's environment on this system.
    static DiscoveryEnvironment FromProcess();
};

struct DiscoveryLimits {
    int maxDepth = 5;                           // below a searched base folder
    std::size_t maxEntries = 50000;             // directory entries looked at, in all
    std::size_t maxEntriesPerDirectory = 4096;  // of one directory below the game folders
    std::chrono::milliseconds timeLimit{4000};  // for one whole search
    const std::atomic<bool>* stop = nullptr;    // set from elsewhere: end the search early
};

struct FoundEngine {
    std::string name;     // readable, e.g. "vkQuake"
    std::string program;  // the known program name it was recognised as, e.g. "vkquake"
    std::string path;     // the full path of the program file
};

struct FoundInstallation {
    std::string path;   // the directory holding id1
    std::string where;  // readable origin, e.g. "Steam", "GOG/Heroic/Lutris"
};

// The known engine a program file name stands for, any case: "ironwail", "vkQuake.exe" (on
// Windows), "ironwail-0.8.0-x86_64.AppImage", a Flatpak export "io.github.x.ironwail". The
// readable name and the program name, or nullopt.
std::optional<FoundEngine> RecogniseEngine(const std::string& fileName, bool windows);

// Whether an engine reads maps from PK3 archives.
enum class Pk3Reading { Reads, DoesNot, MayNot };

// For the program of an executable row (its file: a name or a path, any case, with ".exe" or
// not): the known engines as their documentation says, "does not" for the programs of the
// built-in rows (DOS and Windows engines of the 1990s), "may not" for anything else.
Pk3Reading Pk3ReadingOf(std::string_view programFile);

// True when `dir` holds Quake's game data: an id1 folder with pak0.pak or progs.dat (any case).
bool HoldsGameData(const std::string& dir);

// Where the program of an executable row is, resolved as the launch resolves it
// (ResolveEngineProgram with this environment's PATH): the full path, or nullopt when it
// cannot be found.
std::optional<std::string> LocateProgram(const std::string& file, const std::string& quakePath,
                                         const DiscoveryEnvironment& env);

// The places searched for engines, in search order (PATH first, then the fixed places, then
// the Quake directory when given).
std::vector<std::string> EnginePlaces(const DiscoveryEnvironment& env,
                                      const std::string& quakePath);

// Runnable programs of the known engines in those places; one entry per program file (links
// to the same file count once), in search order.
std::vector<FoundEngine> FindEngines(const DiscoveryEnvironment& env, const std::string& quakePath,
                                     const DiscoveryLimits& limits = {});

// Directories holding game data; each directory once, in search order.
std::vector<FoundInstallation> FindQuakeInstallations(const DiscoveryEnvironment& env,
                                                      const DiscoveryLimits& limits = {});

}  // namespace fenmar
