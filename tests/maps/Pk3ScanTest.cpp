#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "MapFiles.h"
#include "TempDir.h"
#include "ZipFiles.h"
#include "maps/BspMessage.h"
#include "maps/Pk3Scan.h"

namespace fenmar::maps {
namespace {

using test::MakeBsp;
using test::WorldWithTitle;
using test::ZipItem;

std::vector<std::string> Rows(const MapScan& scan) {
    std::vector<std::string> rows;
    for (const MapEntry& e : scan.entries) {
        rows.push_back(e.name + "|" + e.description);
    }
    return rows;
}

TEST(Pk3MapName, TakesPlainNamesBelowMapsOnly) {
    EXPECT_EQ(Pk3MapName("maps/e1m1.bsp"), "e1m1");
    EXPECT_EQ(Pk3MapName("MAPS/DM7.BSP"), "dm7");
    EXPECT_EQ(Pk3MapName("maps/Sub/X.bsp"), "sub/x");
    EXPECT_EQ(Pk3MapName("maps/my.map.bsp"), "my");
    for (const char* bad :
         {"maps/notes.txt", "progs/player.mdl", "maps/", "maps/.bsp", "maps/../escape.bsp",
          "maps/a/../../b.bsp", "maps//x.bsp", "maps/./x.bsp", "/maps/x.bsp", "maps\\x.bsp",
          "maps/a\\..\\b.bsp", "maps/c:x.bsp", "maps/new\nline.bsp", "sub/maps/x.bsp",
          "maps/dir.bsp/"}) {
        EXPECT_EQ(Pk3MapName(bad), "") << bad;
    }
    EXPECT_TRUE(IsPk3Name("maps.pk3"));
    EXPECT_TRUE(IsPk3Name("ZZZ.PK3"));
    EXPECT_FALSE(IsPk3Name(".pk3"));
    EXPECT_FALSE(IsPk3Name("maps.pk3.bak"));
    EXPECT_FALSE(IsPk3Name("pak0.pak"));
}

class Pk3Scan : public ::testing::Test {
protected:
    std::filesystem::path Zip(const std::vector<ZipItem>& items) {
        const auto file = tmp.Path() / "maps.pk3";
        test::WriteZip(file, items);
        return file;
    }
    MapScan Scan(const std::filesystem::path& file, ScanOptions options = {}) {
        return ScanPk3File(file.string(), options);
    }
    test::TempDir tmp;
};

TEST_F(Pk3Scan, ListsStoredAndDeflatedMapsInDirectoryOrder) {
    const std::string padding(30000, 'x');
    const auto file = Zip({{"maps/Zed.bsp", MakeBsp(WorldWithTitle("Stored")), false},
                           {"progs/player.mdl", padding},
                           {"maps/sub/abc.bsp", MakeBsp(WorldWithTitle("Deflated"))},
                           {"maps/small.bsp", MakeBsp(WorldWithTitle("Small"), 1000)},
                           {"maps/readme.txt", padding},
                           {"maps/none.bsp", MakeBsp("{ }")}});
    const MapScan scan = Scan(file);
    EXPECT_TRUE(scan.found);
    EXPECT_FALSE(scan.Failed());
    EXPECT_EQ(Rows(scan), (std::vector<std::string>{"zed|Stored", "sub/abc|Deflated",
                                                    "none|<no description>"}));
    // The threshold and the switch keep their meaning.
    EXPECT_EQ(Scan(file, {0, false}).entries.size(), 4u);
    const MapScan unscanned = Scan(file, {20, true});
    EXPECT_EQ(Rows(unscanned),
              (std::vector<std::string>{"zed|<not scanned>", "sub/abc|<not scanned>",
                                        "none|<not scanned>"}));
}

TEST_F(Pk3Scan, StreamsToATitleAtTheEndOfALargeMap) {
    // Real compilers write the entities lump last: the reader inflates its way there and
    // follows a first entity longer than the window.
    std::string keys = "{\n\"classname\" \"worldspawn\"\n";
    while (keys.size() < 2000) {
        keys += "\"_editor_key\" \"1 2 3\"\n";
    }
    keys += "\"message\" \"At the End\"\n}\n";
    std::string big(3 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>((i * 2654435761u) >> 24);  // poorly compressible
    }
    const auto at = static_cast<std::int32_t>(big.size());
    big += keys;
    big.push_back('\0');
    test::PutInt32(big, 4, at);
    test::PutInt32(big, 8, static_cast<std::int32_t>(keys.size() + 1));
    Pk3Work work;
    const MapScan scan = ScanPk3File(Zip({{"maps/big.bsp", big}}).string(), {}, &work);
    EXPECT_EQ(Rows(scan), std::vector<std::string>{"big|At the End"});
    EXPECT_EQ(work.headersRead, 1u);
}

TEST_F(Pk3Scan, SkipsEntriesThatCannotBeTrustedAndKeepsTheRest) {
    const std::string map = MakeBsp(WorldWithTitle("Good"));
    const auto file = Zip({{"maps/first.bsp", map},
                           {"maps/bomb.bsp", map},
                           {"maps/locked.bsp", map},
                           {"maps/shared.bsp", map},
                           {"maps/reached.bsp", map},
                           {"maps/reaching.bsp", map},
                           {"maps/../../escape.bsp", map},
                           {"maps/last.bsp", map, false}});
    // A deflated entry claiming 4 GiB from a few hundred bytes.
    test::PatchEntry(file, "maps/bomb.bsp", [](std::string& b, std::size_t local, std::size_t c) {
        test::Put32(b, local + 22, 0xFFFFFFF0u);
        test::Put32(b, c + 24, 0xFFFFFFF0u);
    });
    // Marked as encrypted.
    test::PatchEntry(file, "maps/locked.bsp", [](std::string& b, std::size_t local, std::size_t c) {
        b[local + 6] = static_cast<char>(b[local + 6] | 1);
        b[c + 8] = static_cast<char>(b[c + 8] | 1);
    });
    // More records for one entry's bytes, and a record starting inside the entry before it:
    // every record involved is left out.
    test::ShareEntry(file, "maps/shared.bsp", {"maps/copy1.bsp", "maps/copy2.bsp"});
    test::PatchEntry(file, "maps/reaching.bsp",
                     [](std::string& b, std::size_t local, std::size_t c) {
                         test::Put32(b, c + 42, static_cast<std::uint32_t>(local - 8));
                     });
    const MapScan scan = Scan(file);
    EXPECT_FALSE(scan.Failed()) << scan.error;
    EXPECT_EQ(Rows(scan), (std::vector<std::string>{"first|Good", "last|Good"}));
}

TEST_F(Pk3Scan, AMapWhoseTitleCannotBeReadIsAReadErrorAsWhenLoose) {
    const std::string map = MakeBsp(WorldWithTitle("Good"));
    std::string shortMap = MakeBsp(WorldWithTitle("Short"));
    test::PutInt32(shortMap, 4, 1 << 30);  // entities beyond the entry
    // The entities beyond the entry; the compressed bytes overwritten.
    const std::vector<std::function<void(std::string&, std::size_t)>> damages = {
        nullptr, [](std::string& b, std::size_t local) {
            const std::size_t data = local + 30 + static_cast<unsigned char>(b[local + 26]);
            for (std::size_t i = 0; i < 40; ++i) {
                b[data + i] = static_cast<char>(0xFF);
            }
        }};
    for (const auto& damage : damages) {
        const auto file = Zip({{"maps/first.bsp", map},
                               {"maps/bad.bsp", damage ? map : shortMap},
                               {"maps/last.bsp", map}});
        if (damage) {
            test::PatchEntry(
                file, "maps/bad.bsp",
                [&](std::string& b, std::size_t local, std::size_t) { damage(b, local); });
        }
        const MapScan scan = Scan(file);
        EXPECT_TRUE(scan.Failed());
        if (!damage) {
            EXPECT_EQ(scan.error, kReadBeyondEnd);
        }
        EXPECT_EQ(Rows(scan), std::vector<std::string>{"first|Good"});
    }
}

TEST_F(Pk3Scan, ABudgetAndTheCancelFlagBoundWhatAnArchiveCosts) {
    // Maps of 1 MiB, mostly zeros, with their entities at the end: each title inflates it all.
    const std::string keys = WorldWithTitle("Deep");
    std::string deep(1 << 20, '\0');
    const std::size_t at = deep.size() - kTitleWindow - 1;
    deep.replace(at, keys.size(), keys);
    test::PutInt32(deep, 4, static_cast<std::int32_t>(at));
    test::PutInt32(deep, 8, static_cast<std::int32_t>(keys.size() + 1));
    const auto file = Zip(
        {{"maps/a.bsp", deep}, {"maps/b.bsp", deep}, {"maps/c.bsp", deep}, {"maps/d.bsp", deep}});
    Pk3Work work;
    work.budget = 5 << 19;  // two and a half maps
    const MapScan scan = ScanPk3File(file.string(), {}, &work);
    EXPECT_EQ(Rows(scan),
              (std::vector<std::string>{"a|Deep", "b|Deep", "c|<not scanned>", "d|<not scanned>"}));
    EXPECT_TRUE(scan.titlesCut);
    EXPECT_GT(work.inflated, 2u << 20);
    EXPECT_LE(work.inflated, work.budget);
    std::atomic<bool> cancel{true};
    Pk3Work stopped;
    stopped.cancel = &cancel;
    EXPECT_TRUE(ScanPk3File(file.string(), {}, &stopped).entries.empty());
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.inflated, 0u);
}

TEST_F(Pk3Scan, AnArchiveThatIsNoZipIsAReadError) {
    for (const std::string& bytes :
         {std::string(), std::string("PK\x03\x04 not really", 15), MakeBsp("{}")}) {
        const auto file = tmp.WriteFile("bad.pk3", bytes);
        const MapScan scan = ScanPk3File(file, {});
        EXPECT_FALSE(scan.found);
        EXPECT_TRUE(scan.Failed());
        EXPECT_TRUE(scan.entries.empty());
    }
    const MapScan missing = ScanPk3File(tmp.Str() + "/missing.pk3", {});
    EXPECT_TRUE(missing.Failed());
    // A good archive cut short loses its central directory.
    std::string whole = test::Slurp(Zip({{"maps/a.bsp", MakeBsp(WorldWithTitle("A"))}}));
    const auto cut = tmp.WriteFile("cut.pk3", whole.substr(0, whole.size() - 30));
    EXPECT_TRUE(ScanPk3File(cut, {}).Failed());
    // Bytes in memory are read the same way.
    const auto* data = reinterpret_cast<const std::uint8_t*>(whole.data());
    EXPECT_EQ(Rows(ScanPk3Bytes({data, whole.size()}, {})), std::vector<std::string>{"a|A"});
}

}  // namespace
}  // namespace fenmar::maps

namespace fenmar::maps {
namespace {

TEST(Pk3ScanBytes, ReadsAnArchiveWrittenWithoutTheLibrary) {
    const std::string zip = test::MakeStoredZip(
        {{"maps/hand.bsp", MakeBsp(WorldWithTitle("By Hand"))}, {"readme.txt", "hello"}});
    const auto* data = reinterpret_cast<const std::uint8_t*>(zip.data());
    EXPECT_EQ(Rows(ScanPk3Bytes({data, zip.size()}, {})), std::vector<std::string>{"hand|By Hand"});
}

}  // namespace
}  // namespace fenmar::maps
