#include "core/QuickSetLayout.h"

#include <gtest/gtest.h>

#include <cstring>

#include "StoreFileTest.h"
#include "store/RegistryHandling.h"

namespace fenmar {
namespace {

using store::JoinKeyPath;

class QuickSetLayout : public test::StoreFileTest {
protected:
    std::vector<std::string> ValueNames(const std::string& path) {
        std::vector<store::NamedValue> values;
        store_->EnumValues(path, values);
        std::vector<std::string> names;
        for (const auto& v : values) {
            names.push_back(v.name);
        }
        return names;
    }
};

// Every field of a Quick-Set set away from its initial value.
Globals ChangedGlobals() {
    Globals g;
    LiveProfile& p = g.Profile;
    p.SetText(TextField::LaunchMap, "e2m3 - The Crypt");
    p.SetText(TextField::GamePatch, "ctf");
    p.SetText(TextField::DemoName, "demo7");
    p.SetText(TextField::HostName, "Frag hall");
    p.SetText(TextField::CurrentServer, "10.0.0.2:26001");
    LaunchProfile& r = p.Record();
    r.SkillLevel = 3;
    r.DemoState = 2;
    r.CommandLineMode = 0;
    r.NoAutoAim = 1;
    r.SafeMode = r.DisableVESA = r.MuteAll = r.NoProtocols = r.DisableCDAudio = r.NoJoystick = 1;
    r.EnableServer = r.ConnectToServer = r.EnableFragLimit = r.EnableTimeLimit = r.NoExit = 1;
    r.ServerType = 1;
    r.MaxPlayers = 16;
    r.FragLimit = 90;
    r.TimeLimit = 45;
    r.Deathmatch = 2;
    r.Teamplay = 1;
    r.Pausable = 0;
    r.ForceCDMediaCheck = 1;
    r.SampleRate = 44100;
    r.DisableTCPIP = r.DisableIPX = r.DisableSerial = 1;
    r.IPXPort = 27000;
    r.UDPPort = 65535;
    r.AllocateMem = 200;
    r.LockMethod = 4;
    g.Executable = "GLQuake";
    g.CloseOnExecQuake = true;
    g.IgnoreGlobalParams = true;
    return g;
}

TEST_F(QuickSetLayout, EveryStoredValueComesBackAndTheLayoutKeepsItsOrderAndKinds) {
    const Globals saved = ChangedGlobals();
    SaveQuickSet(*store_, "Deathmatch night", saved, {"-nosound", "", "<none>", "+gamma 0.5"},
                 nullptr);

    Globals loaded;
    loaded.Profile.SetText(TextField::QuakePath, "/games/quake");
    loaded.Profile.SetText(TextField::ConfigFile, "mine.cfg");
    const StoredProfileExtras extras = ReadQuickSet(*store_, "deathmatch NIGHT", loaded);
    EXPECT_TRUE(extras.generalFound);
    EXPECT_EQ(extras.plugInName, "<none>");
    EXPECT_TRUE(extras.closeOnExecQuake && extras.ignoreGlobalParams && extras.noAutoAim);

    // The record compares field by field apart from the three texts a load never touches.
    LaunchProfile a = saved.Profile.Record();
    LaunchProfile b = loaded.Profile.Record();
    a.QuakePath = b.QuakePath = a.PatchPath = b.PatchPath = a.ConfigFile = b.ConfigFile = nullptr;
    for (TextField f : {TextField::LaunchMap, TextField::GamePatch, TextField::DemoName,
                        TextField::HostName, TextField::CurrentServer}) {
        EXPECT_EQ(loaded.Profile.Text(f), saved.Profile.Text(f));
    }
    a.LaunchMap = b.LaunchMap = a.GamePatch = b.GamePatch = a.DemoName = b.DemoName = nullptr;
    a.HostName = b.HostName = a.CurrentServer = b.CurrentServer = nullptr;
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(loaded.Executable, "GLQuake");
    EXPECT_TRUE(loaded.CloseOnExecQuake && loaded.IgnoreGlobalParams);
    EXPECT_EQ(loaded.Profile.Text(TextField::QuakePath), "/games/quake");
    EXPECT_EQ(loaded.Profile.Text(TextField::ConfigFile), "mine.cfg");
    EXPECT_EQ(ReadAdditionalParams(*store_, "Deathmatch night"),
              (std::vector<std::string>{"-nosound", "+gamma 0.5"}));

    const std::string base = ProfileKey("Deathmatch night");
    EXPECT_EQ(base, "Software\\Corvanta\\Fenmar\\QuickSets\\Deathmatch night");
    EXPECT_EQ(
        ValueNames(JoinKeyPath(base, "General")),
        (std::vector<std::string>{"LaunchMap", "GamePatch", "SkillLevel", "DemoState", "DemoName",
                                  "CommandLineMode", "Executable", "Current Plug-In", "NoAutoAim",
                                  "CloseOnExecQuake", "IgnoreGlobalParams"}));
    EXPECT_EQ(ValueNames(JoinKeyPath(base, "Network")),
              (std::vector<std::string>{"DisableTCP/IP", "DisableIPX", "DisableSerial", "IPXPort",
                                        "UDPPort"}));
    store::ValueData flag;
    store_->QueryValue(JoinKeyPath(base, "General"), "NoAutoAim", flag);
    EXPECT_EQ(flag.type, store::kRegSz);
    EXPECT_EQ(flag.bytes, "Yes");
    EXPECT_EQ(store::RegReadInteger(*store_, JoinKeyPath(base, "Sound"), "SampleRate"), 44100);
    EXPECT_EQ(store::RegReadInteger(*store_, JoinKeyPath(base, "Network"), "UDPPort"), 65535);
}

TEST_F(QuickSetLayout, EmptyHostNameIsKeptButEmptyServerIsTaken) {
    SaveQuickSet(*store_, "", Globals{}, {}, nullptr);
    const std::string mp = JoinKeyPath(ProfileKey(""), "Multiplayer");
    store::RegWriteString(*store_, mp, "HostName", "");
    store::RegWriteString(*store_, mp, "CurrentServer", "");
    Globals g;
    g.Profile.SetText(TextField::HostName, "Keep me");
    g.Profile.SetText(TextField::CurrentServer, "old.server");
    ReadQuickSet(*store_, "", g);
    EXPECT_EQ(g.Profile.Text(TextField::HostName), "Keep me");
    EXPECT_EQ(g.Profile.Text(TextField::CurrentServer), "");
}

TEST_F(QuickSetLayout, MissingKeysKeepFieldsAbsentNumbersTakeInitialValues) {
    store_->CreateKey(JoinKeyPath(ProfileKey("Bare"), "Sound"));
    store_->CreateKey(JoinKeyPath(ProfileKey("Bare"), "Win95"));
    store_->CreateKey(JoinKeyPath(ProfileKey("Bare"), "General"));
    Globals g = ChangedGlobals();
    const StoredProfileExtras extras = ReadQuickSet(*store_, "Bare", g);
    EXPECT_TRUE(extras.generalFound);
    EXPECT_EQ(extras.plugInName, "");
    EXPECT_EQ(g.Profile->Deathmatch, 2);  // no "Multiplayer": kept
    // Absent numbers are not -1 narrowed to 255 / 65535: a bare store composes "+skill 1".
    EXPECT_EQ(g.Profile->SkillLevel, 1);
    EXPECT_EQ(g.Profile->DemoState, 0);
    EXPECT_EQ(g.Profile->CommandLineMode, 1);
    EXPECT_EQ(g.Profile->SampleRate, 11025);
    EXPECT_EQ(g.Profile->ForceCDMediaCheck, 0);
    EXPECT_EQ(g.Profile->AllocateMem, 8);
    EXPECT_EQ(g.Profile->LockMethod, 0);
    EXPECT_FALSE(ReadAdditionalParams(*store_, "Bare").has_value());
}

TEST_F(QuickSetLayout, NumbersOutsideTheirFieldTakeInitialValues) {
    SaveQuickSet(*store_, "Odd", ChangedGlobals(), {}, nullptr);
    const std::string base = ProfileKey("Odd");
    const std::string general = JoinKeyPath(base, "General");
    const std::string mp = JoinKeyPath(base, "Multiplayer");
    store::RegWriteInteger(*store_, general, "SkillLevel", 4);
    store::RegWriteInteger(*store_, general, "DemoState", -1);
    store::RegWriteInteger(*store_, general, "CommandLineMode", 2);
    store::RegWriteInteger(*store_, mp, "ServerType", 256);
    store::RegWriteInteger(*store_, mp, "MaxPlayers", 100);
    store::RegWriteInteger(*store_, mp, "FragLimit", 300);  // would wrap to 44
    store::RegWriteInteger(*store_, mp, "Deathmatch", 3);
    store::RegWriteInteger(*store_, mp, "Teamplay", 255);
    store::RegWriteInteger(*store_, JoinKeyPath(base, "Network"), "UDPPort", 70000);
    store::RegWriteInteger(*store_, JoinKeyPath(base, "Win95"), "LockMethod", 5);
    Globals g = ChangedGlobals();
    ReadQuickSet(*store_, "Odd", g);
    const LaunchProfile initial = LiveProfile().Record();
    EXPECT_EQ(g.Profile->SkillLevel, initial.SkillLevel);
    EXPECT_EQ(g.Profile->DemoState, initial.DemoState);
    EXPECT_EQ(g.Profile->CommandLineMode, initial.CommandLineMode);
    EXPECT_EQ(g.Profile->ServerType, initial.ServerType);
    // Quantities past their field are held at its end, as the number edits hold them.
    EXPECT_EQ(g.Profile->MaxPlayers, 16);
    EXPECT_EQ(g.Profile->FragLimit, 255);
    EXPECT_EQ(g.Profile->Deathmatch, initial.Deathmatch);
    EXPECT_EQ(g.Profile->Teamplay, initial.Teamplay);
    EXPECT_EQ(g.Profile->UDPPort, 65535);
    EXPECT_EQ(g.Profile->LockMethod, initial.LockMethod);
    // The edges of each range are taken as stored.
    store::RegWriteInteger(*store_, general, "SkillLevel", 3);
    store::RegWriteInteger(*store_, mp, "MaxPlayers", 16);
    store::RegWriteInteger(*store_, mp, "Teamplay", 2);
    store::RegWriteInteger(*store_, JoinKeyPath(base, "Win95"), "LockMethod", 4);
    ReadQuickSet(*store_, "Odd", g);
    EXPECT_EQ(g.Profile->SkillLevel, 3);
    EXPECT_EQ(g.Profile->MaxPlayers, 16);
    EXPECT_EQ(g.Profile->Teamplay, 2);
    EXPECT_EQ(g.Profile->LockMethod, 4);
}

TEST_F(QuickSetLayout, ResavingClearsOnlyPlugInSettingsAndAdditionalParams) {
    SaveQuickSet(*store_, "Q", Globals{}, {"a", "b", "c"}, nullptr);
    const std::string base = ProfileKey("Q");
    store::RegWriteString(*store_, JoinKeyPath(base, "General"), "Stray", "kept");
    store_->CreateKey(JoinKeyPath(base, "PlugIn-Settings\\Old plug-in"));
    SaveQuickSet(*store_, "Q", Globals{}, {"x"}, nullptr);
    EXPECT_EQ(store::RegReadString(*store_, JoinKeyPath(base, "General"), "Stray"), "kept");
    EXPECT_FALSE(store_->KeyExists(JoinKeyPath(base, "PlugIn-Settings")));
    EXPECT_EQ(ValueNames(JoinKeyPath(base, "Additional Params")),
              (std::vector<std::string>{"1", "Count"}));
    // Present but empty clears the list; absent keeps it (the caller's choice).
    SaveQuickSet(*store_, "Q", Globals{}, {}, nullptr);
    EXPECT_EQ(ReadAdditionalParams(*store_, "Q"), std::vector<std::string>{});
}

TEST(QuickSetNames, BackslashesPlaceholderAndOverlongNamesAreRefused) {
    EXPECT_EQ(QuickSetNameProblem("Team play"), "");
    EXPECT_NE(QuickSetNameProblem("<none>"), "");  // could never be loaded or deleted
    EXPECT_EQ(QuickSetNameProblem("<NONE>"), "");  // only the exact placeholder means nothing
    EXPECT_EQ(QuickSetNameProblem(""), "");
    EXPECT_NE(QuickSetNameProblem("a\\b"), "");
    EXPECT_EQ(QuickSetNameProblem(std::string(255, 'n')), "");
    EXPECT_NE(QuickSetNameProblem(std::string(256, 'n')), "");
}

}  // namespace
}  // namespace fenmar
