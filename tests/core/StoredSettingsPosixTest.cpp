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

// The layout, pinned: key names, value names, their kinds and their order. Values come in
// the order they were first written, subkeys sorted ignoring case.
constexpr const char* kGoldenLayout = R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar]
"Author"="Ardwell"
"Version"="1.30"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Additional Params]
"1"="-window"
"Count"=dword:00000001

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Executables]
"WinQuake"="winquake.exe"
"GL-Quake"="glquake.exe"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\General]
"LaunchMap"="e1m7"
"GamePatch"="ctf"
"SkillLevel"=dword:00000002
"DemoState"=dword:00000001
"DemoName"="duel1"
"CommandLineMode"=dword:00000000
"Executable"="WinQuake"
"Current Plug-In"="<none>"
"NoAutoAim"="Yes"
"CloseOnExecQuake"="No"
"IgnoreGlobalParams"="Yes"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Global params]
"1"="-nocdaudio"
"2"="+gamma 0.7"
"Count"=dword:00000002

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Internal]
"Quake Path"="/games/quake"
"Patch Path"="/games/quake/mods"
"QSpy executable"="/usr/bin/qstat"
"Delete CONFIG.CFGs"=dword:00000005
"MinBSPSize"=dword:0000001e
"DontScanBSPMsgs"="Yes"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\MRUs]

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\MRUs\Demos]
"1"="duel1"
"2"="demos\\e1"
"Count"=dword:00000002

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\MRUs\Patches]
"1"="ctf"
"Count"=dword:00000001

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\MRUs\Server]
"1"="10.0.0.2"
"Count"=dword:00000001

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Multiplayer]
"EnableServer"="Yes"
"HostName"="Frag hall"
"ConnectToServer"="No"
"CurrentServer"="10.0.0.2"
"ServerType"=dword:00000001
"MaxPlayers"=dword:0000000c
"EnableFragLimit"="No"
"FragLimit"=dword:00000032
"EnableTimeLimit"="Yes"
"TimeLimit"=dword:0000000f
"Deathmatch"=dword:00000002
"Teamplay"=dword:00000001
"NoExit"="No"
"Pausable"="No"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Network]
"DisableTCP/IP"="No"
"DisableIPX"="Yes"
"DisableSerial"="No"
"IPXPort"=dword:00006590
"UDPPort"=dword:00006591

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets]
"CurrentSelected"=dword:00000000

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>]

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>\Additional Params]
"Count"=dword:00000000

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>\General]
"LaunchMap"="<none>"
"GamePatch"="<none>"
"SkillLevel"=dword:00000001
"DemoState"=dword:00000000
"DemoName"="<none>"
"CommandLineMode"=dword:00000001
"Executable"="DOS-Quake"
"Current Plug-In"="<none>"
"NoAutoAim"="No"
"CloseOnExecQuake"="No"
"IgnoreGlobalParams"="No"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>\Multiplayer]
"EnableServer"="No"
"HostName"="My server"
"ConnectToServer"="No"
"CurrentServer"="<none>"
"ServerType"=dword:00000000
"MaxPlayers"=dword:00000008
"EnableFragLimit"="No"
"FragLimit"=dword:00000032
"EnableTimeLimit"="No"
"TimeLimit"=dword:0000001e
"Deathmatch"=dword:00000001
"Teamplay"=dword:00000000
"NoExit"="No"
"Pausable"="Yes"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>\Network]
"DisableTCP/IP"="No"
"DisableIPX"="No"
"DisableSerial"="No"
"IPXPort"=dword:00006590
"UDPPort"=dword:00006590

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>\Sound]
"ForceCDMediaCheck"="No"
"SampleRate"=dword:00002b11

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>\Troubleshooting]
"SafeMode"="No"
"DisableVESA"="No"
"MuteAll"="No"
"NoProtocols"="No"
"DisableCDAudio"="No"
"NoJoystick"="No"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>\Win95]
"AllocateMem"=dword:00000008
"LockMethod"=dword:00000000

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Sound]
"ForceCDMediaCheck"="No"
"SampleRate"=dword:00005622

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Troubleshooting]
"SafeMode"="Yes"
"DisableVESA"="No"
"MuteAll"="No"
"NoProtocols"="No"
"DisableCDAudio"="No"
"NoJoystick"="Yes"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Win95]
"AllocateMem"=dword:00000010
"LockMethod"=dword:00000003

)";

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
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
    EXPECT_EQ(*exported, WithCrLf(kGoldenLayout));

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
    const std::string golden = WithCrLf(kGoldenLayout);
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
