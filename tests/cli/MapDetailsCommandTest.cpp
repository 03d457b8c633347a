// `fenmar --list-maps --long` and `--map-preview`, run as real processes over a private
// settings folder and cache, on the free game data where it is present and on built maps.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <filesystem>
#include <regex>

#include "BspFiles.h"
#include "MapFiles.h"
#include "TempDir.h"
#include "core/GlobalSettings.h"
#include "core/QuickSetLayout.h"
#include "store/OpenStore.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

const fs::path kFreeMaps = "/work/shared/testdata/quake-free/id1/maps";

class MapCommands : public ::testing::Test {
protected:
    MapCommands() {
        quake = dir.MakeDir("quake");
        auto store =
            store::OpenStoreAt((dir.Path() / "config" / "fenmar" / "settings.sqlite").string())
                .store;
        GlobalSettingsData data;
        data.quakePath = quake;
        WriteGlobalSettings(*store, data);
        Globals working;
        working.Profile->SkillLevel = 2;  // hard: spawnflags 1024 leave out
        SaveQuickSet(*store, "", working, {}, nullptr);
    }

    std::pair<int, std::string> Fenmar(const QStringList& args) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
        env.insert("XDG_CACHE_HOME", QString::fromStdString((dir.Path() / "cache").string()));
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.start(FENMAR_PROGRAM, args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardOutput().toStdString()};
    }

    test::TempDir dir;
    std::string quake;
};

// The entities text of a BSP file, read from its header.
std::string EntitiesOf(const std::string& bsp) {
    const auto at = [&](std::size_t i) {
        return static_cast<std::size_t>(static_cast<std::uint8_t>(bsp[i]) |
                                        static_cast<std::uint8_t>(bsp[i + 1]) << 8 |
                                        static_cast<std::uint8_t>(bsp[i + 2]) << 16);
    };
    const std::string text = bsp.substr(at(4), at(8));
    return text.substr(0, text.find('\0'));
}

// Monsters and secrets on hard, and the modes, counted by patterns over each "{...}" block.
std::string ExpectedFields(const std::string& entities) {
    static const std::regex block(R"(\{([^}]*)\})");
    static const std::regex classname(R"re("classname"\s+"([^"]*)")re");
    static const std::regex flags(R"re("spawnflags"\s+"(\d+))re");
    int monsters = 0, secrets = 0;
    bool sp = false, coop = false, dm = false;
    for (std::sregex_iterator it(entities.begin(), entities.end(), block), end; it != end; ++it) {
        const std::string body = (*it)[1];
        std::smatch c, f;
        if (!std::regex_search(body, c, classname)) {
            continue;
        }
        const bool onHard = !std::regex_search(body, f, flags) || (std::stoi(f[1]) & 1024) == 0;
        monsters += onHard && c[1].str().rfind("monster_", 0) == 0 ? 1 : 0;
        secrets += onHard && c[1] == "trigger_secret" ? 1 : 0;
        sp = sp || c[1] == "info_player_start";
        coop = coop || c[1] == "info_player_coop";
        dm = dm || c[1] == "info_player_deathmatch";
    }
    std::string modes = std::string(sp ? "SP " : "") + (coop ? "coop " : "") + (dm ? "DM " : "");
    if (!modes.empty()) {
        modes.pop_back();
    }
    return std::to_string(monsters) + '\t' + std::to_string(secrets) + '\t' + modes;
}

TEST_F(MapCommands, LongListingCountsAtTheStoredSkillAsTheEntitiesSay) {
    std::vector<std::pair<std::string, std::string>> maps;  // name, file bytes
    std::string built =
        "{ \"classname\" \"worldspawn\" \"message\" \"Built\" }\n"
        "{ \"classname\" \"info_player_deathmatch\" }";
    for (int i = 0; i < 40; ++i) {
        built += "{ \"classname\" \"" +
                 std::string(i % 7 == 0   ? "trigger_secret"
                             : i % 3 == 0 ? "item_health"
                                          : "monster_army") +
                 "\" \"spawnflags\" \"" + std::to_string((i * 389) % 4096) + "\" }\n";
    }
    maps.emplace_back("built", test::MakeBsp(built));
    if (fs::exists(kFreeMaps / "start.bsp")) {
        for (const auto& entry : fs::directory_iterator(kFreeMaps)) {
            if (entry.path().extension() == ".bsp") {
                maps.emplace_back(entry.path().stem().string(), test::ReadFile(entry.path()));
            }
        }
    }
    for (const auto& [name, bytes] : maps) {
        dir.WriteFile("quake/id1/maps/" + name + ".bsp", bytes);
    }
    for (int run = 0; run < 2; ++run) {  // the second from the cache
        const auto [status, out] = Fenmar({"--list-maps", "--long"});
        ASSERT_EQ(status, 0);
        for (const auto& [name, bytes] : maps) {
            if (bytes.size() < 20480) {
                continue;  // below the size of a map
            }
            const std::size_t line = out.find(name + '\t');
            ASSERT_NE(line, std::string::npos) << name << "\n" << out;
            std::string fields = out.substr(line, out.find('\n', line) - line);
            fields = fields.substr(fields.find('\t', name.size() + 1) + 1);
            EXPECT_EQ(fields, ExpectedFields(EntitiesOf(bytes))) << name;
        }
    }
}

TEST_F(MapCommands, LongListingReadsNoMapWhereTheStoredOptionsSaySo) {
    dir.WriteFile("quake/id1/maps/army.bsp",
                  test::MakeBsp("{ \"classname\" \"worldspawn\" \"message\" \"Army\" }"
                                "{ \"classname\" \"monster_army\" }"
                                "{ \"classname\" \"info_player_start\" }"));
    EXPECT_EQ(Fenmar({"--list-maps", "--long"}),
              std::make_pair(0, std::string("army\tArmy\t1\t0\tSP\n")));
    {
        auto store =
            store::OpenStoreAt((dir.Path() / "config" / "fenmar" / "settings.sqlite").string())
                .store;
        GlobalSettingsData data;
        data.quakePath = quake;
        data.dontScanBSPMsgs = true;
        WriteGlobalSettings(*store, data);
    }
    // As the short listing, with the three fields empty; also where the cache knows the map.
    EXPECT_EQ(Fenmar({"--list-maps"}), std::make_pair(0, std::string("army\t<not scanned>\n")));
    EXPECT_EQ(Fenmar({"--list-maps", "--long"}),
              std::make_pair(0, std::string("army\t<not scanned>\t\t\t\n")));
}

TEST_F(MapCommands, PreviewWritesAPictureOfTheMapOrSaysItIsUnknown) {
    std::string bsp2 = test::MakeGeometryBsp(
        "{ \"classname\" \"worldspawn\" }",
        {{0, 0, 1000, 500, 0}, {0, 500, 200, 1000, 128}, {0, 0, 1000, 1000, 256, false}},
        test::kBsp2);
    bsp2.resize(20480, '\0');
    dir.WriteFile("quake/mod/maps/wide.bsp", bsp2);
    const std::string png = (dir.Path() / "wide.png").string();
    EXPECT_EQ(
        Fenmar({"--map-preview", "wide", "--patch", "mod", "--output", QString::fromStdString(png)})
            .first,
        0);
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(256, 256));
    // The low room in the south-east, the higher one lighter in the north-west, nothing
    // north-east of them.
    const QRgb low = image.pixel(200, 200), high = image.pixel(20, 40), none = image.pixel(200, 40);
    EXPECT_LT(qGray(low), qGray(high));
    EXPECT_LT(qGray(none), qGray(low));

    fs::remove(png);
    EXPECT_EQ(Fenmar({"--map-preview", "WIDE.BSP", "--patch", "mod", "--output",
                      QString::fromStdString(png)})
                  .first,
              0);
    EXPECT_TRUE(fs::exists(png));
    EXPECT_EQ(Fenmar({"--map-preview", "nothing", "--output", QString::fromStdString(png)}).first,
              2);
    EXPECT_EQ(Fenmar({"--map-preview", "wide"}).first, 2);  // no --output
}

}  // namespace
}  // namespace fenmar
