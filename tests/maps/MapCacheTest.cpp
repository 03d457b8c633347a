#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>

#include "MapFiles.h"
#include "TempDir.h"
#include "maps/BrowserScan.h"
#include "maps/MapCache.h"
#include "maps/MapDetailCache.h"

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
    const CachedFile row{"a.bsp", {1, 2, 3, 4}, "A"};
    cache->StoreDirectory("d", {row});
    EXPECT_EQ(cache->LoadDirectory("d"), std::vector<CachedFile>{row});
    cache.reset();
    // So does the detail cache.
    const std::string details = tmp.WriteFile("cache/details.sqlite", std::string(4096, 'x'));
    EXPECT_NE(MapDetailCache::Open(details), nullptr);
    // Where no file can be made the scan goes on without a cache.
    tmp.WriteFile("plain", "x");
    EXPECT_EQ(MapCache::Open(tmp.Str() + "/plain/sub/maps.sqlite"), nullptr);
    EXPECT_EQ(MapCache::Open(""), nullptr);
}

TEST_F(MapCacheTest, AMapReplacedWithItsSizeAndTimeKeptIsReadAgain) {
    const std::string dir = tmp.MakeDir("maps");
    const auto path = tmp.Path() / "maps" / "a.bsp";
    const auto changedOf = [&] { return platform::ListFiles(dir, IsBspName).files.at(0).changed; };
    // Renamed over the old one (unzip, rsync -t), or rewritten in place (cp -p).
    const std::function<void(const std::string&)> replacements[] = {
        [&](const std::string& bytes) {
            tmp.WriteFile("new.tmp", bytes);
            std::filesystem::rename(tmp.Path() / "new.tmp", path);
        },
        [&](const std::string& bytes) {
            const std::int64_t before = changedOf();
            do {  // until the system's clock has moved on from the last change
                std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
            } while (changedOf() == before);
        },
    };
    int round = 0;
    for (const auto& replace : replacements) {
        const std::string title = "Old " + std::to_string(round);
        tmp.WriteFile("maps/a.bsp", MakeBsp(WorldWithTitle(title)));
        ScanContext first;
        EXPECT_EQ(SortedRows(Scan(dir, first)), std::vector<std::string>{"a|" + title});
        const auto written = std::filesystem::last_write_time(path);
        replace(MakeBsp(WorldWithTitle("New!" + std::to_string(round))));
        std::filesystem::last_write_time(path, written);
        ScanContext again;
        EXPECT_EQ(SortedRows(Scan(dir, again)),
                  std::vector<std::string>{"a|New!" + std::to_string(round)})
            << round;
        ++round;
    }
}

TEST_F(MapCacheTest, RowsAreKeyedByAbsolutePathAndPrunedWhenTheirFilesAreGone) {
    tmp.WriteFile("q/id1/maps/a.bsp", MakeBsp(WorldWithTitle("A")));
    tmp.WriteFile("q/ctf/maps/c.bsp", MakeBsp(WorldWithTitle("C")));
    const std::string map = MakeBsp(WorldWithTitle("Inside"));
    tmp.WriteFile("q/ctf/pak0.pak", MakePak({{"maps/p.bsp", map}}));
    tmp.WriteFile("q/ctf/pak1.pak", MakePak({{"maps/r.bsp", map}}));
    tmp.MakeDir("q/other");
    const std::string ctf = (tmp.Path() / "q" / "ctf").string();
    const platform::FileInfo pak0 = FindArchives(ctf, false).files.at(0);
    const auto scanAll = [&](const std::string& quake, const std::string& patch) {
        ScanContext context;
        context.cache = cache.get();
        EXPECT_TRUE(ScanForBrowser({quake, patch, {}}, context, [](BrowserList, MapScan) {}));
        return context.counters;
    };
    // A relative Quake path names the same rows from any working directory.
    const auto home = std::filesystem::current_path();
    std::filesystem::current_path(tmp.Path());
    EXPECT_EQ(scanAll("q", "ctf").headersRead, 4u);
    std::filesystem::current_path(tmp.Path() / "q" / "other");
    const ScanCounters fromElsewhere = scanAll("../../q/", "ctf");
    std::filesystem::current_path(home);
    EXPECT_EQ(fromElsewhere.headersRead, 0u);
    EXPECT_EQ(fromElsewhere.cacheHits, 4u);
    EXPECT_EQ(cache->LoadDirectory(ctf + "/maps").size(), 1u);
    ASSERT_TRUE(cache->LoadArchive(ctf, pak0.name, KeyOf(pak0), 20));

    // An archive gone from a full listing of its folder, then the whole patch folder.
    std::filesystem::remove(tmp.Path() / "q" / "ctf" / pak0.name);
    scanAll(tmp.Str() + "/q", "ctf");
    EXPECT_FALSE(cache->LoadArchive(ctf, pak0.name, KeyOf(pak0), 20));
    std::filesystem::remove_all(tmp.Path() / "q" / "ctf");
    scanAll(tmp.Str() + "/q", "other");
    EXPECT_TRUE(cache->LoadDirectory(ctf + "/maps").empty());
    EXPECT_EQ(cache->LoadDirectory(tmp.Str() + "/q/id1/maps").size(), 1u);
}

TEST_F(MapCacheTest, SummariesAndPicturesGoWithTheTitlesOfTheirMaps) {
    const std::string map = MakeBsp(WorldWithTitle("T"));
    for (const char* name : {"q/id1/maps/a.bsp", "q/id1/maps/b.bsp", "q/ctf/maps/c.bsp"}) {
        tmp.WriteFile(name, map);
    }
    tmp.WriteFile("q/ctf/pak0.pak", MakePak({{"maps/p.bsp", map}}));
    tmp.WriteFile("q/ctf/pak1.pak", MakePak({{"maps/r.bsp", map}}));
    const std::string q = tmp.Str() + "/q";
    const auto details = MapDetailCache::Open(cacheFile);
    ASSERT_TRUE(details);
    // Every map's details, keyed as the browser keys them.
    std::vector<MapKey> keys;
    for (const std::string& dir : {q + "/id1/maps", q + "/ctf/maps", q + "/ctf"}) {
        for (const platform::FileInfo& f :
             platform::ListFiles(dir, [](auto) { return true; }).files) {
            keys.push_back(
                dir.ends_with("maps")
                    ? MapKey{dir, f.name, KeyOf(f)}
                    : MapKey{dir + "/" + f.name, f.name == "pak0.pak" ? "p" : "r", KeyOf(f)});
            details->Store(keys.back(), {});
        }
    }
    const auto kept = [&] {
        std::vector<std::string> entries;
        for (const MapKey& k : keys) {
            if (details->Load(k)) {
                entries.push_back(k.entry);
            }
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    };
    const auto scanAll = [&](const std::string& patch) {
        ScanContext context;
        context.cache = cache.get();
        EXPECT_TRUE(ScanForBrowser({q, patch, {}}, context, [](BrowserList, MapScan) {}));
    };
    using Entries = std::vector<std::string>;
    scanAll("ctf");
    EXPECT_EQ(kept(), (Entries{"a.bsp", "b.bsp", "c.bsp", "p", "r"}));
    // A map gone from a full listing of its folder, an archive gone, then the whole patch.
    std::filesystem::remove(tmp.Path() / "q" / "id1" / "maps" / "b.bsp");
    std::filesystem::remove(tmp.Path() / "q" / "ctf" / "pak0.pak");
    scanAll("ctf");
    EXPECT_EQ(kept(), (Entries{"a.bsp", "c.bsp", "r"}));
    std::filesystem::remove_all(tmp.Path() / "q" / "ctf");
    scanAll("");
    EXPECT_EQ(kept(), (Entries{"a.bsp"}));
}

// First entities longer than the window with the title at their end, as editors write them.
std::string LongWorld(const std::string& title, std::size_t before) {
    std::string keys = "{\n\"classname\" \"worldspawn\"\n";
    while (keys.size() < before) {
        keys += "\"_editor_setting\" \"1 2 3\"\n";
    }
    return keys + "\"message\" \"" + title + "\"\n\"wad\" \"gfx.wad\"\n}\n" +
           std::string(6000, ' ');
}

TEST_F(MapCacheTest, TitlesCutShortByTheBudgetAreNeitherLostForGoodNorRemembered) {
    const std::string dir = tmp.MakeDir("maps");
    constexpr int kMaps = 40;
    for (int i = 0; i < kMaps; ++i) {
        tmp.WriteFile("maps/m" + std::to_string(i) + ".bsp",
                      MakeBsp(LongWorld("Title " + std::to_string(10 + i), 600)));
    }
    // What each title needs beyond the window: up to the closing quote of its message.
    const std::string sample = LongWorld("Title 10", 600);
    const std::size_t need = sample.find('"', sample.find("\"message\"") + 11) + 1 - kTitleWindow;
    const auto titled = [](const MapScan& scan) {
        return std::count_if(scan.entries.begin(), scan.entries.end(),
                             [](const MapEntry& e) { return e.description != kNoDescription; });
    };
    // Enough for what the titles need, though not for a 4 KiB chunk each.
    ScanOptions options;
    options.extensionBudget = kMaps * need;
    ScanContext first;
    EXPECT_EQ(titled(Scan(dir, first, options)), kMaps);
    ScanContext cached;
    EXPECT_EQ(titled(Scan(dir, cached, options)), kMaps);
    EXPECT_EQ(cached.counters.cacheHits, static_cast<std::size_t>(kMaps));

    // Too little: the titles cut short are not stored, and come back as the budget allows.
    cache->StoreDirectory(dir, {});
    options.extensionBudget = 10 * need + need / 2;
    ScanContext shortOne;
    const MapScan cut = Scan(dir, shortOne, options);
    EXPECT_TRUE(cut.titlesCut);
    EXPECT_EQ(titled(cut), 10);
    EXPECT_EQ(cache->LoadDirectory(dir).size(), 10u);
    ScanContext next;
    EXPECT_EQ(titled(Scan(dir, next, options)), 20);
    EXPECT_EQ(next.counters.headersRead, static_cast<std::size_t>(kMaps - 10));
}

TEST_F(MapCacheTest, ACancelledScanKeepsWhatItRead) {
    const std::string dir = tmp.MakeDir("maps");
    for (int i = 0; i < 300; ++i) {
        tmp.WriteFile("maps/m" + std::to_string(i) + ".bsp", MakeBsp(WorldWithTitle("T"), 400));
    }
    std::atomic<bool> cancel{false};
    ScanContext first;
    first.cancel = &cancel;
    first.progress = [&](std::size_t) { cancel = true; };  // after the first 250
    Scan(dir, first, {0, false});
    EXPECT_EQ(first.counters.headersRead, 250u);
    ScanContext second;
    EXPECT_EQ(Scan(dir, second, {0, false}).entries.size(), 300u);
    EXPECT_EQ(second.counters.cacheHits, 250u);
    EXPECT_EQ(second.counters.headersRead, 50u);
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
