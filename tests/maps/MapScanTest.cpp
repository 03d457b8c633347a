#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "MapFiles.h"
#include "TempDir.h"
#include "maps/BspMessage.h"
#include "maps/MapScan.h"
#include "platform/FileSystem.h"

namespace fenmar::maps {
void PrintTo(const MapEntry& e, std::ostream* os) {
    *os << e.name << " - " << e.description;
}

namespace {

using test::MakeBsp;
using test::MakePak;
using test::PakItem;
using test::WorldWithTitle;

std::vector<MapEntry> Sorted(std::vector<MapEntry> entries) {
    std::sort(entries.begin(), entries.end(),
              [](const MapEntry& a, const MapEntry& b) { return a.name < b.name; });
    return entries;
}

TEST(MapNames, MatchThePatternsWithoutRegardToCase) {
    EXPECT_TRUE(IsBspName("e1m1.bsp"));
    EXPECT_TRUE(IsBspName("E1M1.BsP"));
    EXPECT_FALSE(IsBspName("e1m1.bsp.bak"));
    EXPECT_FALSE(IsBspName("bsp"));
    EXPECT_TRUE(IsPakName("pak0.pak"));
    EXPECT_TRUE(IsPakName("PAK12.PAK"));
    EXPECT_TRUE(IsPakName("pak.pak"));
    EXPECT_FALSE(IsPakName("pak"));
    EXPECT_FALSE(IsPakName("xpak0.pak"));
    EXPECT_FALSE(IsPakName("pak0.pk3"));
}

TEST(ScanMapDirectory, ListsMapsFromTheSizeThresholdOnWithLowerCaseNames) {
    test::TempDir tmp;
    const std::string dir = tmp.MakeDir("maps");
    tmp.WriteFile("maps/E1M1.BSP", MakeBsp(WorldWithTitle("Slipgate")));
    tmp.WriteFile("maps/my.map.bsp", MakeBsp("{ }"));
    tmp.WriteFile("maps/small.bsp", MakeBsp(WorldWithTitle("Small"), 20479));
    tmp.WriteFile("maps/readme.txt", MakeBsp(WorldWithTitle("Not a map")));
    tmp.MakeDir("maps/folder.bsp");

    const MapScan scan = ScanMapDirectory(dir, ScanOptions{});
    EXPECT_TRUE(scan.found);
    EXPECT_FALSE(scan.Failed());
    EXPECT_EQ(Sorted(scan.entries),
              (std::vector<MapEntry>{{"e1m1", "Slipgate"}, {"my", std::string(kNoDescription)}}));

    const MapScan all = ScanMapDirectory(dir, ScanOptions{0, false});
    ASSERT_EQ(all.entries.size(), 3u);
    EXPECT_EQ(Sorted(all.entries)[2], (MapEntry{"small", "Small"}));
}

TEST(ScanMapDirectory, FoundOnlyForAnExistingDirectoryWithMapFiles) {
    test::TempDir tmp;
    EXPECT_FALSE(ScanMapDirectory(tmp.Str() + "/missing", {}).found);
    tmp.WriteFile("plain/notes.txt", "x");
    EXPECT_FALSE(ScanMapDirectory(tmp.Str() + "/plain", {}).found);
    EXPECT_FALSE(ScanMapDirectory(tmp.Str() + "/plain/notes.txt", {}).found);
    tmp.WriteFile("tiny/a.bsp", "too small");
    const MapScan tiny = ScanMapDirectory(tmp.Str() + "/tiny", {});
    EXPECT_TRUE(tiny.found);
    EXPECT_TRUE(tiny.entries.empty());
    EXPECT_FALSE(tiny.Failed());
}

TEST(ScanMapDirectory, WithoutTitlesOpensNoMapFile) {
    test::TempDir tmp;
    std::string broken = MakeBsp("{ }");
    test::PutInt32(broken, 4, 1 << 30);  // would fail if it were read
    tmp.WriteFile("maps/broken.bsp", broken);
    const MapScan scan = ScanMapDirectory(tmp.Str() + "/maps", ScanOptions{20, true});
    EXPECT_FALSE(scan.Failed());
    EXPECT_EQ(scan.entries, (std::vector<MapEntry>{{"broken", std::string(kNotScanned)}}));

    const MapScan read = ScanMapDirectory(tmp.Str() + "/maps", ScanOptions{});
    EXPECT_EQ(read.error, "Read beyond end of file");
    EXPECT_TRUE(read.found);
    EXPECT_TRUE(read.entries.empty());
}

TEST(ScanPakFile, ListsTheMapEntriesOfTheArchive) {
    test::TempDir tmp;
    const std::string map = MakeBsp(WorldWithTitle("Dismal Oubliette"));
    const std::string longName = "maps/" + std::string(51, 'n');  // 56 bytes, no NUL
    tmp.WriteFile("pak0.pak", MakePak({{"MAPS/DM7.BSP", map},
                                       {"progs/player.mdl", map},
                                       {"maps/notes.txt", map},
                                       {"maps/sub/x.bsp", map},
                                       {"maps/noext", map},
                                       {"maps/tiny.bsp", MakeBsp("{}", 20479)},
                                       {longName, map}}));
    const MapScan scan = ScanPakFile(tmp.Str() + "/pak0.pak", ScanOptions{});
    EXPECT_FALSE(scan.Failed());
    const std::string t = "Dismal Oubliette";
    EXPECT_EQ(
        scan.entries,
        (std::vector<MapEntry>{
            {"dm7", t}, {"notes", t}, {"sub/x", t}, {"noext", t}, {std::string(51, 'n'), t}}));

    const MapScan notScanned = ScanPakFile(tmp.Str() + "/pak0.pak", ScanOptions{20, true});
    ASSERT_EQ(notScanned.entries.size(), 5u);
    EXPECT_EQ(notScanned.entries[0], (MapEntry{"dm7", std::string(kNotScanned)}));
}

TEST(ScanPakFile, AnErrorEndsTheScanKeepingTheEntriesBefore) {
    test::TempDir tmp;
    const std::string map = MakeBsp(WorldWithTitle("First"));
    // The second map names an entities offset the archive does not hold.
    std::string bad(12, '\0');
    test::PutInt32(bad, 4, 1 << 30);
    std::string pak =
        MakePak({{"maps/a.bsp", map}, {"maps/b.bsp", bad, 30000}, {"maps/c.bsp", map}});
    tmp.WriteFile("pak0.pak", pak);
    MapScan scan = ScanPakFile(tmp.Str() + "/pak0.pak", ScanOptions{});
    EXPECT_EQ(scan.error, "Read beyond end of file");
    EXPECT_EQ(scan.entries, (std::vector<MapEntry>{{"a", "First"}}));

    // Without titles the same archive reads cleanly.
    scan = ScanPakFile(tmp.Str() + "/pak0.pak", ScanOptions{20, true});
    EXPECT_FALSE(scan.Failed());
    EXPECT_EQ(scan.entries.size(), 3u);

    EXPECT_EQ(ScanPakFile(tmp.Str() + "/missing.pak", {}).error, "File not found");
}

TEST(ScanPakFile, SurvivesDirectoriesThatLie) {
    const std::string map = MakeBsp(WorldWithTitle("x"));
    const std::string pak = MakePak({{"maps/a.bsp", map}});
    struct Case {
        std::int32_t offset, length;
        bool fails;
    };
    const std::int32_t dir = static_cast<std::int32_t>(pak.size() - 64);
    for (const Case c : {Case{dir, 0x7FFFFFC0, true}, Case{-64, 64, true}, Case{dir, -64, false},
                         Case{dir, 63, false}, Case{0x7FFFFFF0, 64, true}}) {
        std::string bytes = pak;
        test::PutInt32(bytes, 4, c.offset);
        test::PutInt32(bytes, 8, c.length);
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        MemorySource source(std::span<const std::uint8_t>(data, bytes.size()));
        BinaryReader reader(source);
        std::vector<MapEntry> entries;
        if (c.fails) {
            EXPECT_THROW(ScanPak(reader, ScanOptions{}, entries), ReadError) << c.length;
        } else {
            EXPECT_NO_THROW(ScanPak(reader, ScanOptions{}, entries)) << c.length;
            EXPECT_TRUE(entries.empty());
        }
    }
}

TEST(FindPakFiles, FindsTheArchivesWithoutRegardToCase) {
    test::TempDir tmp;
    tmp.WriteFile("ctf/PAK0.PAK", "");
    tmp.WriteFile("ctf/pak1.pak", "");
    tmp.WriteFile("ctf/zpak2.pak", "");
    tmp.MakeDir("ctf/MAPS");
    MapScan paks = FindPakFiles(tmp.Str() + "/ctf");
    EXPECT_TRUE(paks.found);
    std::vector<std::string> names;
    for (const auto& e : paks.entries) {
        names.push_back(e.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"PAK0.PAK", "pak1.pak"}));
    const std::string ctf = platform::JoinPath(tmp.Str(), "ctf");
    const std::string maps = SubdirectoryIgnoringCase(ctf, "maps");
    EXPECT_TRUE(platform::DirectoryExists(maps)) << maps;
    if (!platform::FileNamesIgnoreCase()) {
        EXPECT_EQ(maps, platform::JoinPath(ctf, "MAPS"));  // the spelling on disk
    }
    EXPECT_FALSE(FindPakFiles(tmp.Str() + "/none").found);
    EXPECT_FALSE(FindPakFiles(tmp.Str() + "/ctf/MAPS").found);
}

}  // namespace
}  // namespace fenmar::maps
