// The calls a plug-in sees, in order, at each moment the host talks to it. The recording
// plug-in and the scripted host write to one log.

#include <gtest/gtest.h>

#include "ScriptedPlugInHost.h"
#include "core/CommandLine.h"
#include "plugins/PlugInList.h"

namespace fenmar {
namespace {

using Lines = std::vector<std::string>;

TEST(CallOrder, ListingAsksVersionBeforeEachIconAndNeverHandsOverTheInfoFunction) {
    for (const char* api : {"Recorder130", "Recorder122"}) {
        test::PlugInBench bench;
        bench.AddFixture(api);
        const auto rows = ListPlugIns(bench.env);
        ASSERT_EQ(rows.size(), 1u);
        const bool v130 = std::string(api) == "Recorder130";
        const Lines expected = {
            "load",
            "PI_GetPlugInAPIVersion",
            "PI_IsPlugIn",
            "PI_GetDescription",
            "PI_GetPlugInAPIVersion",
            v130 ? "PI_GetIcon 2" : "PI_GetIcon",
            "PI_GetPlugInAPIVersion",
            v130 ? "PI_GetIcon 1" : "PI_GetIcon",
            "PI_GetPlugInAPIVersion",
            "free",
        };
        EXPECT_EQ(bench.TakeLog(), expected) << api;
    }
}

TEST(CallOrder, ActivationOfA130PlugInWorksOnTheLiveRecord) {
    test::PlugInBench bench;
    TPlugIn slot(bench.env);
    bench.ActivateFixture(slot, "Recorder130");
    const Lines expected = {
        "load",
        "PI_GetPlugInAPIVersion",
        "PI_GetPlugInAPIVersion",
        "PI_GetIcon 2",
        "PI_SetInfoFn fn",
        "PI_QueryAllowList",
        "host ApplyAllowList 1111111111110",
        "PI_GetPlugInAPIVersion",
        "PI_ExchangeSettings rec",
        "host ShowProfile",
    };
    EXPECT_EQ(bench.TakeLog(), expected);
}

TEST(CallOrder, ActivationOfA122PlugInTakesTheCopyBackAndFreesThePreviousLibraryFirst) {
    test::PlugInBench bench;
    bench.AddFixture("Recorder122");
    TPlugIn slot(bench.env);
    bench.ActivateFixture(slot, "Recorder130");
    bench.TakeLog();
    ActivatePlugIn(slot, bench.LibraryName("Recorder122"));
    const Lines expected = {
        "free",  // the 1.30 recorder, without a call
        "load",
        "PI_GetPlugInAPIVersion",
        "PI_GetPlugInAPIVersion",
        "PI_GetIcon",
        "PI_SetInfoFn fn",
        "PI_QueryAllowList",
        "host ApplyAllowList 1111111111110",
        "PI_GetPlugInAPIVersion",
        "PI_ExchangeSettings rec",
        "PI_GetPlugInAPIVersion",
        "host ResolveExecutableName quake.exe",
        "host ShowProfile",
    };
    EXPECT_EQ(bench.TakeLog(), expected);
}

TEST(CallOrder, CompositionAsksTheAllowListFirstThenTheParameters) {
    for (const char* api : {"Recorder130", "Recorder122"}) {
        test::PlugInBench bench;
        TPlugIn slot(bench.env);
        bench.ActivateFixture(slot, api);
        bench.TakeLog();
        ComposeInputs inputs;
        inputs.shownExecutable = "DOS-Quake";
        const std::string line =
            ComposeCommandLine(bench.globals, bench.executables, inputs, &slot, nullptr);
        EXPECT_NE(line.find(" -recorder"), std::string::npos) << line;
        Lines expected = {"PI_QueryAllowList", "PI_GetPlugInAPIVersion",
                          "PI_GetCommandLineParams rec"};
        if (std::string(api) == "Recorder122") {
            expected.push_back("PI_GetPlugInAPIVersion");
            expected.push_back("host ResolveExecutableName quake.exe");
        }
        expected.push_back("host ShowProfile");
        EXPECT_EQ(bench.TakeLog(), expected) << api;
    }
}

TEST(CallOrder, ExecuteTakesTheRecordBackOnlyWhenThePlugInReportsAChange) {
    test::PlugInBench bench;
    TPlugIn slot(bench.env);
    bench.ActivateFixture(slot, "Recorder122");
    bench.TakeLog();

    slot.Execute();
    EXPECT_EQ(bench.TakeLog(),
              (Lines{"PI_GetPlugInAPIVersion", "PI_Execute rec", "PI_GetPlugInAPIVersion",
                     "host ResolveExecutableName quake.exe", "host ShowProfile"}));

    bench.ConfigureRecorder("", false);
    slot.Execute();
    EXPECT_EQ(bench.TakeLog(), (Lines{"PI_GetPlugInAPIVersion", "PI_Execute rec"}));
}

TEST(CallOrder, NothingReachesAnEmptySlot) {
    test::PlugInBench bench;
    TPlugIn slot(bench.env);
    ActivatePlugIn(slot, "Missing.so");
    slot.Execute();
    EXPECT_EQ(slot.GetParams(), "");
    // A failed load is taken back without refreshing anything.
    EXPECT_EQ(bench.TakeLog(), (Lines{"host ApplyAllowList nil"}));
    EXPECT_EQ(bench.host.showProfileCount, 0);
}

}  // namespace
}  // namespace fenmar
