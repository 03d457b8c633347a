// The add-on options of fenmar's command line, run as real processes over a private settings
// folder, against a catalogue on the loopback server and the stand-in game.

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>

#include "AddOnFixtures.h"
#include "FakeGameLog.h"
#include "core/GlobalSettings.h"
#include "core/QuickSetLayout.h"
#include "store/OpenStore.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class AddOnCommands : public ::testing::Test {
protected:
    AddOnCommands() {
        quake = dir.MakeDir("quake");
        dir.MakeDir("quake/id1");
        fs::copy_file(FENMAR_FAKE_GAME, fs::path(quake) / "fake quake");
        auto store =
            store::OpenStoreAt((dir.Path() / "config" / "fenmar" / "settings.sqlite").string())
                .store;
        GlobalSettingsData data;
        data.quakePath = quake;
        data.executables = {{"Fake Quake", "fake quake"}};
        WriteGlobalSettings(*store, data);
        Globals working;
        working.Executable = "Fake Quake";
        working.Profile.SetText(TextField::LaunchMap, "e1m1");
        working.Profile.Record().CommandLineMode = 0;  // everything on the line
        SaveQuickSet(*store, "", working, {"-old"}, nullptr);
    }

    Outcome Fenmar(QStringList args) const {
        args << "--catalogue" << catalogue;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
        env.insert("XDG_CACHE_HOME", QString::fromStdString((dir.Path() / "cache").string()));
        env.insert("FENMAR_FAKE_GAME_LOG", QString::fromStdString(log.string()));
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.start(FENMAR_PROGRAM, args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    std::string Q(const std::string& rel) const { return (fs::path(quake) / rel).string(); }

    // Every file below the test's folder (the Quake directory's neighbours included).
    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
            const std::string rel = fs::relative(entry.path(), dir.Path()).generic_string();
            if (entry.is_regular_file() && rel.rfind("cache/", 0) != 0 &&
                rel.rfind("config/", 0) != 0 && rel.rfind("zips/", 0) != 0) {
                files.push_back(rel);
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    test::TempDir dir;
    test::LoopbackHttpServer server;
    std::string quake;
    fs::path log = dir.Path() / "game.log";
    QString catalogue;
};

TEST_F(AddOnCommands, InstallsWithTheModFirstPlaysAndRemovesKeepingAnEditedFile) {
    catalogue = test::Publish(server, dir, test::ModAndMap());

    Outcome o = Fenmar({"--addons", "my"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "mymod\t-\tmod\t2021-03-04\t4.5\tMy Mod\tTester\n"
              "mymap\t-\tmap\t2021-03-04\t4.5\tMy Map\tTester\n");

    o = Fenmar({"--install-addon", "mymap"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "mymod\tinstalled\nmymap\tinstalled\n");
    const std::vector<QString> asked = server.Requests();
    ASSERT_EQ(asked.size(), 3u);  // the catalogue once, then mod before map
    EXPECT_EQ(asked[1], "/filebase/mymod.zip");
    EXPECT_EQ(asked[2], "/filebase/mymap.zip");
    EXPECT_EQ(test::ReadFile(Q("mymod/pak0.pak")), std::string(3000, 'p'));
    EXPECT_EQ(test::ReadFile(Q("mymod/maps/second.bsp")), "second map");
    EXPECT_EQ(test::ReadFile(Q("mymod/maps/mymap.txt")), "read me");
    EXPECT_EQ(Fenmar({"--addons", "mymap"}).out.substr(0, 16), "mymap\tinstalled\t");

    o = Fenmar({"--play-addon", "mymap", "--map", "second"});
    ASSERT_EQ(o.status, 0) << o.err;
    const test::FakeGameRun run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    const std::vector<std::string> expected = {"-game", "mymod", "-nomonsters", "+map", "second"};
    EXPECT_TRUE(std::search(run.args.begin(), run.args.end(), expected.begin(), expected.end()) !=
                run.args.end())
        << o.err << ::testing::PrintToString(run.args);
    EXPECT_EQ(std::count(run.args.begin(), run.args.end(), "-old"), 0);

    // The user edits one file of the map: removing keeps it and says so.
    dir.WriteFile("quake/mymod/maps/first.bsp", "my own edit");
    const std::vector<std::string> before = Files();
    o = Fenmar({"--remove-addon", "mymap"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("first.bsp"), std::string::npos) << o.err;
    EXPECT_EQ(test::ReadFile(Q("mymod/maps/first.bsp")), "my own edit");
    EXPECT_FALSE(fs::exists(Q("mymod/maps/second.bsp")));
    EXPECT_FALSE(fs::exists(Q("mymod/maps/mymap.txt")));
    EXPECT_TRUE(fs::exists(Q("mymod/pak0.pak")));  // the mod stays
    std::vector<std::string> after = Files();
    EXPECT_EQ(before.size() - after.size(), 3u);  // two files and the map's record
}

TEST_F(AddOnCommands, RefusesUnsafeZipsOverwritesOnlyWhenToldAndNamesWrongCalls) {
    std::vector<test::Release> releases = test::ModAndMap();
    releases.push_back(
        {"evil", 1, "Evil", "id1/maps", "", {}, {}, {{"good.bsp", "fine"}, {"../x", "escaped"}}});
    releases.push_back({"clash",
                        1,
                        "Clash",
                        "id1",
                        "",
                        {},
                        {},
                        {{"maps/clash.bsp", "theirs"}, {"autoexec.cfg", "bind x quit"}}});
    releases.push_back({"broken",
                        1,
                        "Broken",
                        "id1",
                        "",
                        {},
                        {},
                        {{"maps/b.bsp", "b"}},
                        "0123456789abcdef0123456789abcdef"});
    catalogue = test::Publish(server, dir, releases);
    dir.WriteFile("quake/id1/autoexec.cfg", "mine");
    const std::vector<std::string> before = Files();

    struct Case {
        QStringList args;
        int status;
        const char* named;
    };
    const Case cases[] = {
        {{"--install-addon", "evil"}, 1, ".."},
        {{"--install-addon", "clash"}, 1, "autoexec.cfg"},
        {{"--install-addon", "broken"}, 1, "MD5"},
        {{"--install-addon", "nosuch"}, 2, "nosuch"},
        {{"--install-addon"}, 2, "--install-addon"},
        {{"--play-addon", "mymod", "mymap"}, 2, "--play-addon"},
        {{"--play-addon", "mymap"}, 1, "not installed"},
        {{"--remove-addon", "nosuch"}, 2, "nosuch"},
    };
    for (const Case& c : cases) {
        const Outcome o = Fenmar(c.args);
        EXPECT_EQ(o.status, c.status) << c.args.join(' ').toStdString() << ": " << o.err;
        EXPECT_NE(o.err.find(c.named), std::string::npos) << o.err;
        EXPECT_EQ(Files(), before) << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "quake" / "id1" / "x"));
    EXPECT_FALSE(fs::exists(dir.Path() / "quake" / "x"));

    Outcome o = Fenmar({"--install-addon", "clash", "--overwrite"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(test::ReadFile(Q("id1/autoexec.cfg")), "bind x quit");

    // Offline: a refresh that fails keeps using the copy and says from when it is.
    server.Serve("/catalogue.xml", test::LoopbackHttpServer::Route{"gone", 404});
    o = Fenmar({"--addons", "clash", "--refresh-catalogue"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out.substr(0, 16), "clash\tinstalled\t");
    EXPECT_NE(o.err.find("404"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("using the copy of"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace fenmar
