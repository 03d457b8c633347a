#include <gtest/gtest.h>

#include "core/CommandLine.h"
#include "platform/FileSystem.h"

namespace fenmar {
namespace {

// The executable in the Quake directory "/quake", joined as this system joins paths.
std::string QuakeExe() {
    return platform::JoinPath("/quake", "quake.exe");
}

// A plug-in slot answering from fixed values; records how often it was asked.
class ScriptedPlugIn : public ActivePlugInQueries {
public:
    bool loaded = true;
    std::optional<AllowList> allow;
    std::string params;
    std::function<void(Globals&)> change;
    int allowQueries = 0;

    bool IsLoaded() const override { return loaded; }
    std::optional<AllowList> QueryAllowList() override {
        ++allowQueries;
        return allow;
    }
    std::string GetParams(Globals& g) override {
        if (change)
            change(g);
        return params;
    }
};

class Compose : public ::testing::Test {
protected:
    Compose() {
        g.Profile.SetText(TextField::QuakePath, "/quake");
        g.Profile->CommandLineMode = 0;
        in.shownExecutable = "DOS-Quake";
        in.hostName = "My server";
    }
    std::string Run(ActivePlugInQueries* plugIn = nullptr) {
        return ComposeCommandLine(g, table, in, plugIn,
                                  [this](const std::string& m) { messages.push_back(m); });
    }
    void Server(bool on) {
        g.Profile->EnableServer = on;
        in.hostName = g.Profile.Text(TextField::HostName);
    }
    Globals g;
    ExecutableTable table;
    ComposeInputs in;
    std::vector<std::string> messages;
};

TEST_F(Compose, InitialProfileGivesThePathAndTheExecutableOnly) {
    EXPECT_EQ(Run(), QuakeExe());
    g.Profile.SetText(TextField::QuakePath, std::string("/quake") + platform::PathSeparator());
    EXPECT_EQ(Run(), QuakeExe());  // no doubled separator
    g.Profile.ClearText(TextField::QuakePath);
    EXPECT_EQ(Run(), "quake.exe");  // an empty path contributes nothing
    EXPECT_TRUE(messages.empty());
}

TEST_F(Compose, MissingExecutableShowsTheMessageAndGoesOn) {
    in.shownExecutable.reset();
    g.Profile->SkillLevel = 3;
    EXPECT_EQ(Run(), platform::JoinPath("/quake", "") + " +skill 3");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "You MUST select an executable first !");
    in.shownExecutable = "Unknown";
    EXPECT_EQ(Run(), QuakeExe() + " +skill 3");
}

TEST_F(Compose, SafeModeReplacesTheFiveSwitchesButNotSound) {
    auto& p = g.Profile.Record();
    p.DisableVESA = p.NoJoystick = p.DisableCDAudio = 1;
    EXPECT_EQ(Run(), QuakeExe() + " -stdvid -nocdaudio -nojoy");
    p.SafeMode = 1;
    p.SampleRate = 22050;
    p.ForceCDMediaCheck = 1;
    EXPECT_EQ(Run(), QuakeExe() + " -safe -sspeed 22050 -cdmediacheck");
    p.MuteAll = 1;  // mute silences sound options even in safe mode
    EXPECT_EQ(Run(), QuakeExe() + " -safe");
    p.SafeMode = 0;
    EXPECT_EQ(Run(), QuakeExe() + " -stdvid -nosound -nocdaudio -nojoy");
}

TEST_F(Compose, NoProtocolsSuppressesEveryNetworkSwitch) {
    auto& p = g.Profile.Record();
    p.DisableTCPIP = p.DisableIPX = p.DisableSerial = 1;
    p.IPXPort = 26001;
    p.UDPPort = 0;
    EXPECT_EQ(Run(), QuakeExe() + " -noudp -noipx -noserial -ipxport 26001 -udpport 0");
    p.NoProtocols = 1;
    EXPECT_EQ(Run(), QuakeExe() + " -nolan");
}

TEST_F(Compose, MemoryCombinations) {
    auto& p = g.Profile.Record();
    struct Case {
        int lock, mem;
        const char* tail;
    };
    const Case cases[] = {
        {0, 8, ""},
        {0, 16, " -winmem 16"},
        {1, 8, " -winlock"},
        {1, 32, " -winmem 32 -winlock"},
        {2, 12, " -winmem 12 -winlockunlock"},
        {3, 16, ""},
        {4, 8, " -heapsize 8"},
        {4, 24, " -heapsize 24"},
        {7, 16, ""},
    };
    for (const auto& c : cases) {
        p.LockMethod = static_cast<std::uint8_t>(c.lock);
        p.AllocateMem = static_cast<std::uint8_t>(c.mem);
        EXPECT_EQ(Run(), QuakeExe() + c.tail) << c.lock << "/" << c.mem;
    }
}

TEST_F(Compose, ServerPlayersHostNameAndRules) {
    auto& p = g.Profile.Record();
    Server(true);
    EXPECT_EQ(Run(), QuakeExe() + " -listen +hostname \"My server\"");
    p.ServerType = 1;
    in.hostName = "<none>";
    EXPECT_EQ(Run(), QuakeExe() + " -dedicated");
    p.MaxPlayers = 16;
    p.EnableFragLimit = 1;
    p.FragLimit = 0;  // enabled with value 0 yields nothing
    p.EnableTimeLimit = 1;
    p.Deathmatch = 0;
    p.Teamplay = 2;
    p.NoExit = 1;
    p.Pausable = 0;
    EXPECT_EQ(Run(), QuakeExe() +
                         " -dedicated 16 +timelimit 30 +coop 1 +teamplay 2 +noexit 1 "
                         "+pausable 0");
    p.Deathmatch = 5;
    p.FragLimit = 20;
    p.EnableServer = 0;
    EXPECT_EQ(Run(), QuakeExe());  // rules only with a server
}

TEST_F(Compose, RulesStayWhenThePlugInForbidsTheServer) {
    ScriptedPlugIn plugIn;
    AllowList a = DefaultAllowList;
    a[ALLOW_SERVER] = 0;
    a[ALLOW_NOEXIT] = 0;
    plugIn.allow = a;
    Server(true);
    g.Profile->Deathmatch = 2;
    g.Profile->NoExit = 1;
    EXPECT_EQ(Run(&plugIn), QuakeExe() + " +deathmatch 2 ");
    EXPECT_EQ(plugIn.allowQueries, 1);
}

TEST_F(Compose, AllowListSuppressesMapPatchSkillDemoAndConnect) {
    ScriptedPlugIn plugIn;
    plugIn.allow = AllowList{};  // everything forbidden
    g.Profile.SetText(TextField::LaunchMap, "e1m1 - Slipgate Complex");
    g.Profile.SetText(TextField::GamePatch, "ctf");
    g.Profile.SetText(TextField::DemoName, "demo1");
    g.Profile->DemoState = 2;
    g.Profile->SkillLevel = 2;
    g.Profile->ConnectToServer = 1;
    EXPECT_EQ(Run(&plugIn), QuakeExe() + " ");
    plugIn.loaded = false;  // an unloaded slot is not asked
    EXPECT_EQ(Run(&plugIn), QuakeExe() + " -game ctf +skill 2 +record demo1 +connect");
    EXPECT_EQ(plugIn.allowQueries, 1);
}

TEST_F(Compose, RecordingWhileConnectingLeavesOutTheMap) {
    g.Profile.SetText(TextField::LaunchMap, "e1m1 - Slipgate Complex");
    g.Profile.SetText(TextField::DemoName, "demo1");
    g.Profile.SetText(TextField::CurrentServer, "quake.example.net:26000");
    g.Profile->DemoState = 2;
    EXPECT_EQ(Run(), QuakeExe() + " +record demo1 e1m1");
    g.Profile->ConnectToServer = 1;
    g.MapSelectable = g.SkillSelectable = false;  // what the window's rules leave
    g.Profile->NoAutoAim = 1;
    EXPECT_EQ(Run(), QuakeExe() + " +record demo1 +connect quake.example.net:26000");
    g.Profile.SetText(TextField::CurrentServer, "<none>");
    EXPECT_EQ(Run(), QuakeExe() + " +record demo1 +connect");
}

TEST_F(Compose, PlaybackSuppressesMapAutoAimAndSkill) {
    g.Profile.SetText(TextField::LaunchMap, "dm6 - The Dark Zone");
    g.Profile.SetText(TextField::DemoName, "duel1");
    g.Profile->NoAutoAim = 1;
    g.Profile->SkillLevel = 0;
    EXPECT_EQ(Run(), QuakeExe() + " +skill 0 +sv_aim 1 +map dm6");
    g.Profile->DemoState = 1;
    g.SkillSelectable = false;
    EXPECT_EQ(Run(), QuakeExe() + " +playdemo duel1");
    g.Profile.SetText(TextField::DemoName, "<none>");
    EXPECT_EQ(Run(), QuakeExe());
}

TEST_F(Compose, UnsetMapGivesNoMapAnywhere) {
    g.Profile.SetText(TextField::DemoName, "demo1");
    g.Profile->DemoState = 2;
    for (const char* map : {"<none>", "", "<none> - anything"}) {
        g.Profile.SetText(TextField::LaunchMap, map);
        g.Profile->DemoState = 2;
        EXPECT_EQ(Run(), QuakeExe() + " +record demo1") << map;
        g.Profile->DemoState = 0;
        EXPECT_EQ(Run(), QuakeExe()) << map;
    }
    g.Profile.SetText(TextField::LaunchMap, "start");  // no blank: taken whole
    EXPECT_EQ(Run(), QuakeExe() + " +map start");
}

TEST_F(Compose, ParameterListsAndIgnoreGlobal) {
    in.globalParams = {"-width 640", "+gl_flashblend 0"};
    in.additionalParams = {"+ai 1", "-zone 512"};
    g.Profile.SetText(TextField::LaunchMap, "e1m1");
    EXPECT_EQ(Run(), QuakeExe() + " -width 640 +gl_flashblend 0 +ai 1 -zone 512 +map e1m1");
    g.IgnoreGlobalParams = true;
    EXPECT_EQ(Run(), QuakeExe() + " +ai 1 -zone 512 +map e1m1");
}

TEST_F(Compose, LaterStepsSeeWhatThePlugInChanged) {
    ScriptedPlugIn plugIn;
    plugIn.params = "-plugin";
    g.Profile.SetText(TextField::LaunchMap, "e1m1");
    plugIn.change = [](Globals& changed) {
        changed.Profile.SetText(TextField::LaunchMap, "e4m8");
        changed.Profile->NoAutoAim = 1;
        changed.Profile.SetText(TextField::QuakePath, "/elsewhere");
    };
    // The path and map name were taken before the plug-in spoke; the auto-aim flag after.
    EXPECT_EQ(Run(&plugIn), QuakeExe() + " -plugin +sv_aim 1 +map e1m1");
    plugIn.change = nullptr;
    plugIn.params.clear();
    EXPECT_EQ(Run(&plugIn),
              platform::JoinPath("/elsewhere", "quake.exe") + "  +sv_aim 1 +map e4m8");
}

}  // namespace
}  // namespace fenmar
