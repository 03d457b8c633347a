#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "platform/FileSystem.h"
#include "platform/ProgramSearch.h"

namespace fenmar::platform {
namespace {

namespace fs = std::filesystem;

std::string MakeProgram(const test::TempDir& dir, const std::string& rel) {
    const std::string path = dir.WriteFile(rel, "#!/bin/sh\n");
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
    return path;
}

TEST(FindProgramOnPath, TakesTheFirstRunnableMatchInListOrder) {
    test::TempDir dir;
    const std::string first = dir.MakeDir("first");
    const std::string second = dir.MakeDir("second");
    const std::string exe = FileNamesIgnoreCase() ? ".exe" : "";
    MakeProgram(dir, "second/engine" + exe);
    const std::string sep(1, PathListSeparator());
    // Empty entries never mean the current directory.
    const std::string list = sep + first + sep + sep + second + sep;
    EXPECT_EQ(FindProgramOnPath("engine" + exe, list, ".EXE"), JoinPath(second, "engine" + exe));
    MakeProgram(dir, "first/engine" + exe);
    EXPECT_EQ(FindProgramOnPath("engine" + exe, list, ".EXE"), JoinPath(first, "engine" + exe));
    EXPECT_FALSE(FindProgramOnPath("missing", list, ".EXE"));
    EXPECT_FALSE(FindProgramOnPath("", list, ".EXE"));
    EXPECT_FALSE(FindProgramOnPath("first/engine" + exe, dir.Str(), ".EXE"));
    EXPECT_FALSE(FindProgramOnPath("engine" + exe, "", ".EXE"));
}

TEST(FindProgramOnPath, SkipsDirectoriesAndFilesThatCannotRun) {
    if (FileNamesIgnoreCase()) {
        GTEST_SKIP() << "execute permission is a POSIX file mode";
    }
    test::TempDir dir;
    dir.MakeDir("a/engine");               // a directory of that name
    dir.WriteFile("b/engine", "data");     // not executable
    MakeProgram(dir, "c/engine");
    const std::string list = JoinPath(dir.Str(), "a") + ":" + JoinPath(dir.Str(), "b") + ":" +
                             JoinPath(dir.Str(), "c");
    EXPECT_EQ(FindProgramOnPath("engine", list), JoinPath(JoinPath(dir.Str(), "c"), "engine"));
}

TEST(FindProgramOnPath, TriesPathExtOnlyWhereNamesIgnoreCase) {
    if (!FileNamesIgnoreCase()) {
        GTEST_SKIP() << "PATHEXT is a Windows rule";
    }
    test::TempDir dir;
    MakeProgram(dir, "bin/quake.bat");
    MakeProgram(dir, "bin/quake.exe");
    const std::string bin = JoinPath(dir.Str(), "bin");
    EXPECT_EQ(FindProgramOnPath("quake", bin, ".COM;.EXE;.BAT"), JoinPath(bin, "quake.EXE"));
    EXPECT_EQ(FindProgramOnPath("quake.bat", bin, ".COM;.EXE"), JoinPath(bin, "quake.bat"));
}

TEST(IsAbsolutePath, KnowsThisSystemsForms) {
    if (FileNamesIgnoreCase()) {
        EXPECT_TRUE(IsAbsolutePath("C:\\games\\quake.exe"));
        EXPECT_TRUE(IsAbsolutePath("\\\\server\\share\\q.exe"));
        EXPECT_FALSE(IsAbsolutePath("C:quake.exe"));
    } else {
        EXPECT_TRUE(IsAbsolutePath("/usr/games/quakespasm"));
    }
    EXPECT_FALSE(IsAbsolutePath("quakespasm"));
    EXPECT_FALSE(IsAbsolutePath("bin/quake"));
    EXPECT_FALSE(IsAbsolutePath(""));
}

}  // namespace
}  // namespace fenmar::platform
