#include "core/StoredLaunch.h"

#include <algorithm>

#include "core/GlobalSettings.h"

namespace fenmar {

namespace {
constexpr std::uint8_t kPlayback = 1;
constexpr std::uint8_t kRecord = 2;
constexpr std::uint8_t kMinPlayers = 1;
constexpr std::uint8_t kMaxPlayers = 16;
}  // namespace

void ReadStoredOptions(store::Store& store, LaunchInputs& inputs) {
    Globals& globals = inputs.globals;
    if (const std::optional<InternalOptions> options = ReadInternalOptions(store)) {
        globals.Profile.SetText(TextField::QuakePath, options->quakePath);
        globals.Profile.SetText(TextField::PatchPath, options->patchPath);
        globals.QSpyExecutable = options->qSpyExecutable;
        // The four boxes rebuild the mask one bit after another, the locations first.
        std::int32_t mask = 0;
        for (const std::int32_t bit :
             {kDeleteInId1, kDeleteInPatch, kDeleteOnLaunch, kDeleteOnExit}) {
            mask = DeleteConfigMaskWith(mask, bit, (options->deleteConfigs & bit) != 0);
        }
        globals.DeleteConfigs = mask;
        globals.MinBSPSize = options->minBSPSize;
        globals.DontScanBSPMsgs = options->dontScanBSPMsgs;
    }
    if (auto rows = ReadExecutables(store)) {
        inputs.executables.Assign(std::move(*rows));
    }
    ReadGlobalParams(store, inputs.globalParams);
}

StoredProfileExtras ReadStoredProfile(store::Store& store, std::string_view name,
                                      LaunchInputs& inputs) {
    const StoredProfileExtras extras = ReadQuickSet(store, name, inputs.globals);
    ApplyShownProfileRules(inputs.globals);
    if (auto params = ReadAdditionalParams(store, name)) {
        inputs.additionalParams = std::move(*params);
    }
    return extras;
}

void ApplyShownProfileRules(Globals& globals) {
    LaunchProfile& p = globals.Profile.Record();
    p.MaxPlayers = std::clamp(p.MaxPlayers, kMinPlayers, kMaxPlayers);
    if (p.EnableServer != 0 && p.DemoState == kPlayback) {
        p.DemoState = 0;
    }
    if (p.EnableServer != 0 && p.ServerType != 0 && p.DemoState == kRecord) {
        p.DemoState = 0;
    }
    if (p.ConnectToServer != 0 && p.DemoState == kPlayback) {
        p.DemoState = 0;
    }
    const bool choosable = p.DemoState != kPlayback && p.ConnectToServer == 0;
    globals.MapSelectable = choosable;
    globals.SkillSelectable = choosable;
}

std::optional<std::string> ShownExecutable(const ExecutableTable& table, std::string_view name) {
    if (const std::optional<ExecutableEntry> entry = table.Find(name)) {
        return entry->name;
    }
    return std::nullopt;
}

std::vector<std::string> QuickSetNames(store::Store& store) {
    std::vector<std::string> names;
    if (const std::optional<QuickSetChoice> choice = ReadQuickSetChoice(store)) {
        names = choice->names;
    }
    const bool hasDefault = std::any_of(names.begin(), names.end(), [](const std::string& n) {
        return EqualsIgnoringAsciiCase(n, kDefaultQuickSet);
    });
    if (!hasDefault) {
        names.emplace_back(kDefaultQuickSet);
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return LessIgnoringCase(a, b);
    });
    return names;
}

std::optional<std::string> FindQuickSet(store::Store& store, std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    for (const std::string& stored : QuickSetNames(store)) {
        if (EqualsIgnoringAsciiCase(stored, name)) {
            return stored;
        }
    }
    return std::nullopt;
}

}  // namespace fenmar
