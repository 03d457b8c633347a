#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "cli/HeadlessLaunch.h"
#include "core/GlobalSettings.h"
#include "core/InstallLayout.h"
#include "core/QuickSetLayout.h"
#include "core/StoredLaunch.h"
#include "store/OpenStore.h"
#include "store/RegistryHandling.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

TEST(ShownProfileRules, ContradictingStoredChoicesAreSettledAsTheWindowSettlesThem) {
    struct Case {
        std::uint8_t server, type, connect, demo, players;
        std::uint8_t demoAfter, playersAfter;
        bool choosable;
    };
    const Case cases[] = {
        {1, 0, 0, 1, 8, 0, 8, true},     // a server stops the playback
        {1, 0, 0, 2, 8, 2, 8, true},     // a listen server may record
        {1, 1, 0, 2, 8, 0, 8, true},     // a dedicated one may not
        {0, 1, 0, 2, 8, 2, 8, true},     // the type alone changes nothing
        {0, 0, 1, 1, 8, 0, 8, false},    // connecting: no playback, no map or skill
        {0, 0, 0, 1, 0, 1, 1, false},    // playback: no map or skill; players at least 1
        {0, 0, 0, 0, 255, 0, 16, true},  // an absent value: the track bar's end
    };
    for (const Case& c : cases) {
        Globals globals;
        LaunchProfile& p = globals.Profile.Record();
        p.EnableServer = c.server;
        p.ServerType = c.type;
        p.ConnectToServer = c.connect;
        p.DemoState = c.demo;
        p.MaxPlayers = c.players;
        ApplyShownProfileRules(globals);
        EXPECT_EQ(p.DemoState, c.demoAfter);
        EXPECT_EQ(p.MaxPlayers, c.playersAfter);
        EXPECT_EQ(globals.MapSelectable, c.choosable);
        EXPECT_EQ(globals.SkillSelectable, c.choosable);
    }
}

class StoredLaunch : public ::testing::Test {
protected:
    StoredLaunch() : store(store::OpenStoreAt((dir.Path() / "s.sqlite").string()).store) {}
    test::TempDir dir;
    std::unique_ptr<store::Store> store;
};

TEST_F(StoredLaunch, ListsQuickSetsSortedWithTheDefaultAndFindsThemIgnoringCase) {
    EXPECT_EQ(QuickSetNames(*store), std::vector<std::string>{"<default>"});  // first start
    Globals globals;
    for (const char* name : {"zeta", "Coop night", "alpha", "<default>"}) {
        SaveQuickSet(*store, name, globals, {}, nullptr);
    }
    EXPECT_EQ(QuickSetNames(*store),
              (std::vector<std::string>{"<default>", "alpha", "Coop night", "zeta"}));
    EXPECT_EQ(FindQuickSet(*store, "COOP NIGHT"), "Coop night");
    EXPECT_EQ(FindQuickSet(*store, "Coop"), std::nullopt);
    EXPECT_EQ(FindQuickSet(*store, ""), std::nullopt);
}

TEST_F(StoredLaunch, ReadsOptionsAndAQuickSetOverTheWorkingProfile) {
    GlobalSettingsData data;
    data.quakePath = "/games/quake";
    data.deleteConfigs = 12;  // "when?" without "where?": the boxes drop it
    data.executables = {{"Mine", "my.exe"}};
    data.globalParams = {"-g1"};
    WriteGlobalSettings(*store, data);
    Globals working;
    working.Profile.SetText(TextField::GamePatch, "ctf");
    working.Profile->SkillLevel = 3;
    SaveQuickSet(*store, "", working, {"-working"}, nullptr);
    Globals coop;
    coop.Profile->SkillLevel = 0;
    coop.Profile->MaxPlayers = 40;
    SaveQuickSet(*store, "Coop", coop, {}, nullptr);
    // A Quick-Set without "Additional Params" keeps the working profile's, as loading it in
    // the window does.
    store->DeleteKey("Software\\Corvanta\\Fenmar\\QuickSets\\Coop\\Additional Params");

    LaunchInputs inputs;
    ReadStoredOptions(*store, inputs);
    ReadStoredProfile(*store, "", inputs);
    ReadStoredProfile(*store, "Coop", inputs);
    EXPECT_EQ(inputs.globals.Profile.Text(TextField::QuakePath), "/games/quake");
    EXPECT_EQ(inputs.globals.DeleteConfigs, 0);
    EXPECT_EQ(inputs.globalParams, std::vector<std::string>{"-g1"});
    EXPECT_EQ(inputs.additionalParams, std::vector<std::string>{"-working"});
    EXPECT_EQ(inputs.globals.Profile->SkillLevel, 0);
    EXPECT_EQ(inputs.globals.Profile->MaxPlayers, 16);
    EXPECT_EQ(inputs.globals.Profile.Text(TextField::GamePatch), "<none>");
    EXPECT_EQ(ShownExecutable(inputs.executables, "MINE"), "Mine");
    EXPECT_EQ(ShownExecutable(inputs.executables, "DOS-Quake"), std::nullopt);
}

// A plug-in asked for its parameters sees the mode of the profile, whether the line is
// printed or run, as it does in the window.
TEST_F(StoredLaunch, ThePlugInSeesTheProfilesModeWhenTheLineIsPrinted) {
    const std::string quake = dir.MakeDir("quake");
    dir.MakeDir("quake/id1");
    const std::string plugIns = dir.MakeDir("PlugIns");
    std::string library;
    for (const auto& entry : fs::directory_iterator(FENMAR_TEST_FIXTURE_DIR)) {
        if (entry.path().stem() == "Recorder130") {
            library = entry.path().filename().string();
            fs::copy_file(entry.path(), fs::path(plugIns) / library);
        }
    }
    ASSERT_FALSE(library.empty());
    GlobalSettingsData data;
    data.quakePath = quake;
    data.executables = {{"Mine", "quake.exe"}};
    WriteGlobalSettings(*store, data);
    Globals working;
    working.Executable = "Mine";
    working.Profile->CommandLineMode = 1;
    working.Profile.SetText(TextField::ConfigFile, "fenmar.cfg");
    SaveQuickSet(*store, "", working, {}, nullptr);
    store::RegWriteString(*store, ProfileKey("") + "\\General", "Current Plug-In", library);

    // The recording plug-in reads its wishes from the current directory.
    const fs::path previous = fs::current_path();
    fs::current_path(dir.Path());
    dir.WriteFile("recorder.cfg", "params=mode\n");
    std::vector<std::string> notices;
    cli::HeadlessLaunch::Preview preview;
    {
        cli::HeadlessLaunch launch(*store, plugIns);
        launch.Load("");
        preview = launch.ComposePreview(notices);
    }
    fs::current_path(previous);
    EXPECT_EQ(preview.configLines, std::vector<std::string>{"echo mode1"}) << preview.line;
    EXPECT_FALSE(fs::exists(fs::path(quake) / "id1" / "fenmar.cfg"));
}

TEST(InstallLayout, PlugInsBesideTheProgramWinOverTheInstalledFolder) {
    test::TempDir dir;
    const std::string bin = dir.MakeDir("usr/bin");
    EXPECT_EQ(fs::path(PlugInDirectoryFor(bin)), dir.Path() / "usr" / "lib" / "fenmar" / "PlugIns");
    dir.MakeDir("usr/bin/PlugIns");
    EXPECT_EQ(fs::path(PlugInDirectoryFor(bin)), dir.Path() / "usr" / "bin" / "PlugIns");
    EXPECT_EQ(PlugInDirectoryFor(""), "PlugIns");

    EXPECT_EQ(ApplicationIconFor(bin), "fenmar");
    const std::string icon =
        dir.WriteFile("usr/share/icons/hicolor/256x256/apps/fenmar.png", "png");
    EXPECT_EQ(fs::path(ApplicationIconFor(bin)), fs::path(icon));
}

}  // namespace
}  // namespace fenmar
