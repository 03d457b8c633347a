#include "core/PathPicking.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "platform/FileSystem.h"

namespace fenmar {
namespace {

using platform::JoinPath;

TEST(PathPicking, RelativeToNeedsAWholeComponentPrefix) {
    const std::string quake = JoinPath(JoinPath("", "games"), "quake");  // "/games/quake"
    EXPECT_EQ(RelativeTo(JoinPath(quake, "ctf"), quake), "ctf");
    EXPECT_EQ(RelativeTo(JoinPath(JoinPath(quake, "mods"), "ctf"), quake), JoinPath("mods", "ctf"));
    EXPECT_EQ(RelativeTo(quake, quake), "");
    EXPECT_EQ(RelativeTo(JoinPath(quake, "ctf"), quake + platform::PathSeparator()), "ctf");
    // A sibling that merely starts with the same letters is not inside.
    EXPECT_EQ(RelativeTo(quake + "2" + platform::PathSeparator() + "ctf", quake), std::nullopt);
    EXPECT_EQ(RelativeTo("elsewhere", quake), std::nullopt);
    EXPECT_EQ(RelativeTo(JoinPath(quake, "ctf"), ""), std::nullopt);
    // The file-system root as the directory.
    const std::string root(1, platform::PathSeparator());
    EXPECT_EQ(RelativeTo(JoinPath(root, "quake"), root), "quake");
}

TEST(PathPicking, RelativeToFollowsLinksToTheSamePlace) {
    test::TempDir temp;
    const std::string real = temp.MakeDir("real/id1/demos");
    std::error_code error;
    std::filesystem::create_directory_symlink(temp.Path() / "real", temp.Path() / "link", error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here";
    }
    const std::string viaLink = JoinPath(JoinPath(temp.Str(), "link"), "id1");
    EXPECT_EQ(RelativeTo(JoinPath(real, "duel1.dem"), viaLink), JoinPath("demos", "duel1.dem"));
}

TEST(PathPicking, TrimChosenFileKeepsWhatTheRulesSay) {
    const std::string id1 = JoinPath(JoinPath("", "quake"), "id1");
    const std::string chosen = JoinPath(JoinPath(id1, "demos"), "duel1.dem");
    // Demo pickers: relative, extension dropped.
    EXPECT_EQ(TrimChosenFile(chosen, id1, {false, true, true}), JoinPath("demos", "duel1"));
    // Executable picker: the file name only.
    EXPECT_EQ(TrimChosenFile(chosen, id1, {true, false, false}), "duel1.dem");
    // Companion program: the whole path.
    EXPECT_EQ(TrimChosenFile(chosen, id1, {true, true, false}), chosen);
    // A name without a dot stays whole when the extension is dropped.
    EXPECT_EQ(TrimChosenFile(JoinPath(id1, "duel1"), id1, {false, true, true}), "duel1");
    // Only the file name's dots count, not a directory's.
    EXPECT_EQ(TrimChosenFile(JoinPath(JoinPath(id1, "v1.1"), "duel.dem"), id1, {false, true, true}),
              JoinPath("v1.1", "duel"));
}

TEST(PathPicking, TrimChosenFileRefusesAFileOutsideTheDirectoryWhenRelative) {
    const std::string id1 = JoinPath(JoinPath("", "quake"), "id1");
    const std::string outside = JoinPath(JoinPath("", "tmp"), "duel1.dem");
    EXPECT_EQ(TrimChosenFile(outside, id1, {false, true, true}), std::nullopt);
    // Not relative: no such test.
    EXPECT_EQ(TrimChosenFile(outside, id1, {true, false, false}), "duel1.dem");
}

TEST(PathPicking, PatchOfFolder) {
    const std::string quake = JoinPath("", "quake");
    EXPECT_EQ(PatchOfFolder(JoinPath(quake, "ctf"), quake), "ctf");
    EXPECT_EQ(PatchOfFolder(quake, quake), "<none>");
    EXPECT_EQ(PatchOfFolder(JoinPath("", "other"), quake), std::nullopt);
}

TEST(PathPicking, PatternsMatchBothCases) {
    EXPECT_EQ(PatternsAnyCase("*.dem;*.qwd"), "*.dem *.DEM *.qwd *.QWD");
    EXPECT_EQ(PatternsAnyCase("*.cfg"), "*.cfg *.CFG");
    EXPECT_EQ(PatternsAnyCase(";*.Bat;"), "*.bat *.BAT");
}

TEST(PathPicking, StoredCaseFollowsTheFileSystem) {
    EXPECT_EQ(PathInStoredCase("Quake/ID1"),
              platform::FileNamesIgnoreCase() ? "quake/id1" : "Quake/ID1");
}

}  // namespace
}  // namespace fenmar
