#pragma once
// The options that hold for every Quick-Set, as they lie in the settings store below the
// program's root key: "Internal", "Executables", "Global params", "MRUs\{Patches,Demos,
// Server}" and "QuickSets" ("CurrentSelected"), plus the import of the older layout.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ExecutableTable.h"
#include "core/Globals.h"
#include "core/QuickSetLayout.h"
#include "store/Store.h"

namespace fenmar {

inline constexpr std::string_view kSettingsAuthor = "Ardwell";
inline constexpr std::string_view kSettingsVersion = "1.30";
inline constexpr std::int32_t kMinBSPSizeLow = 0;
inline constexpr std::int32_t kMinBSPSizeHigh = 100;
inline constexpr std::int32_t kMinBSPSizeDefault = 20;

// The recent lists: their keys below "MRUs" and how many numbered entries are read.
struct RecentListKey {
    std::string_view name;
    int limit;
};
inline constexpr RecentListKey kRecentPatches{"Patches", 20};
inline constexpr RecentListKey kRecentDemos{"Demos", 20};
inline constexpr RecentListKey kRecentServers{"Server", 50};

// --- Import of the older layout ----------------------------------------------------------

// True when the root key exists and its "Version" sorts below "1.30", byte by byte (an
// absent "Version" does; "1.4" does not).
bool SettingsNeedUpgrade(store::Store& store);

// Finds the executable name for a file, asking the user when needed.
using ResolveExecutable = std::function<std::string(const std::string& file)>;

// Converts one profile (root key + `suffix`) from the older layout: the protocol and
// dedicated flags pick one of the three old executable paths, which becomes "Executable";
// "PlayMode"/"TeamplayMode" are copied to "Deathmatch"/"Teamplay"; "HostName" is set to
// `hostName`. A key without any old-layout value is left alone; an old value that is missing
// writes nothing in its place, and an empty executable path keeps the stored "Executable"
// without asking.
void UpgradeSettingsKey(store::Store& store, std::string_view suffix, const std::string& hostName,
                        const ResolveExecutable& resolve);
// The working profile, then every Quick-Set: all questions first, then every change and
// "Version" in one transaction, so an interrupted start converts again or not at all.
void UpgradeAllSettings(store::Store& store, const std::string& hostName,
                        const ResolveExecutable& resolve);

// --- Reading ------------------------------------------------------------------------------

struct InternalOptions {
    std::string quakePath;
    std::string patchPath;
    std::string qSpyExecutable;
    std::int32_t deleteConfigs = 0;                // as stored; an absent value reads as 0
    std::int32_t minBSPSize = kMinBSPSizeDefault;  // clamped into 0..100, absent: 20
    bool dontScanBSPMsgs = false;
};
// Nothing when "Internal" does not exist.
std::optional<InternalOptions> ReadInternalOptions(store::Store& store);
// A stored size threshold made usable: absent (-1 from the store) gives 20, anything else is
// clamped into 0..100.
std::int32_t ClampMinBSPSize(std::int32_t stored, bool present);

// The deletion mask after one of its four boxes changed: `bit` set or cleared; without a
// location (bits 1 and 2 both clear) the "when?" bits 4 and 8 are cleared too.
std::int32_t DeleteConfigMaskWith(std::int32_t mask, std::int32_t bit, bool on);
// Whether the "when?" boxes are usable: a location is chosen.
bool DeleteConfigHasLocation(std::int32_t mask);

// Every value of "Executables" with a non-empty name, in the store's order; nothing when the
// key does not exist.
std::optional<std::vector<ExecutableEntry>> ReadExecutables(store::Store& store);

bool DefaultQuickSetExists(store::Store& store);
void WriteCurrentSelected(store::Store& store, std::int32_t index);

// Appends the stored global parameters (no uniqueness test, no limit); false when the key
// does not exist.
bool ReadGlobalParams(store::Store& store, std::vector<std::string>& target);
// Appends a stored recent list to `target`, skipping entries `target` holds (ignoring case)
// and reading at most `which.limit` numbered entries; false when the key does not exist.
bool ReadRecentList(store::Store& store, RecentListKey which, std::vector<std::string>& target);

struct QuickSetChoice {
    std::vector<std::string> names;  // subkeys of "QuickSets", in the store's order
    std::int32_t selected = -1;      // "CurrentSelected" as stored (-1 when absent)
};
// Nothing when "QuickSets" does not exist.
std::optional<QuickSetChoice> ReadQuickSetChoice(store::Store& store);

// --- Writing ------------------------------------------------------------------------------

struct GlobalSettingsData {
    std::string quakePath;
    std::string patchPath;
    std::string qSpyExecutable;
    std::int32_t deleteConfigs = 0;
    std::int32_t minBSPSize = kMinBSPSizeDefault;
    bool dontScanBSPMsgs = false;
    std::vector<ExecutableEntry> executables;
    std::vector<std::string> globalParams;
    std::vector<std::string> recentPatches;
    std::vector<std::string> recentDemos;
    std::vector<std::string> recentServers;
    std::int32_t currentSelected = -1;
};

// Writes "Author" and "Version" below the root key (the layout in force).
void WriteSettingsVersion(store::Store& store);
// The first start's "<default>" from the live profile, "CurrentSelected" = 0 and "Version",
// in one transaction.
void CreateDefaultQuickSet(store::Store& store, const Globals& globals,
                           const std::vector<std::string>& additionalParams, ProfilePlugIn* plugIn);

// Writes "Author" and "Version", "Internal", "Executables" (rewritten whole), "Global params",
// "MRUs" (rewritten whole) and "CurrentSelected". The caller wraps this and the working
// profile in one transaction.
void WriteGlobalSettings(store::Store& store, const GlobalSettingsData& data);
// The global options and the working profile in one transaction: another copy of the
// program, or the next start after a crash, sees the previous settings or the new ones
// whole. False when the store did not take them.
bool SaveAllSettings(store::Store& store, const GlobalSettingsData& data, const Globals& globals,
                     const std::vector<std::string>& additionalParams, ProfilePlugIn* plugIn);

}  // namespace fenmar
