#include "core/GlobalSettings.h"

#include <gtest/gtest.h>

#include <cctype>

#include "StoreFileTest.h"
#include "core/Globals.h"
#include "core/History.h"
#include "core/QuickSetLayout.h"
#include "store/RegistryHandling.h"

namespace fenmar {
namespace {

using store::JoinKeyPath;
const std::string kRoot(store::kFenmarRoot);

class GlobalSettings : public test::StoreFileTest {
protected:
    void WriteString(const std::string& sub, const std::string& name, const std::string& text) {
        store_->CreateKey(JoinKeyPath(kRoot, sub));
        store::RegWriteString(*store_, JoinKeyPath(kRoot, sub), name, text);
    }
};

TEST_F(GlobalSettings, VersionBelow130ComparedByteByByteTriggersTheImport) {
    EXPECT_FALSE(SettingsNeedUpgrade(*store_));  // first run: no root key
    store_->CreateKey(kRoot);
    EXPECT_TRUE(SettingsNeedUpgrade(*store_));  // no "Version"
    const std::pair<const char*, bool> cases[] = {
        {"1.22", true}, {"1.3", true}, {"1.30", false}, {"1.4", false}, {"1.300", false}};
    for (const auto& [version, upgrade] : cases) {
        store::RegWriteString(*store_, kRoot, "Version", version);
        EXPECT_EQ(SettingsNeedUpgrade(*store_), upgrade) << version;
    }
}

// An old-layout profile below `base` (relative to the root).
void WriteOldLayout(store::Store& s, const std::string& base, const char* tcpip,
                    const char* dedicated) {
    const std::string b = base.empty() ? kRoot : JoinKeyPath(kRoot, base);
    const store::Key general = store::CreateKey(s, JoinKeyPath(b, "General"));
    store::RegWriteString(general, "QuakeExe", "quake.exe");
    store::RegWriteString(general, "QuakeBat", "q.bat");
    store::RegWriteString(general, "DedicatedExe", "qded.exe");
    if (tcpip != nullptr) {
        store::RegWriteString(store::CreateKey(s, JoinKeyPath(b, "Network")), "EnableWin95TCP/IP",
                              tcpip);
    }
    const store::Key mp = store::CreateKey(s, JoinKeyPath(b, "Multiplayer"));
    if (dedicated != nullptr) {
        store::RegWriteString(mp, "UseDedicatedExe", dedicated);
    }
    store::RegWriteInteger(mp, "PlayMode", 2);
}

TEST_F(GlobalSettings, ImportPicksTheBatchFileThenTheDedicatedServerThenQuake) {
    WriteOldLayout(*store_, "", nullptr, nullptr);
    WriteOldLayout(*store_, "QuickSets\\Batch", "Yes", "Yes");
    WriteOldLayout(*store_, "QuickSets\\Dedicated", "No", "Yes");
    std::vector<std::string> asked;
    UpgradeAllSettings(*store_, "My server", [&](const std::string& file) {
        asked.push_back(file);
        return "name of " + file;
    });
    EXPECT_EQ(asked, (std::vector<std::string>{"quake.exe", "q.bat", "qded.exe"}));
    const auto general = [&](const std::string& qs) {
        return JoinKeyPath(ProfileKey(qs), "General");
    };
    EXPECT_EQ(store::RegReadString(*store_, general(""), "Executable"), "name of quake.exe");
    EXPECT_EQ(store::RegReadString(*store_, general("Batch"), "Executable"), "name of q.bat");
    EXPECT_EQ(store::RegReadString(*store_, general("Dedicated"), "Executable"),
              "name of qded.exe");
    // The old values are gone, except the two modes, which are copied.
    store::ValueData data;
    EXPECT_EQ(store_->QueryValue(general("Batch"), "QuakeBat", data), store::Status::NotFound);
    const std::string mp = JoinKeyPath(ProfileKey("Batch"), "Multiplayer");
    EXPECT_EQ(store_->QueryValue(mp, "UseDedicatedExe", data), store::Status::NotFound);
    EXPECT_EQ(store::RegReadInteger(*store_, mp, "Deathmatch"), 2);
    EXPECT_EQ(store::RegReadInteger(*store_, mp, "PlayMode"), 2);
    // An absent old value writes nothing: no -1 (255 once loaded) for a rule.
    EXPECT_EQ(store_->QueryValue(mp, "Teamplay", data), store::Status::NotFound);
    EXPECT_EQ(store::RegReadString(*store_, mp, "HostName"), "My server");
    EXPECT_EQ(store::RegReadString(*store_, kRoot, "Version"), "1.30");
    EXPECT_FALSE(SettingsNeedUpgrade(*store_));
}

TEST_F(GlobalSettings, ImportLeavesNewLayoutProfilesAloneAndAsksNothingForAnEmptyPath) {
    // A store without "Version" but in the new layout: a first run that never closed
    // normally, or a partial .reg import.
    const Globals saved = [] {
        Globals g;
        g.Executable = "GLQuake";
        g.Profile->Deathmatch = 0;
        g.Profile.SetText(TextField::HostName, "Frag hall");
        return g;
    }();
    SaveQuickSet(*store_, "", saved, {}, nullptr);
    SaveQuickSet(*store_, std::string(kDefaultQuickSet), saved, {}, nullptr);
    // An old-layout Quick-Set whose old paths are empty, and whose modes are missing.
    const std::string old = JoinKeyPath(ProfileKey("Old"), "General");
    store_->CreateKey(old);
    store::RegWriteString(*store_, old, "Executable", "WinQuake");
    store::RegWriteString(*store_, old, "QuakeExe", "");
    store::RegWriteString(store::CreateKey(*store_, JoinKeyPath(ProfileKey("Old"), "Multiplayer")),
                          "UseDedicatedExe", "No");
    ASSERT_TRUE(SettingsNeedUpgrade(*store_));

    int asked = 0;
    UpgradeAllSettings(*store_, "My server", [&](const std::string&) {
        ++asked;
        return std::string("asked");
    });
    EXPECT_EQ(asked, 0);
    for (const std::string name : {"", "<default>"}) {
        Globals loaded;
        ReadQuickSet(*store_, name, loaded);
        EXPECT_EQ(loaded.Executable, "GLQuake") << name;
        EXPECT_EQ(loaded.Profile->Deathmatch, 0) << name;
        EXPECT_EQ(loaded.Profile.Text(TextField::HostName), "Frag hall") << name;
    }
    EXPECT_EQ(store::RegReadString(*store_, old, "Executable"), "WinQuake");
    store::ValueData data;
    EXPECT_EQ(store_->QueryValue(old, "QuakeExe", data), store::Status::NotFound);
    const std::string mp = JoinKeyPath(ProfileKey("Old"), "Multiplayer");
    EXPECT_EQ(store_->QueryValue(mp, "Deathmatch", data), store::Status::NotFound);
    EXPECT_EQ(store_->QueryValue(mp, "Teamplay", data), store::Status::NotFound);
    // Done once: the next start finds "Version" and imports nothing.
    EXPECT_FALSE(SettingsNeedUpgrade(*store_));
}

TEST_F(GlobalSettings, FirstDefaultQuickSetIsStoredWithTheVersion) {
    CreateDefaultQuickSet(*store_, Globals{}, {"-nosound"}, nullptr);
    EXPECT_TRUE(DefaultQuickSetExists(*store_));
    EXPECT_EQ(ReadQuickSetChoice(*store_)->selected, 0);
    // A start that ends without a normal close leaves nothing to import at the next one.
    EXPECT_FALSE(SettingsNeedUpgrade(*store_));
}

TEST_F(GlobalSettings, MinBSPSizeIsClampedAndDefaultsTo20) {
    WriteString("Internal", "Quake Path", "/q");
    EXPECT_EQ(ReadInternalOptions(*store_)->minBSPSize, 20);  // absent
    const std::string internal = JoinKeyPath(kRoot, "Internal");
    for (const auto& [stored, shown] :
         std::vector<std::pair<int, int>>{{50, 50}, {0, 0}, {150, 100}, {-1, 0}, {-7, 0}}) {
        store::RegWriteInteger(*store_, internal, "MinBSPSize", stored);
        EXPECT_EQ(ReadInternalOptions(*store_)->minBSPSize, shown) << stored;
    }
    EXPECT_FALSE(ReadInternalOptions(*store_)->dontScanBSPMsgs);
    EXPECT_EQ(ReadInternalOptions(*store_)->deleteConfigs, 0);  // absent mask
}

TEST(DeleteConfigMask, WhenBitsNeedALocation) {
    EXPECT_EQ(DeleteConfigMaskWith(0, kDeleteOnLaunch, true), 0);
    EXPECT_EQ(DeleteConfigMaskWith(kDeleteInId1, kDeleteOnExit, true), 9);
    EXPECT_EQ(DeleteConfigMaskWith(9, kDeleteInId1, false), 0);
    EXPECT_EQ(DeleteConfigMaskWith(11, kDeleteInId1, false), 10);
}

TEST_F(GlobalSettings, RecentListsStopAtTheirLimitAndSkipCaseDuplicates) {
    EXPECT_EQ(kRecentPatches.limit, 20);
    EXPECT_EQ(kRecentDemos.limit, 20);
    EXPECT_EQ(kRecentServers.limit, 50);
    for (const RecentListKey which : {kRecentPatches, kRecentDemos, kRecentServers}) {
        SCOPED_TRACE(std::string(which.name));
        const std::string name(which.name);
        const store::Key key = store::CreateKey(*store_, JoinKeyPath(kRoot, "MRUs\\" + name));
        std::vector<std::string> stored;
        for (int i = 1; i <= 60; ++i) {
            stored.push_back(name + std::to_string(i));
        }
        stored[4] = name + "1";  // number 5 repeats number 1 in other capitals
        for (char& c : stored[4]) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        store::RegWriteStringList(key, stored);
        std::vector<std::string> list{"<none>", name + "1"};
        EXPECT_TRUE(ReadRecentList(*store_, which, list));
        // The limit caps the highest number read: numbers 2 .. limit, without number 5.
        ASSERT_EQ(list.size(), static_cast<std::size_t>(which.limit));
        EXPECT_EQ(list[2], name + "2");
        EXPECT_EQ(list.back(), name + std::to_string(which.limit));
    }
    store_->DeleteKey(JoinKeyPath(kRoot, "MRUs"));
    std::vector<std::string> list;
    EXPECT_FALSE(ReadRecentList(*store_, kRecentPatches, list));
}

TEST(RecentHistory, KeepsItsSizeAndFoldsCaseAsTheStoreDoes) {
    for (const std::size_t size : {kPatchHistorySize, kDemoHistorySize, kServerHistorySize}) {
        std::vector<std::string> items{"<none>"};
        for (std::size_t i = 0; i < size + 5; ++i) {
            EXPECT_TRUE(AddToHistory(items, "entry" + std::to_string(i), size));
        }
        ASSERT_EQ(items.size(), size + 1);
        EXPECT_EQ(items[1], "entry" + std::to_string(size + 4));  // newest first
    }
    EXPECT_EQ(kPatchHistorySize, 20u);
    EXPECT_EQ(kDemoHistorySize, 20u);
    EXPECT_EQ(kServerHistorySize, 50u);

    // The store reads "VÉRITÉ" and "Vérité" as one name: the list must not hold both.
    std::vector<std::string> items{"<none>", "Vérité"};
    EXPECT_FALSE(AddToHistory(items, "VÉRITÉ", 20));
    EXPECT_FALSE(AddToHistory(items, "<none>", 20));
    EXPECT_TRUE(AddToHistory(items, "Verite", 20));  // other letters: a different entry
    EXPECT_EQ(items, (std::vector<std::string>{"<none>", "Verite", "Vérité"}));
}

TEST_F(GlobalSettings, SaveRewritesExecutablesAndRecentListsWhole) {
    GlobalSettingsData data;
    data.executables = {{"WinQuake", "winquake.exe"}, {"Old", "old.exe"}};
    data.recentDemos = {"d1", "d2", "d3"};
    data.minBSPSize = 50;
    WriteGlobalSettings(*store_, data);
    data.executables = {{"WinQuake", "winquake.exe"}};
    data.recentDemos = {"d9"};
    data.currentSelected = 2;
    WriteGlobalSettings(*store_, data);

    EXPECT_EQ(store::RegReadString(*store_, kRoot, "Author"), "Ardwell");
    EXPECT_EQ(store::RegReadString(*store_, kRoot, "Version"), "1.30");
    const auto executables = ReadExecutables(*store_);
    ASSERT_TRUE(executables.has_value());
    ASSERT_EQ(executables->size(), 1u);
    EXPECT_EQ((*executables)[0].file, "winquake.exe");
    std::vector<std::string> demos;
    ReadRecentList(*store_, kRecentDemos, demos);
    EXPECT_EQ(demos, std::vector<std::string>{"d9"});
    store::ValueData stale;
    EXPECT_EQ(store_->QueryValue(JoinKeyPath(kRoot, "MRUs\\Demos"), "2", stale),
              store::Status::NotFound);
    EXPECT_EQ(ReadInternalOptions(*store_)->minBSPSize, 50);
    EXPECT_EQ(ReadQuickSetChoice(*store_)->selected, 2);
}

}  // namespace
}  // namespace fenmar
