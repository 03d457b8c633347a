// Listing the plug-in directory with the real sample libraries.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ScriptedPlugInHost.h"
#include "plugins/PlugInList.h"

namespace fenmar {
namespace {

std::vector<PlugInListing> SortedByFile(std::vector<PlugInListing> rows) {
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.fileName < b.fileName; });
    return rows;
}

TEST(ListPlugIns, ListsThePlugInsOnlyWithTheirTextsAndIcons) {
    test::PlugInBench bench;
    for (const char* name : {"WinQuakeSwitch", "MinimalPlugIn", "NotAPlugIn"}) {
        bench.AddSample(name);
    }
    bench.AddFixture("Recorder130");
    const std::string suffix(platform::LibrarySuffix());
    bench.dir.WriteFile("PlugIns/Broken" + suffix, "not a library at all");
    bench.dir.WriteFile("PlugIns/readme.txt", "plug-ins go here");
    bench.dir.MakeDir("PlugIns/Folder" + suffix);
    std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / ("MinimalPlugIn" + suffix),
                               std::filesystem::path(bench.plugInDir) / (".Hidden" + suffix));

    const auto rows = SortedByFile(ListPlugIns(bench.env));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].fileName, "MinimalPlugIn" + suffix);
    EXPECT_EQ(rows[0].description, "<no descritpion available>");
    EXPECT_EQ(rows[0].versionText, "1.22");
    EXPECT_EQ(rows[0].largeIcon, PlugInIcon::Default(2));
    EXPECT_EQ(rows[0].smallIcon, PlugInIcon::Default(2));

    EXPECT_EQ(rows[1].fileName, "Recorder130" + suffix);
    EXPECT_EQ(rows[1].description, "Recorder 1.30");
    EXPECT_EQ(rows[1].versionText, "1.30");
    EXPECT_EQ(rows[1].largeIcon, PlugInIcon::Default(2));  // nil: the default of the size
    EXPECT_EQ(rows[1].smallIcon, PlugInIcon::Default(1));

    EXPECT_EQ(rows[2].description, "Switch to WinQuake");
    EXPECT_EQ(rows[2].versionText, "1.22");
}

TEST(ListPlugIns, KeepsBothRowsOfTwoPlugInsWithOneDescription) {
    test::PlugInBench bench;
    const std::string suffix(platform::LibrarySuffix());
    bench.AddSample("MinimalPlugIn");
    std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / ("MinimalPlugIn" + suffix),
                               std::filesystem::path(bench.plugInDir) / ("Twin" + suffix));
    const auto rows = SortedByFile(ListPlugIns(bench.env));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].description, rows[1].description);
    EXPECT_NE(rows[0].fileName, rows[1].fileName);
}

TEST(ListPlugIns, LeavesTheActivePlugInAlone) {
    test::PlugInBench bench;
    bench.AddSample("MinimalPlugIn");
    TPlugIn active(bench.env);
    bench.ActivateFixture(active, "Recorder130");
    const auto gating = bench.host.lastAllowList;
    bench.TakeLog();

    EXPECT_EQ(ListPlugIns(bench.env).size(), 2u);
    EXPECT_TRUE(active.IsLoaded());
    EXPECT_EQ(active.FileName(), bench.LibraryName("Recorder130"));
    EXPECT_EQ(bench.host.lastAllowList, gating);
    for (const auto& line : bench.TakeLog()) {
        EXPECT_EQ(line.find("host "), std::string::npos) << line;  // no gating, no refresh
        EXPECT_EQ(line.find("PI_SetInfoFn"), std::string::npos);
    }
    EXPECT_EQ(active.GetParams(), "-recorder");  // still loaded and callable
}

TEST(ListPlugIns, AMissingDirectoryListsNothing) {
    test::PlugInBench bench;
    bench.env.plugInDir = (bench.dir.Path() / "nowhere").string();
    EXPECT_TRUE(ListPlugIns(bench.env).empty());
}

TEST(ActivatePlugIn, ResetEmptiesTheSlotAndAllowsEverything) {
    test::PlugInBench bench;
    TPlugIn slot(bench.env);
    bench.ActivateFixture(slot, "Recorder130");
    ASSERT_TRUE(bench.host.lastAllowList.has_value());
    EXPECT_EQ((*bench.host.lastAllowList)[ALLOW_PAUSABLE], 0);

    EXPECT_EQ(ResetPlugIn(slot), PlugInIcon::Default(2));
    EXPECT_FALSE(slot.IsLoaded());
    EXPECT_FALSE(bench.host.lastAllowList.has_value());
    EXPECT_FALSE(slot.QueryAllowList().has_value());
}

}  // namespace
}  // namespace fenmar
