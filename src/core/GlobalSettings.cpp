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

void UpgradeSettingsKey(store::Store& store, std::string_view suffix, const std::string& hostName,
                        const ResolveExecutable& resolve) {
    const std::string base = std::string(store::kFenmarRoot) + std::string(suffix);
    bool viaBatch = false;
    if (const Key network = OpenKey(store, JoinKeyPath(base, "Network"))) {
        viaBatch = store::RegReadBool(network, "EnableWin95TCP/IP");
        store.DeleteValue(network.Path(), "EnableWin95TCP/IP");
    }
    bool dedicated = false;
    if (const Key multiplayer = OpenKey(store, JoinKeyPath(base, "Multiplayer"))) {
        dedicated = store::RegReadBool(multiplayer, "UseDedicatedExe");
        store.DeleteValue(multiplayer.Path(), "UseDedicatedExe");
        store::RegWriteInteger(multiplayer, "Deathmatch",
                               store::RegReadInteger(multiplayer, "PlayMode"));
        store::RegWriteInteger(multiplayer, "Teamplay",
                               store::RegReadInteger(multiplayer, "TeamplayMode"));
        store::RegWriteString(multiplayer, "HostName", hostName);
    }
    const Key general = OpenKey(store, JoinKeyPath(base, "General"));
    if (!general) {
        return;
    }
    const std::string quakeExe = store::RegReadString(general, "QuakeExe");
    const std::string quakeBat = store::RegReadString(general, "QuakeBat");
    const std::string dedicatedExe = store::RegReadString(general, "DedicatedExe");
    for (const char* name : {"QuakeExe", "QuakeBat", "DedicatedExe"}) {
        store.DeleteValue(general.Path(), name);
    }
    const std::string& chosen = viaBatch ? quakeBat : (dedicated ? dedicatedExe : quakeExe);
    store::RegWriteString(general, "Executable", resolve ? resolve(chosen) : std::string());
}

void UpgradeAllSettings(store::Store& store, const std::string& hostName,
                        const ResolveExecutable& resolve) {
    UpgradeSettingsKey(store, "", hostName, resolve);
    const std::string quickSets = RootPath(kQuickSetsKey);
    if (!store.KeyExists(quickSets)) {
        return;
    }
    std::vector<std::string> names;
    store.EnumSubkeys(quickSets, names);
    for (const std::string& name : names) {
        UpgradeSettingsKey(store, "\\" + std::string(kQuickSetsKey) + "\\" + name, hostName,
                           resolve);
    }
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
    const Key root = CreateKey(store, store::kFenmarRoot);
    store::RegWriteString(root, "Author", kSettingsAuthor);
    store::RegWriteString(root, "Version", kSettingsVersion);

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

}  // namespace fenmar
