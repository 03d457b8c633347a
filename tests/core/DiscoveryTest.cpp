#include "core/Discovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "Environment.h"
#include "TempDir.h"
#include "core/LibraryFolders.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

// --- libraryfolders.vdf ---------------------------------------------------------------------

TEST(LibraryFoldersTest, ReadsBothLayoutsWithEscapesAndComments) {
    const std::string current = R"("libraryfolders"
{
	// the client's own folder
	"0"
	{
		"path"		"/home/p/.local/share/Steam"
		"label"		""
		"apps" { "2310" "123" }
	}
	"1"
	{
		"path"		"D:\\Games\\Steam Library"
	}
})";
    EXPECT_EQ(ParseLibraryFolders(current),
              (std::vector<std::string>{"/home/p/.local/share/Steam", "D:\\Games\\Steam Library"}));
    const std::string older = R"("LibraryFolders" { "TimeNextStatsReport" "1" "contentstatsid" "-9"
        "1" "/mnt/games" "2" "/mnt/games" })";
    // Numbered values count only directly in the block, each path once; "1" of the stats is a
    // value of another name.
    EXPECT_EQ(ParseLibraryFolders(older), (std::vector<std::string>{"/mnt/games"}));
}

TEST(LibraryFoldersTest, DamagedInputKeepsWhatCameBeforeTheDamage) {
    // A "path" outside the library block, or at the wrong depth, is no library.
    EXPECT_TRUE(ParseLibraryFolders(R"("other" { "0" { "path" "/x" } })").empty());
    EXPECT_TRUE(ParseLibraryFolders(R"("libraryfolders" { "0" { "x" { "path" "/x" } } })").empty());
    // Cut off in the middle of the second entry.
    EXPECT_EQ(ParseLibraryFolders(R"("libraryfolders" { "0" { "path" "/a" } "1" { "path" "/b)"),
              std::vector<std::string>{"/a"});
    // Stray closing braces and a block without a key end the reading.
    EXPECT_EQ(ParseLibraryFolders(R"("libraryfolders" { "0" { "path" "/a" } } } "1" "/b")"),
              std::vector<std::string>{"/a"});
    EXPECT_TRUE(ParseLibraryFolders("{ { { \"path\" \"/x\" } } }").empty());
    EXPECT_TRUE(ParseLibraryFolders(std::string("\0\0\"\xff", 4)).empty());
    EXPECT_TRUE(ParseLibraryFolders("").empty());
}

TEST(LibraryFoldersTest, HostileSizesStayBounded) {
    // Very deep nesting: refused at the depth limit, not by running out of stack.
    std::string deep = "\"libraryfolders\" ";
    for (int i = 0; i < 200000; ++i) {
        deep += "\"k\" { ";
    }
    EXPECT_TRUE(ParseLibraryFolders(deep).empty());
    // An endless text value.
    EXPECT_TRUE(
        ParseLibraryFolders("\"libraryfolders\" { \"1\" \"" + std::string(1 << 20, 'a')).empty());
    // Thousands of libraries: only the first ones are taken.
    std::string many = "\"libraryfolders\" {";
    for (int i = 0; i < 5000; ++i) {
        many += " \"" + std::to_string(i) + "\" { \"path\" \"/lib" + std::to_string(i) + "\" }";
    }
    many += " }";
    const auto paths = ParseLibraryFolders(many);
    ASSERT_EQ(paths.size(), kMaxLibraryFolders);
    EXPECT_EQ(paths.front(), "/lib0");
}

// --- Engine names ---------------------------------------------------------------------------

TEST(RecogniseEngineTest, ProgramNamesAnyCaseAndTheirPackagedForms) {
    struct Case {
        const char* file;
        bool windows;
        const char* program;  // "-": not an engine
    };
    const Case cases[] = {
        {"quakespasm", false, "quakespasm"},
        {"QuakeSpasm-Spiked", false, "quakespasm-spiked"},
        {"qss", false, "qss"},
        {"vkQuake", false, "vkquake"},
        {"fteqw-vk", false, "fteqw-vk"},
        {"darkplaces-dedicated", false, "darkplaces-dedicated"},
        {"tyr-glquake", false, "tyr-glquake"},
        {"quake", false, "quake"},
        // Packaged forms: an AppImage with version and machine, a Flatpak application ID.
        {"ironwail-0.8.0-linux-x86_64.AppImage", false, "ironwail"},
        {"quakespasm-spiked-linux64.appimage", false, "quakespasm-spiked"},
        {"io.github.Novum.vkQuake", false, "vkquake"},
        // Not engines: other programs, longer names, the DOS game on Windows, files without
        // .exe on Windows.
        {"quakestat", false, "-"},
        {"quakespasmx", false, "-"},
        {"quake-1.0.AppImage", false, "-"},
        {"ironwail.sh", false, "-"},
        {"quake.exe", true, "-"},
        {"ironwail", true, "-"},
        {"IRONWAIL.EXE", true, "ironwail"},
    };
    for (const Case& c : cases) {
        const auto engine = RecogniseEngine(c.file, c.windows);
        EXPECT_EQ(engine ? engine->program : std::string("-"), c.program)
            << c.file << (c.windows ? " on Windows" : "");
    }
    EXPECT_EQ(RecogniseEngine("qss", false)->name, "QuakeSpasm-Spiked");
}

TEST(Pk3ReadingTest, KnownEnginesTheProgramsOfThe1990sAndAnythingElse) {
    const struct {
        const char* file;
        Pk3Reading reading;
    } cases[] = {
        {"/usr/games/darkplaces-sdl", Pk3Reading::Reads},
        {"FTEQW.exe", Pk3Reading::Reads},
        {"quakespasm-spiked-linux64.AppImage", Pk3Reading::Reads},
        {"/usr/games/quakespasm", Pk3Reading::MayNot},  // older versions are still packaged
        {"quake", Pk3Reading::MayNot},                  // Debian's starter runs any engine
        {"quake.exe", Pk3Reading::DoesNot},
        {"id1/GLQuake.EXE", Pk3Reading::DoesNot},
        {"q95.bat", Pk3Reading::DoesNot},
        {"mygame", Pk3Reading::MayNot},
        {"", Pk3Reading::MayNot},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pk3ReadingOf(c.file), c.reading) << c.file;
    }
}

// --- A whole fake computer ------------------------------------------------------------------

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::SystemIsWindows()) {
            GTEST_SKIP() << "the fake computer uses POSIX modes and links";
        }
    }

    test::TempDir temp;
    const std::string root = temp.MakeDir("root");
    const std::string home = temp.MakeDir("home/player");

    std::string Engine(const std::string& rel) const {
        const std::string path = temp.WriteFile(rel, "#!/bin/sh\n");
        fs::permissions(path, fs::perms::owner_exec, fs::perm_options::add);
        return path;
    }
    std::string GameData(const std::string& rel, const char* file = "ID1/PAK0.PAK") const {
        temp.WriteFile(rel + "/" + file, "PACK");
        return (temp.Path() / rel).string();
    }
    void Link(const fs::path& target, const std::string& rel) const {
        fs::create_directory_symlink(target, temp.Path() / rel);
    }
    DiscoveryEnvironment Env(const std::string& pathList = {}) const {
        DiscoveryEnvironment env;
        env.root = root;
        env.home = home;
        env.pathList = pathList;
        return env;
    }
};

TEST_F(DiscoveryTest, EnginesOnPathAndInTheUsualPlacesEachOnce) {
    const std::string bin = temp.MakeDir("private/bin");
    const std::string onPath = Engine("private/bin/IronWail");
    Engine("private/bin/quakestat");                // another program
    temp.WriteFile("private/bin/vkquake", "data");  // not runnable
    const std::string games = Engine("root/usr/games/quakespasm");
    fs::create_symlink(games, temp.Path() / "private/bin/quakespasm");  // the same program again
    fs::create_symlink(temp.Path() / "nowhere", temp.Path() / "private/bin/fteqw");  // dangling
    const std::string local = Engine("home/player/.local/bin/darkplaces-sdl");
    const std::string appImage = Engine("home/player/Applications/vkquake-1.31.0_x86_64.AppImage");
    const std::string flatpak = Engine("root/var/lib/flatpak/exports/bin/io.github.x.ezQuake");
    const std::string inQuake = Engine("quake/joequake");
    // A loop of links among the places.
    Link(temp.Path() / "home/player/.local/bin", "home/player/.local/bin/again");

    const auto found = FindEngines(Env(bin + ":" + bin + "::"), (temp.Path() / "quake").string());
    std::vector<std::string> paths;
    std::vector<std::string> names;
    for (const auto& engine : found) {
        paths.push_back(engine.path);
        names.push_back(engine.name);
    }
    // PATH first, then the system's places, then home, then the Quake directory.
    EXPECT_EQ(paths, (std::vector<std::string>{onPath, bin + "/quakespasm", flatpak, local,
                                               appImage, inQuake}));
    EXPECT_EQ(names, (std::vector<std::string>{"Ironwail", "QuakeSpasm", "ezQuake",
                                               "DarkPlaces (SDL)", "vkQuake", "JoeQuake"}));
}

TEST_F(DiscoveryTest, InstallationsFromSteamLibrariesGameFoldersAndSystemPlaces) {
    // Two Steam libraries: the client's own and one named in its list, which also names a
    // missing and a looping library; the flatpak client's list is damaged.
    const std::string own = GameData("home/player/.local/share/Steam/steamapps/common/Quake");
    const std::string rerelease =
        GameData("home/player/.local/share/Steam/steamapps/common/Quake/rerelease", "id1/pak0.pak");
    const std::string second =
        GameData("disk2/SteamLibrary/SteamApps/common/quake", "Id1/progs.dat");
    temp.MakeDir("loop");
    Link(temp.Path() / "loop", "loop/self");
    temp.WriteFile("home/player/.local/share/Steam/steamapps/libraryfolders.vdf",
                   "\"libraryfolders\" { \"0\" { \"path\" \"" + home +
                       "/.local/share/Steam\" } \"1\" { \"path\" \"" + temp.Str() +
                       "/disk2/SteamLibrary\" } \"2\" { \"path\" \"/no/such/disk\" } \"3\" { "
                       "\"path\" \"" +
                       temp.Str() + "/loop/self/self/self\" } }");
    temp.WriteFile(
        "home/player/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/"
        "libraryfolders.vdf",
        std::string("\"libraryfolders\" { \"0\" { \"path\" \"\xff\xfe", 12));
    temp.MakeDir("home/player/.steam");  // ~/.steam/steam leads to the same client
    Link(temp.Path() / "home/player/.local/share/Steam", "home/player/.steam/steam");

    // GOG (game folder below "game"), Heroic, a Lutris wine prefix; a folder without data;
    // a link loop and a dangling link below the game folders.
    const std::string gog = GameData("home/player/GOG Games/Quake/game");
    const std::string heroic = GameData("home/player/Games/Heroic/Quake");
    const std::string lutris = GameData("home/player/Games/quake/drive_c/GOG Games/Quake");
    temp.MakeDir("home/player/Games/empty/id1");
    Link(temp.Path() / "home/player/Games", "home/player/Games/Heroic/up");
    Link(temp.Path() / "gone", "home/player/Games/dangling");
    // The system's folder and an engine's own folder.
    const std::string system = GameData("root/usr/share/games/quake");
    const std::string own2 = GameData("home/player/.ironwail");
    temp.MakeDir("home/player/.vkquake/id1");  // configs only

    const auto found = FindQuakeInstallations(Env());
    std::vector<std::string> paths;
    for (const auto& install : found) {
        paths.push_back(install.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{own, rerelease, second, gog, heroic, lutris, system,
                                               own2}));
    ASSERT_GE(found.size(), 3u);
    EXPECT_EQ(found[0].where, "Steam");
    EXPECT_EQ(found[1].where, "Steam, rerelease");
}

TEST_F(DiscoveryTest, SearchStopsAtItsBounds) {
    // A wide tree and a deep one below the game folders.
    for (int i = 0; i < 300; ++i) {
        temp.MakeDir("home/player/Games/wide/d" + std::to_string(i));
    }
    std::string deep = "home/player/Games/deep";
    for (int i = 0; i < 12; ++i) {
        deep += "/d";
    }
    const std::string buried = GameData(deep);
    const std::string near = GameData("home/player/Games/near");

    DiscoveryLimits limits;
    limits.maxDepth = 3;
    EXPECT_EQ(FindQuakeInstallations(Env(), limits).size(), 1u);  // "near" only
    limits.maxDepth = 20;
    EXPECT_EQ(FindQuakeInstallations(Env(), limits).size(), 2u);
    limits.maxEntries = 10;  // the deep tree uses it up
    EXPECT_LE(FindQuakeInstallations(Env(), limits).size(), 1u);

    // Stopped from outside before it starts: nothing is searched.
    std::atomic<bool> stop{true};
    DiscoveryLimits stopped;
    stopped.stop = &stop;
    EXPECT_TRUE(FindQuakeInstallations(Env(), stopped).empty());
    (void)buried;
    (void)near;
}

TEST_F(DiscoveryTest, WinePrefixDrivesAndLinksOutOfTheGameFoldersAreNotWalked) {
    // A Lutris prefix whose z: is the whole (fake) system, which holds game data of others.
    GameData("system/tmp/other-user/Quake");
    const std::string prefix = "home/player/Games/lutris/quake";
    temp.MakeDir(prefix + "/dosdevices");
    Link(temp.Path() / "system", prefix + "/dosdevices/z:");
    const std::string inPrefix = GameData(prefix + "/drive_c/GOG Games/Quake");
    // A link to a folder elsewhere is looked at itself, but not walked.
    GameData("disk/deeper/Quake");
    Link(temp.Path() / "disk", "home/player/Games/disk");
    const std::string linked = GameData("disk2/Quake");
    Link(temp.Path() / "disk2/Quake", "home/player/Games/Quake");

    std::vector<std::string> paths;
    for (const auto& install : FindQuakeInstallations(Env())) {
        paths.push_back(install.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{home + "/Games/Quake", inPrefix}));
    (void)linked;
}

TEST_F(DiscoveryTest, AHugeFolderDoesNotHideGameDataBesideIt) {
    for (int i = 0; i < 300; ++i) {
        temp.WriteFile("home/player/Games/aaa/f" + std::to_string(i), "");
    }
    const std::string quake = GameData("home/player/Games/zzz/Quake");
    DiscoveryLimits limits;
    limits.maxEntries = 200;
    limits.maxEntriesPerDirectory = 50;
    const auto found = FindQuakeInstallations(Env(), limits);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, quake);
}

TEST_F(DiscoveryTest, UnreadableFoldersAreSkipped) {
    const std::string locked = temp.MakeDir("home/player/Games/locked");
    GameData("home/player/Games/locked/Quake");
    const std::string open = GameData("home/player/Games/open");
    fs::permissions(locked, fs::perms::none);
    const auto found = FindQuakeInstallations(Env());
    fs::permissions(locked, fs::perms::owner_all);
    // Root reads every folder regardless of its mode.
    EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                            [&open](const FoundInstallation& f) { return f.path == open; }));
}

}  // namespace
}  // namespace fenmar
