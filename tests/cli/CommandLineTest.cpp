// fenmar's command line, run as a real process over a private settings folder, against the
// window's own "evaluate" and a stand-in game that records how it was started.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProcess>
#include <filesystem>

#include "DesktopEntryDecode.h"
#include "FakeGameLog.h"
#include "MapFiles.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "core/DesktopEntry.h"
#include "core/GlobalSettings.h"
#include "core/QuickSetLayout.h"
#include "core/ServerLists.h"
#include "platform/Process.h"
#include "store/OpenStore.h"
#include "store/PlugInKeys.h"
#include "store/RegistryHandling.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/settings/SettingsController.h"
#include "ui/window/ActionBar.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRoot = "Software\\Corvanta\\Fenmar";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test {
protected:
    CommandLine() {
        quake = dir.MakeDir("my quake");
        dir.MakeDir("my quake/id1");
        fs::copy_file(FENMAR_FAKE_GAME, fs::path(quake) / "fake quake");
        log = dir.Path() / "game.log";
        storeFile = (dir.Path() / "config" / "fenmar" / "settings.sqlite").string();
        Seed();
    }

    // Global options, a working profile and three Quick-Sets, one with a plug-in.
    void Seed() {
        auto store = store::OpenStoreAt(storeFile).store;
        GlobalSettingsData data;
        data.quakePath = quake;
        data.executables = {{"Fake Quake", "fake quake"}, {"Gone", "missing.exe"}};
        data.globalParams = {"-nojoy"};
        WriteGlobalSettings(*store, data);

        Globals working;
        working.Executable = "Fake Quake";
        working.Profile.SetText(TextField::LaunchMap, "e1m1 - Slipgate Complex");
        SaveQuickSet(*store, "", working, {}, nullptr);
        SaveQuickSet(*store, "<default>", working, {}, nullptr);

        Globals coop;
        coop.Executable = "fake QUAKE";  // found ignoring case, as the window finds it
        LaunchProfile& p = coop.Profile.Record();
        p.EnableServer = 1;
        p.Deathmatch = 0;
        p.MaxPlayers = 4;
        p.DemoState = 1;  // contradicts the server: the window drops it
        coop.Profile.SetText(TextField::HostName, "Bob's \"coop\" 100%");
        coop.Profile.SetText(TextField::LaunchMap, "e2m1 - The Installation");
        coop.Profile.SetText(TextField::GamePatch, "hipnotic");
        SaveQuickSet(*store, "Coop night", coop, {"-zone 2048", "+gl_flashblend 0"}, nullptr);

        Globals plugged = coop;
        plugged.Profile->DemoState = 0;
        SaveQuickSet(*store, "Plugged", plugged, {}, nullptr);
        store::RegWriteString(*store, std::string(kRoot) + "\\QuickSets\\Plugged\\General",
                              "Current Plug-In", "DeathmatchRules" + LibrarySuffix());

        Globals broken = working;
        broken.Executable = "Nothing like it";
        SaveQuickSet(*store, "No executable", broken, {}, nullptr);
        SaveQuickSet(*store, "Cannot start", working, {}, nullptr);
        store::RegWriteString(*store, std::string(kRoot) + "\\QuickSets\\Cannot start\\General",
                              "Executable", "Gone");
    }

    static std::string LibrarySuffix() {
        for (const auto& entry : fs::directory_iterator(FENMAR_TEST_PLUGIN_DIR)) {
            if (entry.path().stem() == "DeathmatchRules")
                return entry.path().extension().string();
        }
        return ".so";
    }

    Outcome Fenmar(const QStringList& args) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
        env.insert("XDG_CACHE_HOME", QString::fromStdString((dir.Path() / "cache").string()));
        env.insert("FENMAR_FAKE_GAME_LOG", QString::fromStdString(log.string()));
        env.remove("DISPLAY");  // no display is needed
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.start(FENMAR_PROGRAM, args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    // What the window's "evaluate" shows after a fresh start and choosing `quickSet`.
    std::string WindowEvaluate(const std::string& quickSet) const {
        auto store = store::OpenStoreAt(storeFile).store;
        store::SetPlugInStore(store.get());
        std::string line;
        {
            test::ScriptedUiServices services;
            ui::AppContext context(services);
            context.store = store.get();
            context.programDir = fs::path(FENMAR_TEST_PLUGIN_DIR).parent_path().string();
            ui::AppWindows windows(context);
            windows.main->settings->LoadSettings();
            if (!quickSet.empty()) {
                windows.main->settings->LoadQuickSet(quickSet);
            }
            windows.main->launchOptions->buEvalCmdLineClick();
            line = windows.main->commandLine->edCommandLine->text().toLocal8Bit().toStdString();
        }
        store::SetPlugInStore(nullptr);
        return line;
    }

    std::string ConfigFile() const { return (fs::path(quake) / "id1" / "fenmar.cfg").string(); }

    test::TempDir dir;
    std::string quake;
    fs::path log;
    std::string storeFile;
};

TEST_F(CommandLine, VersionHelpAndQuickSetList) {
    Outcome o = Fenmar({"--version"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "Fenmar 1.30\n");

    o = Fenmar({"--help"});
    EXPECT_EQ(o.status, 0);
    EXPECT_NE(o.out.find("Usage: fenmar"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("--print-command-line"), std::string::npos);

    o = Fenmar({"--list-quicksets"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "<default>\nCannot start\nCoop night\nNo executable\nPlugged\n");
}

TEST_F(CommandLine, WrongCallsNameTheProblemAndShowTheUsage) {
    struct Case {
        QStringList args;
        std::string named;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "frobnicate"},
        {{"--print-command-line", "Coop day"}, "Coop day"},
        {{"--run", "nope"}, "nope"},
        {{"--run", "--list-quicksets"}, "--run"},
        {{"--print-command-line", "Coop", "night"}, "quote"},
        {{"--version", "--run"}, "--version"},
        {{"--print-command-line", "--patch", "foo"}, "--patch"},
        {{"--run", "--hex-name", "zz"}, "hexadecimal"},
        {{"stray"}, "stray"},
    };
    for (const Case& c : cases) {
        const Outcome o = Fenmar(c.args);
        EXPECT_EQ(o.status, 2) << c.named;
        EXPECT_TRUE(o.out.empty()) << o.out;
        EXPECT_NE(o.err.find(c.named), std::string::npos) << o.err;
        EXPECT_NE(o.err.find("Usage: fenmar"), std::string::npos) << o.err;
    }
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(CommandLine, PrintsExactlyWhatTheWindowEvaluatesAndWritesNothing) {
    for (const std::string name : {"Coop night", "Plugged", "<default>", ""}) {
        const Outcome o = Fenmar(
            name.empty() ? QStringList{"--print-command-line"}
                         : QStringList{"--print-command-line", QString::fromStdString(name)});
        ASSERT_EQ(o.status, 0) << name << ": " << o.err;
        EXPECT_FALSE(fs::exists(ConfigFile())) << "printing wrote the config file";
        const std::string printed = o.out.substr(0, o.out.find('\n'));
        const std::string shown = WindowEvaluate(name);
        EXPECT_EQ(printed, shown) << name;
        // The config file's lines follow, marked, exactly as evaluating wrote them.
        std::string expected;
        std::size_t pos = o.out.find('\n') + 1;
        while (pos < o.out.size()) {
            const std::size_t end = o.out.find('\n', pos);
            const std::string line = o.out.substr(pos, end - pos);
            EXPECT_EQ(line.rfind("config file: ", 0), 0u) << line;
            expected += line.substr(13) + "\r\n";
            pos = end + 1;
        }
        EXPECT_EQ(fs::exists(ConfigFile()) ? test::ReadFile(ConfigFile()) : std::string(), expected)
            << name;
        fs::remove(ConfigFile());
    }
    const Outcome coop = Fenmar({"--print-command-line", "coop NIGHT"});
    const std::string exe = (fs::path(quake) / "fake quake").string();
    EXPECT_EQ(coop.out, exe +
                            " -game hipnotic -nojoy -listen 4 -zone 2048 +exec fenmar.cfg\n"
                            "config file: hostname \"Bob's \"coop\" 100%\"\n"
                            "config file: coop 1\n"
                            "config file: gl_flashblend 0\n"
                            "config file: map e2m1\n");
    // The plug-in's own text is on the line.
    EXPECT_NE(Fenmar({"--print-command-line", "Plugged"}).out.find("config file: map "),
              std::string::npos);
}

TEST_F(CommandLine, RunStartsTheGameWithThePrintedLineAndSavesNothing) {
    {
        // CONFIG.CFG in id1 goes on launching; printing leaves it alone.
        auto store = store::OpenStoreAt(storeFile).store;
        store::RegWriteInteger(*store, std::string(kRoot) + "\\Internal", "Delete CONFIG.CFGs", 5);
    }
    const std::string oldConfig = dir.WriteFile("my quake/id1/CONFIG.CFG", "bind x quit");
    const std::string printed = Fenmar({"--print-command-line", "Coop night"}).out;
    EXPECT_TRUE(fs::exists(oldConfig));
    const std::string line = printed.substr(0, printed.find('\n'));
    const Outcome o = Fenmar({"--run", "Coop night"});
    ASSERT_EQ(o.status, 0) << o.err;
    const test::FakeGameRun run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(fs::path(run.cwd), fs::path(quake));
    const std::string exe = (fs::path(quake) / "fake quake").string();
    EXPECT_EQ(run.args, platform::SplitCommandLine(line.substr(exe.size())));
    EXPECT_FALSE(fs::exists(oldConfig));
    EXPECT_EQ(test::ReadFile(ConfigFile()),
              "hostname \"Bob's \"coop\" 100%\"\r\ncoop 1\r\ngl_flashblend 0\r\nmap e2m1\r\n");

    // The window's run would have stored the Quick-Set as the working profile.
    auto store = store::OpenStoreAt(storeFile).store;
    EXPECT_EQ(store::RegReadString(*store, std::string(kRoot) + "\\General", "LaunchMap"),
              "e1m1 - Slipgate Complex");
    std::vector<std::string> patches;
    store::RegReadStringList(*store, std::string(kRoot) + "\\MRUs\\Patches", patches);
    EXPECT_TRUE(patches.empty());
}

TEST_F(CommandLine, RunRefusesWhatTheWindowWouldAskAboutAndReportsAFailedStart) {
    Outcome o = Fenmar({"--run", "No executable"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("Nothing like it"), std::string::npos) << o.err;

    EXPECT_FALSE(fs::exists(ConfigFile()));  // refused before anything was written

    // As in the window, the config file is written before the start is tried.
    o = Fenmar({"--run", "Cannot start"});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("missing.exe"), std::string::npos) << o.err;
    EXPECT_TRUE(fs::exists(ConfigFile()));
    fs::remove(ConfigFile());

    {
        auto store = store::OpenStoreAt(storeFile).store;
        store::RegWriteString(*store, std::string(kRoot) + "\\Internal", "Quake Path",
                              (dir.Path() / "no such dir").string());
    }
    o = Fenmar({"--run"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("no such dir"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(log));
    EXPECT_FALSE(fs::exists(ConfigFile()));

    // A relative Quake directory is taken from the current directory, and the user is told.
    {
        auto store = store::OpenStoreAt(storeFile).store;
        store::RegWriteString(*store, std::string(kRoot) + "\\Internal", "Quake Path",
                              "relative quake");
    }
    o = Fenmar({"--print-command-line"});
    EXPECT_NE(o.err.find("\"relative quake\" is relative"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find((fs::current_path() / "relative quake").string()), std::string::npos);
}

// A desktop launcher's Exec= starts the game exactly as "--run" does, also for names that
// are not text (an old import's bytes) or hold control characters.
TEST_F(CommandLine, TheDesktopLauncherRunsTheQuickSet) {
    const std::string odd[] = {"Caf\xe9", "bell\a"};
    {
        auto store = store::OpenStoreAt(storeFile).store;
        Globals other;
        other.Executable = "Fake Quake";
        other.Profile->SkillLevel = 3;
        for (const std::string& name : odd) {
            SaveQuickSet(*store, name, other, {}, nullptr);
        }
        SaveQuickSet(*store, "bell", Globals(), {}, nullptr);  // what a blank would name
    }
    const auto launcherArgs = [](const std::string& name) {
        const std::string text = DesktopEntryText(QuickSetShortcut(name, FENMAR_PROGRAM, "fenmar"));
        const auto exec = test::ParseExec(test::UnescapeValue(test::EntryValue(text, "Exec")));
        QStringList args;
        for (std::size_t i = 1; exec && i < exec->size(); ++i) {
            args << QString::fromStdString((*exec)[i]);
        }
        return args;
    };
    const Outcome o = Fenmar(launcherArgs("Coop night"));
    ASSERT_EQ(o.status, 0) << o.err;
    const test::FakeGameRun run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.args.back(), "fenmar.cfg");

    for (const std::string& name : odd) {
        QStringList args = launcherArgs(name);
        args.replace(0, QStringLiteral("--print-command-line"));  // the same choice, no start
        const Outcome printed = Fenmar(args);
        EXPECT_EQ(printed.status, 0) << printed.err;
        EXPECT_NE(printed.out.find("skill 3"), std::string::npos) << printed.out;
    }
}

// Names come from the command line as bytes: a stored name that is not valid text is found.
TEST_F(CommandLine, ANameIsMatchedByItsBytes) {
    if (!fs::exists("/bin/sh")) {
        GTEST_SKIP() << "needs /bin/sh to hand over bytes that are not text";
    }
    {
        auto store = store::OpenStoreAt(storeFile).store;
        Globals other;
        other.Executable = "Fake Quake";
        other.Profile->SkillLevel = 3;
        SaveQuickSet(*store, "Caf\xe9", other, {}, nullptr);
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
    env.insert("LC_ALL", "C.UTF-8");
    process.setProcessEnvironment(env);
    process.start("/bin/sh", {"-c", "exec \"$0\" --print-command-line \"$(printf 'Caf\\351')\"",
                              FENMAR_PROGRAM});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_NE(process.readAllStandardOutput().toStdString().find("skill 3"), std::string::npos);
}

}  // namespace
}  // namespace fenmar

namespace fenmar {
namespace {

TEST_F(CommandLine, ListsTheMapsOfTheStoredQuakeDirectoryAndAGivenPatch) {
    dir.WriteFile("my quake/id1/maps/start.bsp", test::MakeBsp(test::WorldWithTitle("Entrance")));
    dir.WriteFile("my quake/hipnotic/maps/hip1m1.bsp",
                  test::MakeBsp(test::WorldWithTitle("The Pumping Station")));
    dir.WriteFile("my quake/other/maps/o1.bsp", test::MakeBsp(test::WorldWithTitle("Other")));
    // The working profile's patch is the stored one; --patch names another.
    Outcome o = Fenmar({"--list-maps"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "start\tEntrance\n");
    o = Fenmar({"--list-maps", "--patch", "hipnotic"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "start\tEntrance\nhip1m1\tThe Pumping Station\n");
    // The second run reads the titles from the cache and prints the same.
    EXPECT_EQ(Fenmar({"--list-maps", "--patch", "hipnotic"}).out, o.out);
    o = Fenmar({"--list-maps", "stray"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("--list-maps"), std::string::npos) << o.err;
}

TEST_F(CommandLine, QueriesServersAndSaysWhenNoneAnswered) {
    // A loopback port nobody listens on: one line, "no answer", exit 1.
    const Outcome o = Fenmar({"--query", "127.0.0.1:9"});
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_EQ(o.out.rfind("127.0.0.1:9\t", 0), 0u) << o.out;
    EXPECT_NE(o.out.find("no answer"), std::string::npos) << o.out;
    EXPECT_EQ(Fenmar({"--query"}).status, 2);
    EXPECT_NE(Fenmar({"--help"}).out.find("--query"), std::string::npos);
}

TEST_F(CommandLine, ListsTheStoredMastersAndAsksTheOnesGiven) {
    Outcome o = Fenmar({"--list-masters"});
    EXPECT_EQ(o.status, 0) << o.err;
    std::string defaults;
    for (const std::string& master : DefaultMasters()) {
        defaults += master + "\n";
    }
    EXPECT_EQ(o.out, defaults);
    {
        auto store = store::OpenStoreAt(storeFile).store;
        ASSERT_TRUE(WriteStoredMasters(*store, {"dp://127.0.0.1:9", "qw://[::1]:9"}));
    }
    EXPECT_EQ(Fenmar({"--list-masters"}).out, "dp://127.0.0.1:9\nqw://[::1]:9\n");

    // Nobody listens on the loopback port: the master is named, no server is listed.
    o = Fenmar({"--query", "--master", "127.0.0.1:9"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty()) << o.out;
    EXPECT_NE(o.err.find("master 127.0.0.1:9: no answer"), std::string::npos) << o.err;
    o = Fenmar({"--query", "--master", "nq://127.0.0.1:9"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("nq://127.0.0.1:9"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace fenmar
