// The plug-in slot with real libraries: defaults for missing entry points, the names that
// must never load, the two record layouts and their take-back, and the info function.

#include <gtest/gtest.h>

#include <filesystem>

#include "Environment.h"
#include "ScriptedPlugInHost.h"
#include "plugins/InfoFunction.h"
#include "plugins/PlugInList.h"

namespace fenmar {
namespace {

TEST(APIVersionText, NamesTheKnownVersionsOnly) {
    EXPECT_EQ(APIVersionText(0x0116), "1.22");
    EXPECT_EQ(APIVersionText(0x011E), "1.30");
    EXPECT_EQ(APIVersionText(-1), "<none>");
    EXPECT_EQ(APIVersionText(0), "<unknown>");
    EXPECT_EQ(APIVersionText(0x0120), "<unknown>");
}

TEST(TPlugInLoad, ANewSlotAndAFailedLoadLookEmpty) {
    test::PlugInBench bench;
    TPlugIn slot(bench.env);
    EXPECT_FALSE(slot.IsLoaded());
    EXPECT_EQ(slot.FileName(), "<none>");
    EXPECT_EQ(slot.APIVersion(), -1);
    EXPECT_FALSE(slot.IsPlugIn());
    EXPECT_EQ(slot.Description(), "<no descritpion available>");
    EXPECT_EQ(slot.GetIcon(1), PlugInIcon::Default(2));
}

TEST(TPlugInLoad, NamesOutsideThePlugInDirectoryAndThePlaceholderNeverLoad) {
    test::PlugInBench bench;
    bench.AddSample("MinimalPlugIn");
    const std::string lib = bench.LibraryName("MinimalPlugIn");
    // Real libraries wait behind each of these names (Windows allows no file called
    // "<none>": there the placeholder is tried without one).
    if (!test::SystemIsWindows()) {
        std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / lib,
                                   std::filesystem::path(bench.plugInDir) / "<none>");
    }
    std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / lib,
                               bench.dir.Path() / lib);
    bench.dir.MakeDir("PlugIns/sub");
    std::filesystem::copy_file(std::filesystem::path(bench.plugInDir) / lib,
                               std::filesystem::path(bench.plugInDir) / "sub" / lib);
    bench.dir.WriteFile("PlugIns/Broken" + std::string(platform::LibrarySuffix()),
                        "this is not a library");

    TPlugIn slot(bench.env);
    for (const std::string& name : std::vector<std::string>{
             std::string("<none>"), "../" + lib, (bench.dir.Path() / lib).string(), "sub/" + lib,
             "sub\\" + lib, std::string(""), std::string(".."), bench.LibraryName("Broken"),
             std::string("Missing.so")}) {
        slot.Load(lib);
        ASSERT_TRUE(slot.IsLoaded());
        slot.Load(name);
        EXPECT_FALSE(slot.IsLoaded()) << name;
        EXPECT_EQ(slot.FileName(), "<none>") << name;
        EXPECT_EQ(slot.APIVersion(), -1) << name;
    }
}

TEST(TPlugInLoad, MissingEntryPointsGetTheHostsDefaults) {
    test::PlugInBench bench;
    bench.AddSample("MinimalPlugIn");
    bench.AddSample("NotAPlugIn");
    TPlugIn slot(bench.env);

    slot.Load(bench.LibraryName("MinimalPlugIn"));
    EXPECT_TRUE(slot.IsLoaded());
    EXPECT_TRUE(slot.IsPlugIn());
    EXPECT_EQ(APIVersionText(slot.APIVersion()), "1.22");
    EXPECT_EQ(slot.Description(), "<no descritpion available>");
    EXPECT_EQ(slot.GetIcon(1), PlugInIcon::Default(2));  // the large icon in both sizes
    EXPECT_EQ(slot.GetIcon(2), PlugInIcon::Default(2));

    slot.Load(bench.LibraryName("NotAPlugIn"));
    EXPECT_TRUE(slot.IsLoaded());
    EXPECT_FALSE(slot.IsPlugIn());
    EXPECT_EQ(slot.APIVersion(), 0x0116);
}

TEST(TPlugInLoad, OddAnswersBecomeNeutralValues) {
    test::PlugInBench bench;
    TPlugIn slot(bench.env);
    const PlugInIcon icon = bench.ActivateFixture(slot, "Oddball");
    EXPECT_EQ(icon, PlugInIcon::Default(2));  // impossible size
    EXPECT_EQ(slot.GetIcon(1), PlugInIcon::Default(1));
    EXPECT_EQ(slot.Description(), "");
    EXPECT_EQ(APIVersionText(slot.APIVersion()), "<unknown>");
    EXPECT_FALSE(bench.host.lastAllowList.has_value());  // no PI_QueryAllowList: all allowed
    const int shown = bench.host.showProfileCount;
    EXPECT_EQ(slot.GetParams(), "");
    // An unknown version gets no record; taking it back only refreshes the window.
    EXPECT_EQ(bench.host.showProfileCount, shown + 1);
    EXPECT_TRUE(bench.host.resolvedFiles.empty());
}

TEST(TPlugInRecords, ALibraryWithoutEntryPointsGetsCopiesThatComeBackUnchanged) {
    test::PlugInBench bench;
    bench.AddSample("NotAPlugIn");
    bench.globals.Profile.SetText(TextField::QuakePath, "/games/quake");
    bench.globals.Profile->MaxPlayers = 12;
    bench.globals.Executable = "GL-Quake";
    bench.host.executableName = "GL-Quake";
    const LiveProfile before = bench.globals.Profile;

    TPlugIn slot(bench.env);
    ActivatePlugIn(slot, bench.LibraryName("NotAPlugIn"));
    slot.GetParams();
    // Every exchange looks the executable up again through its file.
    EXPECT_EQ(bench.host.resolvedFiles, (std::vector<std::string>{"glquake.exe", "glquake.exe"}));
    const LiveProfile& after = bench.globals.Profile;
    for (auto field : {TextField::LaunchMap, TextField::GamePatch, TextField::DemoName,
                       TextField::HostName, TextField::CurrentServer, TextField::QuakePath,
                       TextField::PatchPath, TextField::ConfigFile}) {
        EXPECT_EQ(after.Text(field), before.Text(field));
        EXPECT_EQ(after.IsAbsent(field), before.IsAbsent(field));
    }
    EXPECT_EQ(after->MaxPlayers, 12);
    EXPECT_EQ(after->SampleRate, before->SampleRate);
    EXPECT_EQ(bench.globals.Executable, "GL-Quake");
}

TEST(TPlugInRecords, The122SelectorChoosesTheExecutable) {
    test::PlugInBench bench;
    bench.AddSample("WinQuakeSwitch");
    TPlugIn slot(bench.env);
    ActivatePlugIn(slot, bench.LibraryName("WinQuakeSwitch"));
    bench.host.resolvedFiles.clear();
    bench.host.executableName = "WinQuake";
    slot.Execute();
    EXPECT_EQ(bench.host.resolvedFiles, (std::vector<std::string>{"winquake.exe"}));
    EXPECT_EQ(bench.globals.Executable, "WinQuake");
    EXPECT_EQ(bench.globals.Profile->DisableIPX, 1);
}

TEST(TPlugInRecords, TextsThePlugInStoresAreCopiedAtTakeBack) {
    for (const char* api : {"Recorder130", "Recorder122"}) {
        test::PlugInBench bench;
        TPlugIn slot(bench.env);
        bench.ActivateFixture(slot, api);
        slot.Execute();
        // GetParams overwrites the plug-in's buffers; our copies must not follow.
        slot.GetParams();
        EXPECT_EQ(bench.globals.Profile.Text(TextField::LaunchMap), "e2m2 - from the plug-in");
        EXPECT_EQ(bench.globals.Profile.Text(TextField::DemoName), "plugin-demo");
        EXPECT_EQ(bench.globals.Profile->SkillLevel, 3);
    }
}

TEST(TPlugInRecords, ExecuteReturningFalse) {
    test::PlugInBench bench;
    bench.AddFixture("Recorder122");
    bench.AddFixture("Recorder130");
    bench.ConfigureRecorder("", false);
    TPlugIn slot(bench.env);

    // A 1.22 copy is dropped: the profile stays as it was.
    ActivatePlugIn(slot, bench.LibraryName("Recorder122"));
    int shown = bench.host.showProfileCount;
    slot.Execute();
    EXPECT_EQ(bench.globals.Profile.Text(TextField::LaunchMap), "<none>");
    EXPECT_EQ(bench.globals.Profile->SkillLevel, 1);
    EXPECT_EQ(bench.host.showProfileCount, shown);

    // A 1.30 plug-in changed the live record: that stands, kept as our own copies, but the
    // window is not refreshed.
    ActivatePlugIn(slot, bench.LibraryName("Recorder130"));
    shown = bench.host.showProfileCount;
    slot.Execute();
    EXPECT_EQ(bench.host.showProfileCount, shown);
    slot.GetParams();
    EXPECT_EQ(bench.globals.Profile.Text(TextField::LaunchMap), "e2m2 - from the plug-in");
    EXPECT_EQ(bench.globals.Profile->SkillLevel, 3);
}

TEST(InfoFunction, AnswersEachRequestThroughTheHostsPickers) {
    test::PlugInBench bench;
    bench.globals.Profile.SetText(TextField::QuakePath, "/games/quake");
    bench.globals.Profile.SetText(TextField::PatchPath, "/games/quake/mods");
    bench.host.answers = {
        "e1m3 - The Necropolis", "<none>",       "demos/duel1", std::nullopt,     std::nullopt,
        "glquake.exe",           "winquake.exe", std::nullopt,  "ctf/demos/final"};
    // 0x10007: only the low 16 bits count.
    bench.ConfigureRecorder("0,2,3,1,2,4,5,6,8,7,0x10007,9,65535");
    TPlugIn slot(bench.env);
    bench.ActivateFixture(slot, "Recorder130");
    bench.TakeLog();
    slot.Execute();
    std::vector<std::string> info;
    for (const auto& line : bench.TakeLog()) {
        if (line.rfind("info ", 0) == 0 || line.rfind("host Browse", 0) == 0) {
            info.push_back(line);
        }
    }
    const std::vector<std::string> expected = {
        "host BrowseMap",
        "info 0=e1m3 - The Necropolis",
        "host BrowseForPatch",
        "info 2=<none>",
        "host BrowseDemoID1",
        "info 3=demos/duel1",
        "host BrowseMap",
        "info 1=(nil)",  // cancelled
        "host BrowseForPatch",
        "info 2=",  // cancelled: empty, not nil
        "host BrowseExecutableFile",
        "info 4=glquake.exe",
        "host BrowseExecutableFile",
        "info 5=winquake.exe",
        "host BrowseExecutableFile",
        "info 6=(nil)",  // cancelled
        "host BrowseDemoPatch",
        "info 8=ctf/demos/final",
        "info 7=mods",
        "info 65543=mods",
        "info 9=(nil)",
        "info 65535=(nil)",
    };
    EXPECT_EQ(info, expected);
}

TEST(InfoFunction, A122PlugInsDemoChoiceSurvivesOnlyThroughItsRecord) {
    test::PlugInBench bench;
    bench.host.answers = {"demos/duel1"};
    bench.ConfigureRecorder("3", false);
    TPlugIn slot(bench.env);
    bench.ActivateFixture(slot, "Recorder122");
    slot.Execute();  // not taken back: the picker's choice stays
    EXPECT_EQ(bench.globals.Profile.Text(TextField::DemoName), "demos/duel1");

    bench.host.answers = {"demos/duel2"};
    bench.ConfigureRecorder("3", true);
    slot.Execute();  // taken back: the record's own DemoName wins
    EXPECT_EQ(bench.globals.Profile.Text(TextField::DemoName), "plugin-demo");
}

TEST(InfoFunction, PatchPathRelativeCutsSafely) {
    LiveProfile p;
    EXPECT_EQ(PatchPathRelative(p), "");
    p.SetText(TextField::QuakePath, "/games/quake");
    p.SetText(TextField::PatchPath, "/games/quake");
    EXPECT_EQ(PatchPathRelative(p), "");
    p.SetText(TextField::PatchPath, "/g");
    EXPECT_EQ(PatchPathRelative(p), "");
    p.SetText(TextField::PatchPath, "/games/quake/a/b");
    EXPECT_EQ(PatchPathRelative(p), "a/b");
}

TEST(InfoFunction, AnswersNilOnceTheSlotIsGone) {
    test::PlugInBench bench;
    {
        TPlugIn slot(bench.env);
        bench.ActivateFixture(slot, "Recorder130");
        EXPECT_NE(InfoFnTarget(), nullptr);
    }
    EXPECT_EQ(InfoFnTarget(), nullptr);
    EXPECT_EQ(HostInfoFn()(PI_INFO_PATCH_PATH), nullptr);
}

}  // namespace
}  // namespace fenmar
