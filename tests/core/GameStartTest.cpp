#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "core/GameStart.h"
#include "core/History.h"
#include "platform/FileSystem.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

TEST(GameStartRequest, StartsTheComposedProgramWithTheRestOfTheLine) {
    ComposedLaunch launch;
    launch.hasExecutable = true;
    launch.programText = platform::JoinPath("/games/my quake", "glquake.exe");
    launch.program.path = launch.programText;
    launch.line = launch.programText + " -listen +hostname \"LAN party\"";
    launch.workingDirectory = "/games/my quake";
    const auto r = GameStartRequest(launch);
    EXPECT_EQ(r.program, launch.program.path);
    EXPECT_EQ(r.args, (V{"-listen", "+hostname", "LAN party"}));
    EXPECT_EQ(r.workingDirectory, "/games/my quake");
    EXPECT_EQ(r.consoleTitle, "Quake - THE game !");

    // Without an executable there is nothing to start (never the Quake directory itself).
    launch.hasExecutable = false;
    EXPECT_TRUE(GameStartRequest(launch).program.empty());
}

TEST(AddToHistory, NewestFirstNoCaseDuplicatesBoundedSize) {
    V items{"<none>"};
    EXPECT_TRUE(AddToHistory(items, "ctf", kPatchHistorySize));
    EXPECT_FALSE(AddToHistory(items, "CTF", kPatchHistorySize));
    EXPECT_FALSE(AddToHistory(items, "<none>", kPatchHistorySize));
    EXPECT_FALSE(AddToHistory(items, "", kPatchHistorySize));
    EXPECT_TRUE(AddToHistory(items, "tf", kPatchHistorySize));
    EXPECT_EQ(items, (V{"<none>", "tf", "ctf"}));
    EXPECT_FALSE(AddToHistory(items, "ctf", kPatchHistorySize));  // not moved to the front
    EXPECT_EQ(items[1], "tf");

    V patches{"<none>"};
    for (int i = 1; i <= 21; ++i) {
        AddToHistory(patches, "patch" + std::to_string(i), kPatchHistorySize);
    }
    ASSERT_EQ(patches.size(), 21u);
    EXPECT_EQ(patches[1], "patch21");
    EXPECT_EQ(patches.back(), "patch2");  // the oldest was pushed out
}

class DeleteConfigs : public ::testing::Test {
protected:
    DeleteConfigs() {
        id1Cfg = dir.WriteFile("ID1/Config.CFG", "x");
        patchCfg = dir.WriteFile("ctf/config.cfg", "x");
        g.Profile.SetText(TextField::QuakePath, dir.Str());
    }
    test::TempDir dir;
    std::string id1Cfg, patchCfg;
    Globals g;
};

TEST_F(DeleteConfigs, FollowsTheWhereBitsInAnyCase) {
    g.DeleteConfigs = kDeleteInId1 | kDeleteOnLaunch;
    DeleteConfigFiles(g);
    EXPECT_FALSE(fs::exists(id1Cfg));
    EXPECT_TRUE(fs::exists(patchCfg));
}

TEST_F(DeleteConfigs, PatchBitNeedsASetPatch) {
    g.DeleteConfigs = kDeleteInPatch | kDeleteOnExit;
    DeleteConfigFiles(g);  // patch "<none>": nothing
    EXPECT_TRUE(fs::exists(patchCfg));
    g.Profile.SetText(TextField::GamePatch, "ctf");
    DeleteConfigFiles(g);
    EXPECT_FALSE(fs::exists(patchCfg));
    EXPECT_TRUE(fs::exists(id1Cfg));
    DeleteConfigFiles(g);  // missing now: skipped quietly
}

}  // namespace
}  // namespace fenmar
