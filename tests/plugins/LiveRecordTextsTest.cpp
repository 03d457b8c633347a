// A 1.30 plug-in works on the live record: what it may do with the texts there, and what the
// host must keep valid meanwhile. Run under AddressSanitizer these tests also prove that no
// text is read after it was freed.

#include <gtest/gtest.h>

#include <cstring>

#include "ScriptedPlugInHost.h"
#include "platform/DynamicLibrary.h"
#include "plugins/PlugInList.h"

namespace fenmar {
namespace {

// Texts longer than any in-place string buffer, so each lives in memory of its own.
constexpr const char* kMap = "e1m1 - Slipgate Complex, the long way round";
constexpr const char* kPatch = "capture-the-flag-deluxe-edition";
constexpr const char* kServer = "quake.example.net:26000 (the long name)";
constexpr const char* kDemo = "demos/the-first-demo-with-a-long-name";

class LiveRecordTexts : public ::testing::Test {
protected:
    void SetUp() override {
        bench.AddFixture("Aliaser");
        LiveProfile& p = bench.globals.Profile;
        p.SetText(TextField::LaunchMap, kMap);
        p.SetText(TextField::GamePatch, kPatch);
        p.SetText(TextField::CurrentServer, kServer);
        p.SetText(TextField::DemoName, kDemo);
    }
    std::string Text(TextField field) const { return bench.globals.Profile.Text(field); }

    test::PlugInBench bench;
};

TEST_F(LiveRecordTexts, APlugInWithoutAllowListHidesNothing) {
    TPlugIn slot(bench.env);
    bench.host.lastAllowList = AllowList{};
    ActivatePlugIn(slot, bench.LibraryName("Aliaser"));
    ASSERT_TRUE(slot.IsLoaded());
    EXPECT_EQ(APIVersionText(slot.APIVersion()), "1.30");
    EXPECT_FALSE(bench.host.lastAllowList.has_value());  // nil: everything shown
    EXPECT_FALSE(slot.QueryAllowList().has_value());     // and nothing left off the line
}

TEST_F(LiveRecordTexts, AliasedAndSwappedTextsAndHostTextsKeptAcrossInfoRequests) {
    bench.host.answers = {"demos/picked-below-id1-folder", "ctf/demos/picked-below-the-patch",
                          "winquake-with-a-long-name.exe", std::nullopt};
    TPlugIn slot(bench.env);
    ActivatePlugIn(slot, bench.LibraryName("Aliaser"));
    slot.Execute();

    // The plug-in read the map and demo texts it took from the record after the info
    // function had replaced the demo text twice.
    platform::DynamicLibrary lib;
    ASSERT_TRUE(lib.Open(bench.plugInDir + "/" + bench.LibraryName("Aliaser")));
    using AnswersFn = const char* (*)();
    AnswersFn answers = nullptr;
    void* symbol = lib.Symbol("AliaserAnswers");
    ASSERT_NE(symbol, nullptr);
    std::memcpy(&answers, &symbol, sizeof answers);
    EXPECT_EQ(std::string(answers()),
              "demos/picked-below-id1-folder|ctf/demos/picked-below-the-patch|"
              "winquake-with-a-long-name.exe|(nil)|" +
                  std::string(kMap) + "|" + kDemo + "|");
    lib.Close();

    // Demo points at the map text, patch and server swapped, the old demo text as host name.
    EXPECT_EQ(Text(TextField::DemoName), kMap);
    EXPECT_EQ(Text(TextField::LaunchMap), kMap);
    EXPECT_EQ(Text(TextField::GamePatch), kServer);
    EXPECT_EQ(Text(TextField::CurrentServer), kPatch);
    EXPECT_EQ(Text(TextField::HostName), kDemo);

    // The host owns every text again and changes one field without touching the other.
    bench.globals.Profile.SetText(TextField::LaunchMap, "dm4 - The Bad Place, also quite long");
    EXPECT_EQ(Text(TextField::DemoName), kMap);

    // A plug-in may return a host text as its command-line text.
    EXPECT_EQ(slot.GetParams(), "dm4 - The Bad Place, also quite long");
    ResetPlugIn(slot);
    EXPECT_EQ(Text(TextField::HostName), kDemo);
}

TEST_F(LiveRecordTexts, TextsWrittenWhileSavingOrRestoringOutliveTheLibrary) {
    TPlugIn slot(bench.env);
    ActivatePlugIn(slot, bench.LibraryName("Aliaser"));
    // The fixture ignores the key: only what it writes into the record matters here.
    slot.RestoreSettings(nullptr);
    slot.SaveSettings(nullptr);
    ResetPlugIn(slot);  // frees the library and the texts inside it
    EXPECT_EQ(Text(TextField::LaunchMap), "e4m7 - restored by the plug-in");
    EXPECT_EQ(Text(TextField::ConfigFile), "written-while-saving.cfg");
    EXPECT_EQ(Text(TextField::DemoName), "e4m7 - restored by the plug-in");
}

}  // namespace
}  // namespace fenmar
