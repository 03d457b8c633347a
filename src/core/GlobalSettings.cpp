#include "core/GlobalSettings.h"

#include "core/Globals.h"
#include "core/QuickSetLayout.h"
#include "store/RegistryHandling.h"

namespace fenmar {

namespace {

using store::CreateKey;
using store::JoinKeyPath;
using store::Key;
using store::OpenKey;

std::string RootPath(std::string_view sub) {
    return JoinKeyPath(store::kFenmarRoot, sub);
}

std::string RecentListPath(RecentListKey which) {
    return JoinKeyPath(RootPath("MRUs"), which.name);
}

}  // namespace

bool SettingsNeedUpgrade(store::Store& store) {
    const Key root = OpenKey(store, store::kFenmarRoot);
    if (!root) {
        return false;  // first run: nothing to import
    }
    return store::RegReadString(root, "Version") < kSettingsVersion;
}

namespace {

bool HasValue(store::Store& store, const std::string& path, std::string_view name) {
    store::ValueData data;
    return store.QueryValue(path, name, data) == store::Status::Ok;
}

// What one profile key holds of the older layout, read before anything is changed.
struct OldLayout {
    std::string base;
    bool network = false;  // "Network" holds "EnableWin95TCP/IP"
    bool viaBatch = false;
    bool multiplayer = false;  // "Multiplayer" holds one of the old values
    bool dedicated = false;
    bool playMode = false;
    bool teamplayMode = false;
    bool general = false;  // "General" holds one of the three old executable paths
    std::string chosenFile;

    bool Any() const { return network || multiplayer || general; }
};

OldLayout ReadOldLayout(store::Store& store, std::string base) {
    OldLayout old;
    old.base = std::move(base);
    const std::string network = JoinKeyPath(old.base, "Network");
    if (HasValue(store, network, "EnableWin95TCP/IP")) {
        old.network = true;
        old.viaBatch = store::RegReadBool(store, network, "EnableWin95TCP/IP");
    }
    const std::string multiplayer = JoinKeyPath(old.base, "Multiplayer");
    old.playMode = HasValue(store, multiplayer, "PlayMode");
    old.teamplayMode = HasValue(store, multiplayer, "TeamplayMode");
    const bool dedicatedStored = HasValue(store, multiplayer, "UseDedicatedExe");
    old.dedicated = dedicatedStored && store::RegReadBool(store, multiplayer, "UseDedicatedExe");
    old.multiplayer = old.playMode || old.teamplayMode || dedicatedStored;
    const std::string general = JoinKeyPath(old.base, "General");
    std::string files[3];
    const char* names[3] = {"QuakeExe", "QuakeBat", "DedicatedExe"};
    for (int i = 0; i < 3; ++i) {
        if (HasValue(store, general, names[i])) {
            old.general = true;
            files[i] = store::RegReadString(store, general, names[i]);
        }
    }
    old.chosenFile = old.viaBatch ? files[1] : (old.dedicated ? files[2] : files[0]);
    return old;
}

// Writes the converted profile. `executable`: the name found for the chosen file, nothing to
// keep the stored "Executable".
void ApplyOldLayout(store::Store& store, const OldLayout& old, const std::string& hostName,
                    const std::optional<std::string>& executable) {
    if (old.network) {
        store.DeleteValue(JoinKeyPath(old.base, "Network"), "EnableWin95TCP/IP");
    }
    if (old.multiplayer) {
        const Key multiplayer = OpenKey(store, JoinKeyPath(old.base, "Multiplayer"));
        store.DeleteValue(multiplayer.Path(), "UseDedicatedExe");
        // An old value that is missing leaves the new one alone: no -1 for a rule.
        if (old.playMode) {
            store::RegWriteInteger(multiplayer, "Deathmatch",
                                   store::RegReadInteger(multiplayer, "PlayMode"));
        }
        if (old.teamplayMode) {
            store::RegWriteInteger(multiplayer, "Teamplay",
                                   store::RegReadInteger(multiplayer, "TeamplayMode"));
        }
        store::RegWriteString(multiplayer, "HostName", hostName);
    }
    if (old.general) {
        const Key general = OpenKey(store, JoinKeyPath(old.base, "General"));
        for (const char* name : {"QuakeExe", "QuakeBat", "DedicatedExe"}) {
            store.DeleteValue(general.Path(), name);
        }
        if (executable) {
            store::RegWriteString(general, "Executable", *executable);
        }
    }
}

std::optional<std::string> ResolveOld(const OldLayout& old, const ResolveExecutable& resolve) {
    // An empty path names no program: nothing to ask, the stored "Executable" stays.
    if (!old.general || old.chosenFile.empty() || !resolve) {
        return std::nullopt;
    }
    return resolve(old.chosenFile);
}

}  // namespace

void UpgradeSettingsKey(store::Store& store, std::string_view suffix, const std::string& hostName,
                        const ResolveExecutable& resolve) {
    const OldLayout old =
        ReadOldLayout(store, std::string(store::kFenmarRoot) + std::string(suffix));
    if (!old.Any()) {
        return;
    }
    ApplyOldLayout(store, old, hostName, ResolveOld(old, resolve));
}

void UpgradeAllSettings(store::Store& store, const std::string& hostName,
                        const ResolveExecutable& resolve) {
    std::vector<OldLayout> found;
    found.push_back(ReadOldLayout(store, std::string(store::kFenmarRoot)));
    const std::string quickSets = RootPath(kQuickSetsKey);
    std::vector<std::string> names;
    if (store.KeyExists(quickSets)) {
        store.EnumSubkeys(quickSets, names);
    }
    for (const std::string& name : names) {
        found.push_back(ReadOldLayout(store, JoinKeyPath(quickSets, name)));
    }
    // The questions come first, so the store is not held while the user answers them.
    std::vector<std::optional<std::string>> executables;
    for (const OldLayout& old : found) {
        executables.push_back(old.Any() ? ResolveOld(old, resolve) : std::nullopt);
    }
    store::Transaction transaction(store);
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i].Any()) {
            ApplyOldLayout(store, found[i], hostName, executables[i]);
        }
    }
    // Marked as converted in the same step: a later start does not convert again.
    WriteSettingsVersion(store);
    transaction.Commit();
}

std::int32_t ClampMinBSPSize(std::int32_t stored, bool present) {
    if (!present) {
        return kMinBSPSizeDefault;
    }
    return stored < kMinBSPSizeLow ? kMinBSPSizeLow
                                   : (stored > kMinBSPSizeHigh ? kMinBSPSizeHigh : stored);
}

std::optional<InternalOptions> ReadInternalOptions(store::Store& store) {
    const Key key = OpenKey(store, RootPath("Internal"));
    if (!key) {
        return std::nullopt;
    }
    InternalOptions options;
    options.quakePath = store::RegReadString(key, "Quake Path");
    options.patchPath = store::RegReadString(key, "Patch Path");
    options.qSpyExecutable = store::RegReadString(key, "QSpy executable");
    const std::int32_t mask = store::RegReadInteger(key, "Delete CONFIG.CFGs");
    options.deleteConfigs = mask == -1 ? 0 : mask;
    // Any 4-byte value is a number, -1 included: only a missing one means "not stored".
    store::ValueData size;
    const bool present = store.QueryValue(key.Path(), "MinBSPSize", size) == store::Status::Ok &&
                         size.bytes.size() == 4;
    options.minBSPSize = ClampMinBSPSize(store::RegReadInteger(key, "MinBSPSize"), present);
    options.dontScanBSPMsgs = store::RegReadBool(key, "DontScanBSPMsgs");
    return options;
}

bool DeleteConfigHasLocation(std::int32_t mask) {
    return (mask & (kDeleteInId1 | kDeleteInPatch)) != 0;
}

std::int32_t DeleteConfigMaskWith(std::int32_t mask, std::int32_t bit, bool on) {
    mask = on ? (mask | bit) : (mask & ~bit);
    if (!DeleteConfigHasLocation(mask)) {
        mask &= ~(kDeleteOnLaunch | kDeleteOnExit);
    }
    return mask;
}

std::optional<std::vector<ExecutableEntry>> ReadExecutables(store::Store& store) {
    const std::string path = RootPath("Executables");
    std::vector<store::NamedValue> values;
    if (!store.KeyExists(path) || store.EnumValues(path, values) != store::Status::Ok) {
        return std::nullopt;
    }
    std::vector<ExecutableEntry> entries;
    for (const store::NamedValue& value : values) {
        if (value.name.empty()) {
            continue;
        }
        // Read through the typed layer, so a text comes back as RegReadString gives it.
        entries.push_back({value.name, store::RegReadString(store, path, value.name)});
    }
    return entries;
}

bool DefaultQuickSetExists(store::Store& store) {
    return store.KeyExists(ProfileKey(kDefaultQuickSet));
}

void WriteCurrentSelected(store::Store& store, std::int32_t index) {
    store::RegWriteInteger(CreateKey(store, RootPath(kQuickSetsKey)), kCurrentSelectedValue, index);
}

bool ReadGlobalParams(store::Store& store, std::vector<std::string>& target) {
    const Key key = OpenKey(store, RootPath("Global params"));
    if (!key) {
        return false;
    }
    store::RegReadStringList(key, target);
    return true;
}

bool ReadRecentList(store::Store& store, RecentListKey which, std::vector<std::string>& target) {
    const Key key = OpenKey(store, RecentListPath(which));
    if (!key) {
        return false;
    }
    store::RegReadStringList(key, target, true, which.limit);
    return true;
}

std::optional<QuickSetChoice> ReadQuickSetChoice(store::Store& store) {
    const Key key = OpenKey(store, RootPath(kQuickSetsKey));
    if (!key) {
        return std::nullopt;
    }
    QuickSetChoice choice;
    store.EnumSubkeys(key.Path(), choice.names);
    choice.selected = store::RegReadInteger(key, kCurrentSelectedValue);
    return choice;
}

void WriteGlobalSettings(store::Store& store, const GlobalSettingsData& data) {
    WriteSettingsVersion(store);

    const Key internal = CreateKey(store, RootPath("Internal"));
    store::RegWriteString(internal, "Quake Path", data.quakePath);
    store::RegWriteString(internal, "Patch Path", data.patchPath);
    store::RegWriteString(internal, "QSpy executable", data.qSpyExecutable);
    store::RegWriteInteger(internal, "Delete CONFIG.CFGs", data.deleteConfigs);
    store::RegWriteInteger(internal, "MinBSPSize", data.minBSPSize);
    store::RegWriteBool(internal, "DontScanBSPMsgs", data.dontScanBSPMsgs);

    const std::string executablesPath = RootPath("Executables");
    store.DeleteKey(executablesPath);
    const Key executables = CreateKey(store, executablesPath);
    for (const ExecutableEntry& entry : data.executables) {
        store::RegWriteString(executables, entry.name, entry.file);
    }

    store::RegWriteStringList(CreateKey(store, RootPath("Global params")), data.globalParams);

    store.DeleteKey(RootPath("MRUs"));
    store::RegWriteStringList(CreateKey(store, RecentListPath(kRecentPatches)), data.recentPatches);
    store::RegWriteStringList(CreateKey(store, RecentListPath(kRecentDemos)), data.recentDemos);
    store::RegWriteStringList(CreateKey(store, RecentListPath(kRecentServers)), data.recentServers);

    WriteCurrentSelected(store, data.currentSelected);
}

void WriteSettingsVersion(store::Store& store) {
    // "Author" first, as every save writes them: the root's values keep one order.
    const Key root = CreateKey(store, store::kFenmarRoot);
    store::RegWriteString(root, "Author", kSettingsAuthor);
    store::RegWriteString(root, "Version", kSettingsVersion);
}

void CreateDefaultQuickSet(store::Store& store, const Globals& globals,
                           const std::vector<std::string>& additionalParams,
                           ProfilePlugIn* plugIn) {
    store::Transaction transaction(store);
    SaveQuickSet(store, kDefaultQuickSet, globals, additionalParams, plugIn);
    WriteCurrentSelected(store, 0);
    WriteSettingsVersion(store);
    transaction.Commit();
}

bool SaveAllSettings(store::Store& store, const GlobalSettingsData& data, const Globals& globals,
                     const std::vector<std::string>& additionalParams, ProfilePlugIn* plugIn) {
    store::Transaction transaction(store);
    WriteGlobalSettings(store, data);
    SaveQuickSet(store, "", globals, additionalParams, plugIn);
    return transaction.Commit();
}

}  // namespace fenmar
