// The active plug-in in stored settings, with a real SQLite store and real plug-ins.

#include <gtest/gtest.h>

#include "ScriptedPlugInHost.h"
#include "plugins/PlugInSettings.h"
#include "store/OpenStore.h"
#include "store/PlugInKeys.h"
#include "store/RegistryHandling.h"

namespace fenmar {
namespace {

class PlugInSettingsTest : public ::testing::Test {
protected:
    PlugInSettingsTest() : opened(store::OpenStoreAt((bench.dir.Path() / "s.sqlite").string())) {}

    std::string Read(std::string_view path, std::string_view name) {
        return store::RegReadString(*opened.store, path, name);
    }

    test::PlugInBench bench;
    store::OpenResult opened;
    const std::string base = SettingsBaseKey("Duel");
};

TEST_F(PlugInSettingsTest, SavingWithoutAPlugInClearsTheOldSettings) {
    store::CreateKey(*opened.store, base + "\\PlugIn-Settings\\Old one");
    TPlugIn slot(bench.env);
    SavePlugInSettings(slot, *opened.store, base);
    EXPECT_EQ(Read(base + "\\General", "Current Plug-In"), "<none>");
    EXPECT_FALSE(opened.store->KeyExists(base + "\\PlugIn-Settings"));
    EXPECT_EQ(base, "Software\\Corvanta\\Fenmar\\QuickSets\\Duel");
    EXPECT_EQ(SettingsBaseKey(""), "Software\\Corvanta\\Fenmar");
}

TEST_F(PlugInSettingsTest, SaveAndRestoreReachThePlugInInOrder) {
    bench.AddFixture("Recorder130");
    TPlugIn slot(bench.env);
    ActivatePlugIn(slot, bench.LibraryName("Recorder130"));
    bench.TakeLog();

    SavePlugInSettings(slot, *opened.store, base);
    EXPECT_EQ(bench.TakeLog(),
              (std::vector<std::string>{"PI_GetDescription", "PI_SaveSettings key"}));
    EXPECT_EQ(Read(base + "\\General", "Current Plug-In"), bench.LibraryName("Recorder130"));
    EXPECT_TRUE(opened.store->KeyExists(base + "\\PlugIn-Settings\\Recorder 1.30"));

    EXPECT_TRUE(RestorePlugInSettings(slot, *opened.store, base));
    EXPECT_EQ(bench.TakeLog(),
              (std::vector<std::string>{"PI_GetDescription", "PI_RestoreSettings key"}));
    // Without a key of its own the plug-in is not asked to restore.
    EXPECT_FALSE(RestorePlugInSettings(slot, *opened.store, SettingsBaseKey("Other")));
    EXPECT_EQ(bench.TakeLog(), (std::vector<std::string>{"PI_GetDescription"}));
    EXPECT_EQ(store::OpenPlugInHandleCount(), 0u);
}

TEST_F(PlugInSettingsTest, StoredNamesNeverLoadFromOutsideThePlugInDirectory) {
    bench.AddSample("MinimalPlugIn");
    const std::string lib = bench.LibraryName("MinimalPlugIn");
    std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / lib,
                               bench.dir.Path() / lib);
    std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / lib,
                               std::filesystem::path(bench.plugInDir) / "<none>");
    const store::Key general = store::CreateKey(*opened.store, base + "\\General");
    TPlugIn slot(bench.env);
    for (const std::string& stored :
         {"../" + lib, (bench.dir.Path() / lib).string(), std::string("<none>"), std::string("")}) {
        store::RegWriteString(general, "Current Plug-In", stored);
        slot.Load(lib);
        LoadStoredPlugIn(slot, *opened.store, base);
        EXPECT_FALSE(slot.IsLoaded()) << stored;
        EXPECT_FALSE(bench.host.lastAllowList.has_value());
    }
    store::RegWriteString(general, "Current Plug-In", lib);
    LoadStoredPlugIn(slot, *opened.store, base);
    EXPECT_TRUE(slot.IsLoaded());
}

TEST_F(PlugInSettingsTest, TheDeathmatchSampleKeepsItsMapUnderItsKey) {
    bench.AddSample("DeathmatchRules");
    const std::string lib = bench.LibraryName("DeathmatchRules");
    bench.globals.Profile->DemoState = 1;
    TPlugIn slot(bench.env);
    const PlugInIcon icon = ActivatePlugIn(slot, lib);
    ASSERT_TRUE(slot.IsLoaded());
    EXPECT_EQ(icon.kind, PlugInIcon::Kind::Image);
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(slot.GetIcon(1).width, 16);
    EXPECT_EQ(bench.globals.Profile->DemoState, 0);  // switched off on activation
    const AllowList expected = {0, 1, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(bench.host.lastAllowList, expected);
    EXPECT_EQ(slot.GetParams(), "+map dm3");

    bench.host.answers = {std::nullopt};  // cancelled: nothing changes
    slot.Execute();
    EXPECT_EQ(bench.globals.Profile->Deathmatch, 1);
    bench.host.answers = {"e4m3 - The Soul of Evil"};
    slot.Execute();
    EXPECT_EQ(bench.globals.Profile->Deathmatch, 2);
    EXPECT_EQ(bench.globals.Profile->FragLimit, 30);
    EXPECT_EQ(slot.GetParams(), "+map e4m3");

    SavePlugInSettings(slot, *opened.store, base);
    EXPECT_EQ(Read(base + "\\PlugIn-Settings\\Deathmatch rules", "Map"), "e4m3");

    ResetPlugIn(slot);  // unloads the library: its map is forgotten
    ActivatePlugIn(slot, lib);
    EXPECT_EQ(slot.GetParams(), "+map dm3");
    LoadStoredPlugIn(slot, *opened.store, base);
    EXPECT_EQ(slot.GetParams(), "+map e4m3");
}

}  // namespace
}  // namespace fenmar
