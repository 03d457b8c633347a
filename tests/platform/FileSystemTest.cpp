#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>

#include "TempDir.h"
#include "platform/DirectoryList.h"
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
    for (const char* bad :
         {"/etc/passwd", "\\x.cfg", "C:x.cfg", "..", "../x", "a/../../x", "a\\..\\x", "x/.."}) {
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

// The key the map caches trust: a file rewritten with its size and written time kept still
// shows another change time, and a file renamed over it another identity.
TEST(ListFiles, TellsARewrittenOrReplacedFileFromTheOneListedBefore) {
    namespace fs = std::filesystem;
    test::TempDir dir;
    const fs::path path = dir.Path() / "a.bsp";
    dir.WriteFile("a.bsp", "12345");
    dir.WriteFile("b.txt", "x");
    // Whole seconds: some C runtimes set no finer written time.
    const auto written =
        std::chrono::floor<std::chrono::seconds>(fs::last_write_time(path) - std::chrono::hours(1));
    fs::last_write_time(path, written);
    const auto key = [&] {
        const FileListing l = ListFiles(dir.Str(), [](std::string_view n) { return n == "a.bsp"; });
        EXPECT_TRUE(l.exists);
        EXPECT_EQ(l.error, "");
        EXPECT_EQ(l.files.size(), 1u);
        const FileInfo f = l.files.empty() ? FileInfo{} : l.files[0];
        return std::tuple(f.size, f.modified, f.changed, f.identity);
    };
    const auto first = key();
    EXPECT_EQ(std::get<0>(first), 5);
    EXPECT_NE(std::get<1>(first), 0);
    EXPECT_NE(std::get<2>(first), 0);
    EXPECT_NE(std::get<3>(first), 0u);
    EXPECT_EQ(key(), first);

    auto rewritten = first;
    for (int i = 0; i < 200 && std::get<2>(rewritten) == std::get<2>(first); ++i) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << "54321";
        fs::last_write_time(path, written);
        rewritten = key();  // until the system's clock has moved on from the first write
    }
    EXPECT_NE(std::get<2>(rewritten), std::get<2>(first));
    EXPECT_EQ(std::tie(std::get<0>(rewritten), std::get<1>(rewritten), std::get<3>(rewritten)),
              std::tie(std::get<0>(first), std::get<1>(first), std::get<3>(first)));

    dir.WriteFile("new.tmp", "abcde");
    fs::rename(dir.Path() / "new.tmp", path);
    fs::last_write_time(path, written);
    EXPECT_NE(std::get<3>(key()), std::get<3>(first));
}

// A folder large enough for its files to be asked about from several threads: every regular
// file once, each with its own size; directories and dangling links left out.
TEST(ListFiles, ListsALargeFolderWholeWithEachFilesOwnSize) {
    namespace fs = std::filesystem;
    test::TempDir dir;
    constexpr int kFiles = 2100;
    for (int i = 0; i < kFiles; ++i) {
        dir.WriteFile("m" + std::to_string(i) + ".bsp",
                      std::string(static_cast<std::size_t>(i % 97), 'x'));
    }
    dir.MakeDir("folder.bsp");
    std::error_code noLinks;  // where links cannot be made, the listing is tested without one
    fs::create_symlink(dir.Path() / "missing.bsp", dir.Path() / "dangling.bsp", noLinks);
    const auto bsp = [](std::string_view n) { return n.ends_with(".bsp"); };
    const FileListing listing = ListFiles(dir.Str(), bsp);
    EXPECT_EQ(listing.error, "");
    std::map<std::string, std::int64_t> sizes;
    for (const FileInfo& f : listing.files) {
        EXPECT_TRUE(sizes.emplace(f.name, f.size).second) << f.name;
        EXPECT_NE(f.identity, 0u) << f.name;
    }
    ASSERT_EQ(sizes.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i) {
        EXPECT_EQ(sizes["m" + std::to_string(i) + ".bsp"], i % 97);
    }
    EXPECT_EQ(ListFiles(dir.Str(), bsp, false).files.size(), static_cast<std::size_t>(kFiles));
}

}  // namespace
}  // namespace fenmar::platform
