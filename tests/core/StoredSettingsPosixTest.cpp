// The whole stored layout as another program sees it (an export through the real fenmar-reg),
// and a save interrupted by a killed process: real child processes on one store file.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "LineEnds.h"
#include "TempDir.h"
#include "core/GlobalSettings.h"
#include "core/QuickSetLayout.h"
#include "store/OpenStore.h"
#include "store/RegistryHandling.h"

namespace fenmar {
namespace {

using store::JoinKeyPath;

// Runs fenmar-reg with `args`; its standard output, or nothing when it failed.
std::optional<std::string> RunRegTool(const std::vector<std::string>& args,
                                      const test::TempDir& dir) {
    const std::string out = (dir.Path() / "tool.out").string();
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || dup2(fd, 1) < 0) {
            _exit(120);
        }
        std::vector<char*> argv{const_cast<char*>(FENMAR_REG_TOOL)};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execv(FENMAR_REG_TOOL, argv.data());
        _exit(121);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return test::ReadFile(out);
}

// Every stored value away from its initial value, so each one shows in the export.
Globals SampleGlobals() {
    Globals g;
    LiveProfile& p = g.Profile;
    p.SetText(TextField::LaunchMap, "e1m7");
    p.SetText(TextField::GamePatch, "ctf");
    p.SetText(TextField::DemoName, "duel1");
    p.SetText(TextField::HostName, "Frag hall");
    p.SetText(TextField::CurrentServer, "10.0.0.2");
    p.SetText(TextField::QuakePath, "/games/quake");
    p.SetText(TextField::PatchPath, "/games/quake/mods");
    LaunchProfile& r = p.Record();
    r.SkillLevel = 2;
    r.DemoState = 1;
    r.CommandLineMode = 0;
    r.NoAutoAim = 1;
    r.SafeMode = 1;
    r.NoJoystick = 1;
    r.EnableServer = 1;
    r.ServerType = 1;
    r.MaxPlayers = 12;
    r.EnableTimeLimit = 1;
    r.TimeLimit = 15;
    r.Deathmatch = 2;
    r.Teamplay = 1;
    r.Pausable = 0;
    r.SampleRate = 22050;
    r.DisableIPX = 1;
    r.UDPPort = 26001;
    r.AllocateMem = 16;
    r.LockMethod = 3;
    g.Executable = "WinQuake";
    g.IgnoreGlobalParams = true;
    return g;
}

GlobalSettingsData SampleData() {
    GlobalSettingsData d;
    d.quakePath = "/games/quake";
    d.patchPath = "/games/quake/mods";
    d.qSpyExecutable = "/usr/bin/qstat";
    d.deleteConfigs = 5;
    d.minBSPSize = 30;
    d.dontScanBSPMsgs = true;
    d.executables = {{"WinQuake", "winquake.exe"}, {"GL-Quake", "glquake.exe"}};
    d.globalParams = {"-nocdaudio", "+gamma 0.7"};
    d.recentPatches = {"<none>", "ctf"};
    d.recentDemos = {"<none>", "duel1", "demos\\e1"};
    d.recentServers = {"<none>", "10.0.0.2"};
    d.currentSelected = 0;
    return d;
}

// The layout, pinned in data/StoredLayout.reg as fenmar-reg exports it (apart from the line
// ends): key names, value names, their kinds and their order. Values come in the order
// they were first written, subkeys sorted ignoring case.
std::string GoldenLayout() {
    return test::Crlf(test::ReadFile(FENMAR_CORE_TEST_DATA "/StoredLayout.reg"));
}

class StoredSettings : public ::testing::Test {
protected:
    std::string File() const { return dir_.Str() + "/settings.sqlite"; }
    test::TempDir dir_;
};

TEST_F(StoredSettings, FirstStartThenSaveGivesExactlyTheKnownLayout) {
    {
        auto store = store::OpenStoreAt(File()).store;
        ASSERT_TRUE(store);
        CreateDefaultQuickSet(*store, Globals{}, {}, nullptr);
        ASSERT_TRUE(
            SaveAllSettings(*store, SampleData(), SampleGlobals(), {"-window", "<none>"}, nullptr));
    }
    const auto exported =
        RunRegTool({"--store", File(), "export", "HKCU\\Software\\Corvanta\\Fenmar"}, dir_);
    ASSERT_TRUE(exported.has_value());
    EXPECT_EQ(*exported, GoldenLayout());

    // What was written reads back through the same names.
    auto store = store::OpenStoreAt(File()).store;
    Globals loaded;
    ReadQuickSet(*store, "", loaded);
    const Globals sample = SampleGlobals();
    EXPECT_EQ(std::memcmp(&loaded.Profile->SkillLevel, &sample.Profile->SkillLevel, 2), 0);
    EXPECT_EQ(loaded.Profile->MaxPlayers, 12);
    EXPECT_EQ(loaded.Profile->UDPPort, 26001);
    EXPECT_EQ(loaded.Profile->LockMethod, 3);
    EXPECT_EQ(loaded.Executable, "WinQuake");
    const auto internal = ReadInternalOptions(*store);
    ASSERT_TRUE(internal.has_value());
    EXPECT_EQ(internal->qSpyExecutable, "/usr/bin/qstat");
    EXPECT_EQ(internal->deleteConfigs, 5);
    EXPECT_EQ(internal->minBSPSize, 30);
    EXPECT_TRUE(internal->dontScanBSPMsgs);
    std::vector<std::string> servers;
    EXPECT_TRUE(ReadRecentList(*store, kRecentServers, servers));
    EXPECT_EQ(servers, std::vector<std::string>{"10.0.0.2"});
}

// The plug-in's part of the profile, in a process that is killed while saving: it writes its
// settings, tells the parent and then keeps the save open.
class StallingPlugIn : public ProfilePlugIn {
public:
    explicit StallingPlugIn(int tell) : tell_(tell) {}
    std::string FileName() override { return "stall.so"; }
    void Save(store::Store& store, std::string_view base) override {
        const std::string key = JoinKeyPath(base, "PlugIn-Settings\\Stall");
        store.DeleteKey(JoinKeyPath(base, "PlugIn-Settings"));
        store::RegWriteString(store::CreateKey(store, key), "Half", "written");
        const char c = 'r';
        [[maybe_unused]] const auto n = write(tell_, &c, 1);
        for (;;) {
            pause();
        }
    }
    void Load(store::Store&, std::string_view, const std::string&) override {}

private:
    int tell_;
};

TEST_F(StoredSettings, WriterKilledInTheMiddleOfSavingLeavesThePreviousSettingsWhole) {
    {
        auto store = store::OpenStoreAt(File()).store;
        ASSERT_TRUE(store);
        ASSERT_TRUE(SaveAllSettings(*store, SampleData(), SampleGlobals(), {"-window"}, nullptr));
    }
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        auto store = store::OpenStoreAt(File()).store;
        GlobalSettingsData changed;  // everything different, the lists shorter
        changed.quakePath = "/elsewhere";
        changed.executables = {{"Other", "other.exe"}};
        changed.recentDemos = {"new"};
        Globals globals;
        globals.Executable = "Other";
        StallingPlugIn plugIn(fds[1]);
        SaveAllSettings(*store, changed, globals, {}, &plugIn);
        _exit(0);
    }
    close(fds[1]);
    char c = 0;
    const bool reached = read(fds[0], &c, 1) == 1;
    close(fds[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(reached) << "the save never reached the plug-in's part";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    const auto exported =
        RunRegTool({"--store", File(), "export", "HKCU\\Software\\Corvanta\\Fenmar"}, dir_);
    ASSERT_TRUE(exported.has_value());
    const std::string golden = GoldenLayout();
    // The golden layout less "<default>" (not created here): the earlier save, untouched.
    const std::string marker =
        "[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\QuickSets\\<default>]";
    const std::string before = golden.substr(0, golden.find(marker));
    const std::string after =
        golden.substr(golden.find("[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\Sound]"));
    EXPECT_EQ(*exported, before + after);
}

}  // namespace
}  // namespace fenmar
