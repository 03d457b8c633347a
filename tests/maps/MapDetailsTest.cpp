// A map's picture from above and its entity summary: the readers over built BSP files, the
// packed forms kept in the cache, and the service that answers from the cache.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "BspFiles.h"
#include "MapFiles.h"
#include "TempDir.h"
#include "maps/BspGeometry.h"
#include "maps/EntitySummary.h"
#include "maps/MapDetailService.h"
#include "maps/MapPreview.h"
#include "maps/Pk3Scan.h"

namespace fenmar::maps {
namespace {

using test::Floor;

const std::vector<Floor> kRooms = {
    {0, 0, 100, 50, 0},                          // a low room
    {0, 60, 40, 100, 64},                        // a higher one
    {-50, -50, 150, 150, 128, false},            // a ceiling: looks down
    {-500, -500, 500, 500, 300, true, "sky4"},   // sky
    {200, 200, 300, 300, 16, true, "*trigger"},  // a trigger's texture
};

TopView Read(const std::string& bsp, std::size_t budget = kGeometryBudget) {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(bsp.data()),
                                              bsp.size());
    MemorySource source(bytes);
    BinaryReader reader(source);
    return ReadBspTopView(reader, 0, budget);
}

TEST(BspTopView, DrawsTheUpwardFacesOfEveryFormatLowestFirst) {
    for (const std::uint32_t version : {29u, 30u, test::kBsp2, test::k2psb}) {
        const TopView view = Read(test::MakeGeometryBsp("{}", kRooms, version));
        ASSERT_EQ(view.faces.size(), 2u) << version;
        EXPECT_EQ(view.faces[0].height, 0.0f);
        EXPECT_EQ(view.faces[1].height, 64.0f);
        EXPECT_EQ(view.faces[1].count, 4u);
        EXPECT_EQ(view.minX, 0.0f);
        EXPECT_EQ(view.maxX, 100.0f);
        EXPECT_EQ(view.minY, 0.0f);
        EXPECT_EQ(view.maxY, 100.0f);
        EXPECT_EQ(view.outline, std::vector<std::uint8_t>(8, 1));  // no edge shared
    }
}

TEST(BspTopView, DamagedFilesFailOrLoseOnlyTheirBadFaces) {
    const std::string good = test::MakeGeometryBsp("{}", kRooms);
    constexpr std::size_t kFacesLump = 4 + 7 * 8;
    const auto facesAt = [&] {
        return static_cast<std::size_t>(static_cast<std::uint8_t>(good[kFacesLump]) |
                                        static_cast<std::uint8_t>(good[kFacesLump + 1]) << 8);
    };
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        int faces;  // -1: a read error
    };
    const Case cases[] = {
        {"unknown version", [](std::string& b) { test::PutInt32(b, 0, 28); }, -1},
        {"lump beyond the end", [](std::string& b) { test::PutInt32(b, 4 + 3 * 8, 1 << 30); }, -1},
        {"negative length", [](std::string& b) { test::PutInt32(b, 8 + 12 * 8, -4); }, -1},
        {"first edge out of range",
         [&](std::string& b) { test::PutInt32(b, facesAt() + 4, 1 << 20); }, 1},
        {"plane out of range", [&](std::string& b) { test::PutInt16(b, facesAt(), 999); }, 1},
        {"too many edges", [&](std::string& b) { test::PutInt16(b, facesAt() + 8, 9999); }, 1},
        {"vertex out of range",
         [](std::string& b) {
             test::PutInt32(b, 8 + 3 * 8, 12 * 5);  // the first face's corners and one more
         },
         1},
        {"world model missing", [](std::string& b) { test::PutInt32(b, 8 + 14 * 8, 0); }, 0},
        {"truncated header", [](std::string& b) { b.resize(40); }, -1},
    };
    for (const Case& c : cases) {
        std::string bsp = good;
        c.damage(bsp);
        try {
            EXPECT_EQ(static_cast<int>(Read(bsp).faces.size()), c.faces) << c.what;
        } catch (const ReadError&) {
            EXPECT_EQ(c.faces, -1) << c.what;
        }
    }
    EXPECT_THROW(Read(good, 100), ReadError);  // over the budget
}

TEST(MapPreview, FitsTheLongSideFillsByHeightAndOutlines) {
    const TopView view = Read(test::MakeGeometryBsp("{}", kRooms));
    const PreviewRaster r = RasterizeTopView(view, 104);  // 100 units across, margins of 2
    ASSERT_EQ(r.width, 104);
    ASSERT_EQ(r.height, 104);
    const auto at = [&](int x, int y) {
        return r.shades[static_cast<std::size_t>(y * r.width + x)];
    };
    EXPECT_EQ(at(50, 80), kShadeLowest);   // inside the low room (south is at the bottom)
    EXPECT_EQ(at(20, 20), kShadeHighest);  // inside the high room
    EXPECT_EQ(at(80, 20), kShadeEmpty);    // beside it, nothing
    EXPECT_EQ(at(2, 80), kShadeBorder);    // the low room's west wall
    EXPECT_EQ(at(0, 0), kShadeEmpty);      // the margin

    EXPECT_EQ(UnpackRaster(PackRaster(r)), r);
    EXPECT_TRUE(RasterizeTopView(TopView{}).Empty());
    TopView speck;  // narrower than any scale could blow up
    speck.points = {0, 0, 1e-38f, 0, 0, 1e-38f};
    speck.outline = {1, 1, 1};
    speck.faces = {{0, 3, 0}};
    speck.maxX = speck.maxY = 1e-38f;
    EXPECT_LE(RasterizeTopView(speck).width, 8);
    const std::string packed = PackRaster(r);
    for (const std::string& bad :
         {packed.substr(0, packed.size() - 2), packed + "\x01\x01", packed.substr(0, 3),
          std::string("\x01\x04\x01\x00", 4), std::string("\x00\x00\x01\x00", 4)}) {
        EXPECT_EQ(UnpackRaster(bad), std::nullopt);
    }
}

TEST(EntitySummary, CountsMonstersAndSecretsPerSkillAndFindsTheModes) {
    struct Case {
        const char* text;
        std::array<std::int32_t, 4> monsters;
        std::array<std::int32_t, 4> secrets;
        const char* modes;
        std::vector<std::string> unknown;
    };
    const Case cases[] = {
        {"{ \"classname\" \"worldspawn\" }\n{ \"classname\" \"info_player_start\" }",
         {0, 0, 0, 0},
         {0, 0, 0, 0},
         "SP",
         {}},
        {"{\"classname\" \"monster_army\"}{\"spawnflags\" \"256\" \"classname\" \"monster_dog\"}"
         "{\"classname\" \"monster_ogre\" \"spawnflags\" \"1536\"}"
         "{\"classname\" \"trigger_secret\" \"spawnflags\" \"2048\"}"
         "{\"classname\" \"info_player_coop\"}{\"classname\" \"info_player_deathmatch\"}",
         {2, 2, 2, 3},
         {1, 1, 1, 0},
         "coop DM",
         {}},
        {"// a comment { \"classname\" \"monster_army\" }\n"
         "{ \"classname\" \"monster_zombie\" \"spawnflags\" \"512.000\" }"
         "{ \"classname\" \"func_rotate\" }{ \"classname\" \"monster_dragon\" }"
         "{ \"classname\" \"func_rotate\" }",
         {2, 1, 2, 2},
         {0, 0, 0, 0},
         "",
         {"func_rotate", "monster_dragon"}},
        // Unterminated: what was read counts, nothing is read beyond the text.
        {"{ \"classname\" \"monster_army\" } { \"classname\" \"monster_drake",
         {2, 2, 2, 2},
         {0, 0, 0, 0},
         "",
         {"monster_drake"}},
    };
    for (const Case& c : cases) {
        const EntitySummary s = SummarizeEntities(c.text);
        EXPECT_EQ(s.monsters, c.monsters) << c.text;
        EXPECT_EQ(s.secrets, c.secrets) << c.text;
        EXPECT_EQ(s.Modes(), c.modes) << c.text;
        EXPECT_EQ(s.unknownClasses, c.unknown) << c.text;
        EXPECT_EQ(UnpackSummary(PackSummary(s)), s);
    }
    EXPECT_EQ(PlayOfSkill(3), Play::Hard);
    EXPECT_EQ(UnpackSummary("short"), std::nullopt);
    EXPECT_EQ(UnpackSummary(std::string(32, '\0') + "\x09"), std::nullopt);
}

TEST(MapDetailService, AnswersFromTheCacheOnceAMapWasReadAndReadsChangedMapsAgain) {
    test::TempDir tmp;
    std::string bsp = test::MakeGeometryBsp(
        "{ \"classname\" \"worldspawn\" }{ \"classname\" \"monster_army\" }", kRooms);
    bsp.resize(20480, '\0');
    tmp.WriteFile("id1/maps/one.bsp", bsp);
    tmp.WriteFile("id1/maps/two.bsp", test::MakeBsp("{ \"classname\" \"monster_dog\" }"));
    tmp.WriteFile("p/pak0.pak", test::MakePak({{"maps/inpak.bsp", bsp}}));
    const std::string cacheFile = (tmp.Path() / "cache" / "maps.sqlite").string();
    const BrowserRequest request{tmp.Str(), "p", {}};
    {
        const auto cache = MapDetailCache::Open(cacheFile);
        MapDetailService service(request, cache.get());
        const auto one = service.Get(BrowserList::ID1, "one", true);
        ASSERT_TRUE(one && one->preview);
        EXPECT_EQ(one->preview->width, kPreviewSide);
        EXPECT_EQ(one->summary.Monsters(Play::Easy), 1);
        EXPECT_EQ(service.Get(BrowserList::ID1, "two", false)->summary.Monsters(Play::Hard), 1);
        const auto inPak = service.Get(BrowserList::BuiltIn, "inpak", true);
        ASSERT_TRUE(inPak && inPak->preview);
        EXPECT_EQ(*inPak->preview, *one->preview);
        std::string error;
        EXPECT_FALSE(service.GetAnywhere("nothing", false, &error));
        EXPECT_EQ(error, "No such map");
        EXPECT_EQ(service.Counters().mapsRead, 3u);
    }
    const auto cache = MapDetailCache::Open(cacheFile);
    if (!cache) {
        GTEST_SKIP() << "map detail cache skipped: this build has no database (SQLite)";
    }
    MapDetailService again(request, cache.get());
    EXPECT_TRUE(again.Get(BrowserList::ID1, "one", true)->preview);
    EXPECT_TRUE(again.GetAnywhere("inpak", true)->preview);
    EXPECT_EQ(again.Counters().mapsRead, 0u);
    EXPECT_EQ(again.Counters().cacheHits, 2u);
    // A picture asked for where only the summary was kept is drawn; a changed map is read.
    EXPECT_TRUE(again.Get(BrowserList::ID1, "two", true)->preview);
    EXPECT_EQ(again.Counters().mapsRead, 1u);
    tmp.WriteFile("id1/maps/one.bsp", test::MakeBsp("{ \"classname\" \"monster_ogre\" }", 30000));
    MapDetailService changed(request, cache.get());
    EXPECT_EQ(changed.Get(BrowserList::ID1, "one", false)->summary.unknownClasses.size(), 0u);
    EXPECT_EQ(changed.Counters().mapsRead, 1u);
}

// Where several archives hold one map, the details are those of the copy the game plays: the
// archive taken last (pak10 after pak2, whatever the directory's order), the first entry of
// an archive that names a map twice, and a loose map before any archive's.
TEST(MapDetailService, AnswersForTheCopyOfAMapTheGameWouldPlay) {
    test::TempDir tmp;
    const auto monsters = [](int n) {
        std::string entities = "{ \"classname\" \"worldspawn\" }";
        for (int i = 0; i < n; ++i) {
            entities += "{ \"classname\" \"monster_army\" }";
        }
        return test::MakeBsp(entities);
    };
    tmp.WriteFile("p/pak2.pak", test::MakePak({{"maps/dup.bsp", monsters(1)}}));
    tmp.WriteFile("p/PAK10.pak",
                  test::MakePak({{"maps/dup.bsp", monsters(2)}, {"maps/dup.bsp", monsters(5)}}));
    tmp.WriteFile("p/pak9.pak", test::MakePak({{"maps/dup.bsp", monsters(3)}}));
    tmp.WriteFile("id1/maps/dup.bsp", monsters(4));
    tmp.WriteFile("id1/pak0.pak", test::MakePak({{"maps/dup.bsp", monsters(6)}}));
    if (Pk3Supported()) {
        tmp.WriteFile("id1/zz.pk3", test::MakeStoredZip({{"maps/dup.bsp", monsters(7)}}));
    }
    MapDetailService service({tmp.Str(), "p", {}}, nullptr);
    const auto count = [](const std::optional<MapDetails>& d) {
        return d ? d->summary.Monsters(Play::Normal) : -1;
    };
    EXPECT_EQ(count(service.Get(BrowserList::BuiltIn, "dup", false)), 2);
    EXPECT_EQ(count(service.GetAnywhere("dup", false)), 2);
    EXPECT_EQ(count(service.Get(BrowserList::ID1, "dup", false)), 4);
}

}  // namespace
}  // namespace fenmar::maps
