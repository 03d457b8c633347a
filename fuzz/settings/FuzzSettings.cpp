// libFuzzer target for the readers of stored settings: a .reg file (as fenmar-reg imports it)
// goes into a fresh store, then the start-up's readers and the older layout's import run
// over it. Beyond "no crash, no hang, no undefined behaviour" it checks that every number a
// loaded profile holds lies inside its field's range, and that a converted store is not
// converted again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/GlobalSettings.h"
#include "core/QuickSetLayout.h"
#include "store/OpenStore.h"
#include "store/RegFile.h"

namespace {

using namespace fenmar;

[[noreturn]] void Fail() {
    std::abort();
}

void CheckProfile(const Globals& g) {
    const LaunchProfile& p = g.Profile.Record();
    if (p.SkillLevel > 3 || p.DemoState > 2 || p.CommandLineMode > 1 || p.ServerType > 1 ||
        p.MaxPlayers < 1 || p.MaxPlayers > 16 || p.Deathmatch > 2 || p.Teamplay > 2 ||
        p.LockMethod > 4) {
        Fail();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const store::RegParse parsed =
        store::ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.ok || parsed.operations.size() > 2000) {
        return 0;
    }
    auto store = store::OpenMemoryStore();
    std::string error;
    if (store == nullptr || !store::ApplyRegOperations(*store, parsed.operations, error)) {
        Fail();
    }
    if (SettingsNeedUpgrade(*store)) {
        UpgradeAllSettings(*store, "My server",
                           [](const std::string& file) { return "name of " + file; });
        if (SettingsNeedUpgrade(*store)) {
            Fail();
        }
    }
    ReadInternalOptions(*store);
    ReadExecutables(*store);
    std::vector<std::string> list;
    ReadGlobalParams(*store, list);
    for (const RecentListKey which : {kRecentPatches, kRecentDemos, kRecentServers}) {
        std::vector<std::string> recent;
        ReadRecentList(*store, which, recent);
        if (recent.size() > static_cast<std::size_t>(which.limit)) {
            Fail();
        }
    }
    std::vector<std::string> names{""};
    if (const auto choice = ReadQuickSetChoice(*store)) {
        names.insert(names.end(), choice->names.begin(), choice->names.end());
    }
    for (const std::string& name : names) {
        Globals globals;
        ReadQuickSet(*store, name, globals);
        CheckProfile(globals);
        ReadAdditionalParams(*store, name);
    }
    return 0;
}
