// The cache file under another program's lock, without permission, and damaged in place.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "MapFiles.h"
#include "TempDir.h"
#include "maps/BrowserScan.h"
#include "maps/MapCache.h"

namespace fenmar::maps {
namespace {

class MapCacheFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 200; ++i) {
            tmp.WriteFile("maps/m" + std::to_string(i) + ".bsp",
                          test::MakeBsp(test::WorldWithTitle("Title " + std::to_string(i)), 400));
        }
    }
    ScanCounters ScanWithCache() {
        const std::unique_ptr<MapCache> cache = MapCache::Open(file);
        ScanContext context;
        context.cache = cache.get();
        EXPECT_EQ(ScanMapDirectoryCached(dir, {0, false}, context).entries.size(), 200u);
        return context.counters;
    }
    test::TempDir tmp;
    std::string dir = (tmp.Path() / "maps").string();
    std::string file = (tmp.Path() / "cache" / "maps.sqlite").string();
};

TEST_F(MapCacheFileTest, ACacheThatCannotBeOpenedNowIsLeftAsItIs) {
    EXPECT_EQ(ScanWithCache().headersRead, 200u);
    // Another program holds the file (here: SQLite's exclusive locking), then it cannot be read.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; "
                           "DELETE FROM map_titles WHERE 0;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(MapCache::Open(file), nullptr);  // the scan reads afresh
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    std::filesystem::permissions(file, std::filesystem::perms::none);
    const bool denied = !std::ifstream(file).is_open();  // not for an administrator
    if (denied) {
        EXPECT_EQ(MapCache::Open(file), nullptr);
    }
    std::filesystem::permissions(
        file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(ScanWithCache().cacheHits, 200u) << "the titles were kept";
}

TEST_F(MapCacheFileTest, ADamagedCacheThatStillOpensIsReplaced) {
    EXPECT_EQ(ScanWithCache().headersRead, 200u);
    // All but the first 8 KiB (the header, the list of tables) overwritten with noise.
    const auto size = std::filesystem::file_size(file);
    ASSERT_GT(size, 16384u);
    {
        std::fstream bytes(file, std::ios::binary | std::ios::in | std::ios::out);
        bytes.seekp(8192);
        std::mt19937 noise(25);
        for (auto i = 8192u; i < size; ++i) {
            bytes.put(static_cast<char>(noise() & 0xFF));
        }
    }
    ASSERT_NE(MapCache::Open(file), nullptr);
    EXPECT_EQ(ScanWithCache().headersRead, 200u);
    EXPECT_EQ(ScanWithCache().cacheHits, 200u);
    EXPECT_EQ(ScanWithCache().cacheHits, 200u);
}

}  // namespace
}  // namespace fenmar::maps
