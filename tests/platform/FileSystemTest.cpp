#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/FileSystem.h"

namespace fenmar::platform {
namespace {

TEST(JoinPath, AddsOneSeparatorOnlyWhereNeeded) {
    const std::string sep(1, PathSeparator());
    EXPECT_EQ(JoinPath("/quake", "id1"), "/quake" + sep + "id1");
    EXPECT_EQ(JoinPath("/quake" + sep, "id1"), "/quake" + sep + "id1");
    EXPECT_EQ(JoinPath("", "id1"), "id1");
    EXPECT_EQ(JoinPath("/quake", ""), "/quake" + sep);
}

TEST(IsAbsoluteOrClimbing, CatchesEveryWayOut) {
    for (const char* bad : {"/etc/passwd", "\\x.cfg", "C:x.cfg", "..", "../x", "a/../../x",
                            "a\\..\\x", "x/.."}) {
        EXPECT_TRUE(IsAbsoluteOrClimbing(bad)) << bad;
    }
    for (const char* good : {"fenmar.cfg", "a/b.cfg", "..cfg", "x..", "...", ""}) {
        EXPECT_FALSE(IsAbsoluteOrClimbing(good)) << good;
    }
}

TEST(FindEntryIgnoringCase, FindsAnyCapitalsAndPrefersTheExactName) {
    test::TempDir dir;
    dir.MakeDir("ID1");
    // Where the file system ignores case itself, the name as asked already is the match.
    const auto found = [&](const char* asked) {
        return JoinPath(dir.Str(), FileNamesIgnoreCase() ? asked : "ID1");
    };
    EXPECT_EQ(FindEntryIgnoringCase(dir.Str(), "id1"), found("id1"));
    EXPECT_EQ(FindEntryIgnoringCase(dir.Str(), "Id1"), found("Id1"));
    EXPECT_FALSE(FindEntryIgnoringCase(dir.Str(), "maps"));
    EXPECT_FALSE(FindEntryIgnoringCase(JoinPath(dir.Str(), "missing"), "id1"));
    EXPECT_EQ(ResolveIgnoringCase(dir.Str(), "maps"), JoinPath(dir.Str(), "maps"));
    EXPECT_TRUE(DirectoryExists(JoinPath(dir.Str(), "ID1")));
    const auto file = dir.WriteFile("ID1/CONFIG.CFG", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(JoinPath(dir.Str(), "ID1")));
    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(RemoveFile(file));
}

}  // namespace
}  // namespace fenmar::platform
