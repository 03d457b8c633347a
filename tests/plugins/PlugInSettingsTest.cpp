// The active plug-in in stored settings, with the real store (a SQLite file, or the registry
// on Windows) and real plug-ins.

#include <gtest/gtest.h>

#include "Environment.h"
#include "ScriptedPlugInHost.h"
#include "plugins/PlugInSettings.h"
#include "store/OpenStore.h"
#include "store/PlugInKeys.h"
#include "store/RegistryHandling.h"

namespace fenmar {
namespace {

// The user's store: a SQLite file of the test's own, or on Windows the real registry, where
// plug-ins receive real registry keys. The registry is used only while it holds no settings
// of the program (a fresh Wine prefix, a test machine), and they are removed afterwards.
store::OpenResult OpenTestStore(const test::PlugInBench& bench) {
    if (test::SystemIsWindows()) {
        return store::OpenDefaultStore();
    }
    return store::OpenStoreAt((bench.dir.Path() / "s.sqlite").string());
}

class PlugInSettingsTest : public ::testing::Test {
protected:
    PlugInSettingsTest() : opened(OpenTestStore(bench)) {}

    void SetUp() override {
        ASSERT_NE(opened.store, nullptr) << opened.problem;
        if (test::SystemIsWindows()) {
            if (opened.store->KeyExists(SettingsBaseKey(""))) {
                GTEST_SKIP() << "the registry holds the program's own settings "
                             << SettingsBaseKey("") << "; these tests would change them";
            }
            ownsRegistryRoot = true;
        }
    }
    void TearDown() override {
        if (ownsRegistryRoot) {
            opened.store->DeleteKey(SettingsBaseKey(""));
        }
    }

    std::string Read(std::string_view path, std::string_view name) {
        return store::RegReadString(*opened.store, path, name);
    }

    test::PlugInBench bench;
    store::OpenResult opened;
    const std::string base = SettingsBaseKey("Duel");
    bool ownsRegistryRoot = false;
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
    TPlugIn slot(bench.env);
    bench.ActivateFixture(slot, "Recorder130");
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
    if (!test::SystemIsWindows()) {  // Windows allows no file called "<none>"
        std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / lib,
                                   std::filesystem::path(bench.plugInDir) / "<none>");
    }
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
    if (test::SystemIsWindows()) {
        // The sample paints its icons only where icons are images, not system handles.
        EXPECT_EQ(icon, PlugInIcon::Default(2));
        EXPECT_EQ(slot.GetIcon(1), PlugInIcon::Default(1));
    } else {
        EXPECT_EQ(icon.kind, PlugInIcon::Kind::Image);
        EXPECT_EQ(icon.width, 32);
        EXPECT_EQ(slot.GetIcon(1).width, 16);
    }
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
