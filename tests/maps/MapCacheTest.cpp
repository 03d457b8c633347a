#include <gtest/gtest.h>

#include <filesystem>

#include "MapFiles.h"
#include "TempDir.h"
#include "maps/BrowserScan.h"
#include "maps/MapCache.h"

namespace fenmar::maps {
namespace {

using test::MakeBsp;
using test::MakePak;
using test::WorldWithTitle;

std::vector<std::string> SortedRows(MapScan scan) {
    SortLikeBrowser(scan.entries);
    std::vector<std::string> rows;
    for (const MapEntry& e : scan.entries) {
        rows.push_back(e.name + "|" + e.description);
    }
    return rows;
}

class MapCacheTest : public ::testing::Test {
protected:
    MapCacheTest() : cacheFile((tmp.Path() / "cache" / "fenmar" / "maps.sqlite").string()) {
        cache = MapCache::Open(cacheFile);
    }
    void SetUp() override {
        if (!cache) {
            GTEST_SKIP() << "map cache tests skipped: this build has no database (SQLite)";
        }
    }
    MapScan Scan(const std::string& dir, ScanContext& context, ScanOptions options = {}) {
        context.cache = cache.get();
        return ScanMapDirectoryCached(dir, options, context);
    }
    test::TempDir tmp;
    std::string cacheFile;
    std::unique_ptr<MapCache> cache;
};

TEST_F(MapCacheTest, ASecondScanReadsOnlyWhatChanged) {
    const std::string dir = tmp.MakeDir("maps");
    tmp.WriteFile("maps/a.bsp", MakeBsp(WorldWithTitle("Alpha")));
    tmp.WriteFile("maps/B.bsp", MakeBsp(WorldWithTitle("Beta")));
    tmp.WriteFile("maps/c.bsp", MakeBsp(WorldWithTitle("Gamma")));
    ScanContext first;
    EXPECT_EQ(SortedRows(Scan(dir, first)),
              (std::vector<std::string>{"a|Alpha", "b|Beta", "c|Gamma"}));
    EXPECT_EQ(first.counters.headersRead, 3u);
    EXPECT_EQ(first.counters.cacheHits, 0u);

    ScanContext second;
    EXPECT_EQ(SortedRows(Scan(dir, second)),
              (std::vector<std::string>{"a|Alpha", "b|Beta", "c|Gamma"}));
    EXPECT_EQ(second.counters.headersRead, 0u);
    EXPECT_EQ(second.counters.cacheHits, 3u);

    // Same size, new contents and time; a new file; a removed one.
    tmp.WriteFile("maps/a.bsp", MakeBsp(WorldWithTitle("Omega")));
    const auto path = tmp.Path() / "maps" / "a.bsp";
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    tmp.WriteFile("maps/d.bsp", MakeBsp(WorldWithTitle("Delta")));
    std::filesystem::remove(tmp.Path() / "maps" / "c.bsp");
    ScanContext third;
    EXPECT_EQ(SortedRows(Scan(dir, third)),
              (std::vector<std::string>{"a|Omega", "b|Beta", "d|Delta"}));
    EXPECT_EQ(third.counters.headersRead, 2u);
    EXPECT_EQ(third.counters.cacheHits, 1u);
    EXPECT_EQ(cache->LoadDirectory(dir).size(), 3u);  // c is gone from the cache too

    // A file grown past the threshold, or the threshold lowered, is read as usual.
    ScanContext lowered;
    tmp.WriteFile("maps/tiny.bsp", MakeBsp(WorldWithTitle("Tiny"), 500));
    EXPECT_EQ(SortedRows(Scan(dir, lowered, {0, false})).size(), 4u);
    EXPECT_EQ(lowered.counters.headersRead, 1u);
}

TEST_F(MapCacheTest, TheSwitchStillOpensNoMapAndAReadErrorStillEndsTheScan) {
    const std::string dir = tmp.MakeDir("maps");
    std::string broken = MakeBsp("{}");
    test::PutInt32(broken, 4, 1 << 30);
    tmp.WriteFile("maps/broken.bsp", broken);
    ScanContext unscanned;
    const MapScan quick = Scan(dir, unscanned, {20, true});
    EXPECT_FALSE(quick.Failed());
    EXPECT_EQ(SortedRows(quick), std::vector<std::string>{"broken|<not scanned>"});
    EXPECT_EQ(unscanned.counters.headersRead, 0u);
    ScanContext scanned;
    EXPECT_EQ(Scan(dir, scanned).error, "Read beyond end of file");
    ScanContext again;  // nothing wrong was remembered
    EXPECT_EQ(Scan(dir, again).error, "Read beyond end of file");
}

TEST_F(MapCacheTest, ArchivesAreKeptWholeBySizeTimeAndThreshold) {
    const std::string map = MakeBsp(WorldWithTitle("Inside"));
    tmp.WriteFile("ctf/pak0.pak", MakePak({{"maps/one.bsp", map}, {"maps/two.bsp", map}}));
    const std::string dir = (tmp.Path() / "ctf").string();
    const ArchiveListing listing = FindArchives(dir, true);
    ASSERT_EQ(listing.files.size(), 1u);
    ScanContext first;
    first.cache = cache.get();
    EXPECT_EQ(ScanArchiveCached(dir, listing.files[0], {}, first).entries.size(), 2u);
    EXPECT_EQ(first.counters.archivesRead, 1u);
    ScanContext second;
    second.cache = cache.get();
    EXPECT_EQ(SortedRows(ScanArchiveCached(dir, listing.files[0], {}, second)),
              (std::vector<std::string>{"one|Inside", "two|Inside"}));
    EXPECT_EQ(second.counters.archivesCached, 1u);
    EXPECT_EQ(second.counters.headersRead, 0u);
    ScanContext otherThreshold;
    otherThreshold.cache = cache.get();
    ScanArchiveCached(dir, listing.files[0], {0, false}, otherThreshold);
    EXPECT_EQ(otherThreshold.counters.archivesRead, 1u);
    platform::FileInfo changed = listing.files[0];
    ++changed.modified;
    ScanContext third;
    third.cache = cache.get();
    ScanArchiveCached(dir, changed, {}, third);
    EXPECT_EQ(third.counters.archivesRead, 1u);
}

TEST(MapCacheFile, ADamagedOrUnusableCacheIsReplacedOrDoneWithout) {
    test::TempDir tmp;
    const std::string file = tmp.WriteFile("cache/maps.sqlite", std::string(4096, 'x'));
    auto cache = MapCache::Open(file);
    if (!cache) {
        GTEST_SKIP() << "map cache tests skipped: this build has no database (SQLite)";
    }
    cache->StoreDirectory("d", {{"a.bsp", 1, 2, "A"}});
    EXPECT_EQ(cache->LoadDirectory("d"), (std::vector<CachedFile>{{"a.bsp", 1, 2, "A"}}));
    cache.reset();
    // Where no file can be made the scan goes on without a cache.
    tmp.WriteFile("plain", "x");
    EXPECT_EQ(MapCache::Open(tmp.Str() + "/plain/sub/maps.sqlite"), nullptr);
    EXPECT_EQ(MapCache::Open(""), nullptr);
}

TEST(MapCacheFile, PackedEntriesSurviveAnyBytesAndRejectDamage) {
    const std::vector<MapEntry> entries{{"a", "x\ty"}, {std::string("n\0l", 3), ""}, {"", "z"}};
    EXPECT_EQ(UnpackEntries(PackEntries(entries)), entries);
    EXPECT_EQ(UnpackEntries(""), std::vector<MapEntry>{});
    const std::string packed = PackEntries(entries);
    EXPECT_EQ(UnpackEntries(packed.substr(0, packed.size() - 1)), std::nullopt);
    EXPECT_EQ(UnpackEntries(std::string("\xFF\xFF\xFF\xFF", 4)), std::nullopt);
}

}  // namespace
}  // namespace fenmar::maps
