#include "plugins/PlugInSettings.h"

#include "store/PlugInKeys.h"
#include "store/RegistryHandling.h"

namespace fenmar {

namespace {
std::string PlugInKeyPath(std::string_view base, const std::string& description) {
    return store::JoinKeyPath(store::JoinKeyPath(base, kPlugInSettingsKey), description);
}
}  // namespace

std::string SettingsBaseKey(std::string_view quickSetName) {
    if (quickSetName.empty()) {
        return std::string(store::kFenmarRoot);
    }
    return store::JoinKeyPath(store::JoinKeyPath(store::kFenmarRoot, "QuickSets"), quickSetName);
}

void SavePlugInSettings(TPlugIn& slot, store::Store& store, std::string_view base) {
    const store::Key general = store::CreateKey(store, store::JoinKeyPath(base, "General"));
    store::RegWriteString(general, kCurrentPlugInValue, slot.FileName());
    store.DeleteKey(store::JoinKeyPath(base, kPlugInSettingsKey));
    if (!slot.IsLoaded()) {
        return;
    }
    const std::string description = slot.Description();
    const store::Key key = store::CreateKey(store, PlugInKeyPath(base, description));
    const store::PlugInKey handle(key);
    if (handle) {
        slot.SaveSettings(handle.Get());
    }
}

std::string StoredPlugInName(store::Store& store, std::string_view base) {
    return store::RegReadString(store::OpenKey(store, store::JoinKeyPath(base, "General")),
                                kCurrentPlugInValue);
}

bool RestorePlugInSettings(TPlugIn& slot, store::Store& store, std::string_view base) {
    const std::string description = slot.Description();
    const store::Key key = store::OpenKey(store, PlugInKeyPath(base, description));
    const store::PlugInKey handle(key);
    if (!handle) {
        return false;
    }
    slot.RestoreSettings(handle.Get());
    return true;
}

PlugInIcon LoadStoredPlugIn(TPlugIn& slot, store::Store& store, std::string_view base) {
    std::string name = StoredPlugInName(store, base);
    if (name.empty()) {
        name = std::string(kNone);
    }
    PlugInIcon icon = ActivatePlugIn(slot, name);
    RestorePlugInSettings(slot, store, base);
    return icon;
}

}  // namespace fenmar
