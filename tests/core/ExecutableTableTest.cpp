#include <gtest/gtest.h>

#include "core/ExecutableTable.h"
#include "platform/FileSystem.h"

namespace fenmar {
namespace {

TEST(ExecutableTable, BuiltInRowsAreSortedByName) {
    const ExecutableTable t;
    ASSERT_EQ(t.Entries().size(), 8u);
    EXPECT_EQ(t.Entries().front().name, "DOS-Quake");
    EXPECT_EQ(t.Entries()[1].name, "DOS-Quake (TCP/IP)");
    EXPECT_EQ(t.Entries().back().name, "WinQuake");
    for (std::size_t i = 1; i < t.Entries().size(); ++i) {
        EXPECT_TRUE(LessIgnoringCase(t.Entries()[i - 1].name, t.Entries()[i].name));
    }
}

TEST(ExecutableFileOf, ComparesAsciiCaseOnlyAndFallsBackToQuakeExe) {
    ExecutableTable t;
    EXPECT_EQ(ExecutableFileOf(t, "gl-quake"), "glquake.exe");
    EXPECT_EQ(ExecutableFileOf(t, "QUAKEWORLD-SERVER"), "qwsv.exe");
    EXPECT_EQ(ExecutableFileOf(t, "Unknown"), "quake.exe");
    EXPECT_EQ(ExecutableFileOf(t, ""), "quake.exe");
    // Accented letters keep their case: only the same spelling matches.
    EXPECT_EQ(ExecutableFileOf(t, platform::FromUtf8("v\u00e9rit\u00e9 quake")), "vquake.exe");
    EXPECT_EQ(ExecutableFileOf(t, platform::FromUtf8("V\u00c9RIT\u00c9 QUAKE")), "quake.exe");
    ASSERT_TRUE(t.Add({"", "empty.exe"}));
    EXPECT_EQ(ExecutableFileOf(t, ""), "empty.exe");
}

TEST(ExecutableTable, RefusesNamesThatDifferOnlyInCase) {
    ExecutableTable t;
    EXPECT_FALSE(t.Add({"winquake", "other.exe"}));
    EXPECT_TRUE(t.Add({"Fitz", "fitz"}));
    EXPECT_EQ(ExecutableFileOf(t, "FITZ"), "fitz");
    EXPECT_TRUE(t.Remove("fItZ"));
    EXPECT_FALSE(t.Find("Fitz"));
}

}  // namespace
}  // namespace fenmar
