// Installing into a real Quake directory, the record, the state and removal.
#include <gtest/gtest.h>

#include <set>

#include "TempDir.h"
#include "ZipFiles.h"
#include "addons/Install.h"
#include "addons/Installed.h"

namespace fenmar::addons {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::ZipItem;

class InstallTest : public ::testing::Test {
protected:
    InstallTest() {
        quake_ = root_.MakeDir("quake");
        root_.WriteFile("quake/id1/pak0.pak", "pak");
        root_.WriteFile("quake/id1/maps/theirs.bsp", "not ours");
    }

    // A release whose zip holds `items`, unpacked below `baseDir`.
    AddOn Release(const std::string& id, const std::vector<ZipItem>& items,
                  const std::string& baseDir = "id1") {
        test::WriteZip(root_.Path() / "zips" / (id + ".zip"), items);
        AddOn addOn;
        addOn.id = id;
        addOn.zipBaseDir = baseDir;
        addOn.startMaps = {id};
        return addOn;
    }
    std::string Zip(const AddOn& addOn) const {
        return (root_.Path() / "zips" / (addOn.id + ".zip")).string();
    }
    InstallResult Put(const AddOn& addOn, bool overwrite = false) {
        return Install(PlanInstall(quake_, addOn, Zip(addOn)), overwrite);
    }
    // Every path below the Quake directory, with the content of files.
    std::set<std::string> Tree() const {
        std::set<std::string> tree;
        for (const auto& entry : fs::recursive_directory_iterator(quake_)) {
            const std::string rel = fs::relative(entry.path(), root_.Path()).generic_string();
            tree.insert(entry.is_regular_file() ? rel + "=" + ReadFile(entry.path()) : rel + "/");
        }
        return tree;
    }

    test::TempDir root_;
    std::string quake_;
};

TEST_F(InstallTest, PutsEachEntryWhereTheCatalogueSaysAndRecordsIt) {
    const AddOn map = Release(
        "mymap", {{"MAPS/mymap.bsp", "bsp"}, {"MAPS/mymap.lit", "lit"}, {"mymap.txt", "readme"}});
    const InstallResult result = Put(map);
    ASSERT_TRUE(result.Ok()) << result.error;
    // "MAPS/" joins the existing "maps" folder.
    EXPECT_EQ(ReadFile(quake_ + "/id1/maps/mymap.bsp"), "bsp");
    EXPECT_EQ(ReadFile(quake_ + "/id1/maps/mymap.lit"), "lit");
    EXPECT_EQ(ReadFile(quake_ + "/id1/mymap.txt"), "readme");
    const std::optional<InstallRecord> record = ReadInstallRecord(quake_, "mymap");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->files.size(), 3u);
    EXPECT_TRUE(record->createdDirectories.empty());
    const InstalledAddOns installed(quake_);
    EXPECT_EQ(installed.StatusOf(map).state, AddOnState::Installed);
    EXPECT_FALSE(installed.StatusOf(map).byHand);
    // Installing again is no conflict: the files are its own.
    const InstallPlan again = PlanInstall(quake_, map, Zip(map));
    EXPECT_TRUE(again.conflicts.empty());
    EXPECT_TRUE(again.AllPresent());
}

TEST_F(InstallTest, NeverOverwritesOthersFilesUnasked) {
    const AddOn map = Release("clash", {{"maps/new.bsp", "new"}, {"maps/THEIRS.bsp", "mine"}});
    const std::set<std::string> before = Tree();
    const InstallPlan plan = PlanInstall(quake_, map, Zip(map));
    ASSERT_TRUE(plan.Ok()) << plan.error;
    ASSERT_EQ(plan.conflicts.size(), 1u);
    EXPECT_EQ(plan.conflicts[0].path, "id1/maps/theirs.bsp");
    EXPECT_EQ(plan.conflicts[0].owner, "");
    EXPECT_FALSE(Install(plan, false).Ok());
    EXPECT_EQ(Tree(), before);
    // Another release's file names its owner; with the user's yes it is replaced.
    ASSERT_TRUE(Put(Release("owner", {{"maps/shared.bsp", "1"}})).Ok());
    const AddOn second = Release("second", {{"maps/shared.bsp", "2"}});
    const InstallPlan shared = PlanInstall(quake_, second, Zip(second));
    ASSERT_EQ(shared.conflicts.size(), 1u);
    EXPECT_EQ(shared.conflicts[0].owner, "owner");
    ASSERT_TRUE(Install(shared, true).Ok());
    EXPECT_EQ(ReadFile(quake_ + "/id1/maps/shared.bsp"), "2");
}

TEST_F(InstallTest, AFailedOrCancelledInstallLeavesNothing) {
    ASSERT_TRUE(Put(Release("mine", {{"maps/keep.bsp", "old"}})).Ok());
    const std::set<std::string> before = Tree();
    AddOn bad = Release("bad",
                        {{"newmod/a.txt", "aaaa"},
                         {"newmod/deep/b.txt", std::string(5000, 'b')},
                         {"maps/keep.bsp", "replaced"}},
                        "");
    // A checksum that does not hold: the last entry fails after the others were written.
    test::PatchEntry(Zip(bad), "newmod/deep/b.txt",
                     [](std::string& bytes, std::size_t local, std::size_t central) {
                         test::Put32(bytes, local + 14, 0xDEADBEEF);
                         test::Put32(bytes, central + 16, 0xDEADBEEF);
                     });
    bad.zipBaseDir = "";
    InstallPlan plan = PlanInstall(quake_, bad, Zip(bad));
    ASSERT_TRUE(plan.Ok()) << plan.error;
    EXPECT_FALSE(Install(plan, true).Ok());
    EXPECT_EQ(Tree(), before);

    const AddOn slow = Release("slow", {{"maps/keep.bsp", "replaced"}, {"x/y.txt", "y"}});
    const InstallResult cancelled = Install(PlanInstall(quake_, slow, Zip(slow)), true,
                                            [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(Tree(), before);
}

TEST_F(InstallTest, RefusesWhatWouldLeaveTheQuakeDirectory) {
    const std::set<std::string> before = Tree();
    const struct {
        std::vector<ZipItem> items;
        std::string baseDir;
    } cases[] = {
        {{{"../../outside.txt", "x"}}, "id1"},
        {{{"maps/link.bsp", "/etc/passwd", true, 0120777}}, "id1"},
        {{{"ok.txt", "x"}}, "../outside"},
        {{{"ok.txt", "x"}}, "C:/outside"},
        {{{"x.txt", "x"}}, ".fenmar-addons"},
    };
    for (const auto& c : cases) {
        const AddOn addOn = Release("evil", c.items, c.baseDir);
        const InstallPlan plan = PlanInstall(quake_, addOn, Zip(addOn));
        EXPECT_FALSE(plan.Ok()) << c.baseDir;
        EXPECT_FALSE(Install(plan, true).Ok());
    }
    fs::remove_all(root_.Path() / "zips");
    EXPECT_EQ(Tree(), before);
}

TEST_F(InstallTest, RemovesExactlyItsFilesAndKeepsChangedOnes) {
    root_.WriteFile("quake/id1/maps/user.cfg", "user");
    const AddOn mod = Release("mymod",
                              {{"progs.dat", "progs"},
                               {"maps/start.bsp", "start"},
                               {"maps/e1.bsp", "e1"},
                               {"sub/deeper/notes.txt", "notes"}},
                              "mymod");
    const std::set<std::string> before = Tree();
    ASSERT_TRUE(Put(mod).Ok());
    root_.WriteFile("quake/mymod/maps/e1.bsp", "edited by the user");
    // An edit that keeps the size and the time: removal reads the content.
    const fs::path progs = quake_ + "/mymod/progs.dat";
    const fs::file_time_type time = fs::last_write_time(progs);
    root_.WriteFile("quake/mymod/progs.dat", "PROGS");
    fs::last_write_time(progs, time);
    root_.WriteFile("quake/mymod/sub/mine.txt", "the user's own");
    EXPECT_EQ(InstalledAddOns(quake_).StatusOf(mod).state, AddOnState::Changed);
    EXPECT_EQ(InstalledAddOns(quake_).StatusOf(mod).changedFiles,
              std::vector<std::string>{"mymod/maps/e1.bsp"});

    const RemoveResult removed = RemoveAddOn(quake_, "mymod");
    ASSERT_TRUE(removed.Ok()) << removed.error;
    EXPECT_EQ(removed.removed,
              (std::vector<std::string>{"mymod/sub/deeper/notes.txt", "mymod/maps/start.bsp"}));
    EXPECT_EQ(removed.kept, (std::vector<std::string>{"mymod/maps/e1.bsp", "mymod/progs.dat"}));
    std::set<std::string> expected = before;
    for (const char* left :
         {"quake/mymod/", "quake/mymod/maps/", "quake/mymod/sub/",
          "quake/mymod/maps/e1.bsp=edited by the user", "quake/mymod/progs.dat=PROGS",
          "quake/mymod/sub/mine.txt=the user's own"}) {
        expected.insert(left);
    }
    EXPECT_EQ(Tree(), expected);
    EXPECT_FALSE(ReadInstallRecord(quake_, "mymod").has_value());
    EXPECT_FALSE(RemoveAddOn(quake_, "mymod").Ok());
}

// Without a record: start maps present (ignoring case), or a mod's own folder holding
// something.
TEST_F(InstallTest, ReleasesInstalledByHandShowAsInstalled) {
    root_.WriteFile("quake/id1/maps/Hand1.BSP", "x");
    root_.WriteFile("quake/Quoth/pak0.pak", "x");
    root_.WriteFile("quake/id1/maps/E2.bsp", "x");
    root_.MakeDir("quake/emptymod");
    const struct {
        const char* id;
        AddOnType type;
        const char* baseDir;
        std::vector<std::string> maps;
        bool installed;
    } cases[] = {
        {"hand1", AddOnType::Map, "id1", {}, true},
        {"other", AddOnType::Map, "id1", {"hand1"}, true},
        {"two", AddOnType::Map, "id1", {"hand1", "missing"}, false},
        {"inmaps", AddOnType::Map, "id1/Maps", {"e2"}, true},
        {"quoth", AddOnType::Mod, "quoth", {}, true},
        {"emptymod", AddOnType::Mod, "emptymod", {}, false},
        {"absent", AddOnType::Mod, "absent", {}, false},
        {"idmod", AddOnType::Mod, "id1", {}, false},
    };
    for (const auto& c : cases) {
        AddOn addOn;
        addOn.id = c.id;
        addOn.type = c.type;
        addOn.zipBaseDir = c.baseDir;
        addOn.startMapsGiven = !c.maps.empty();
        addOn.startMaps = c.maps.empty() ? std::vector<std::string>{c.id} : c.maps;
        const AddOnStatus status = StatusOf(quake_, addOn, nullptr);
        EXPECT_EQ(status.state == AddOnState::Installed, c.installed) << c.id;
        EXPECT_EQ(status.byHand, c.installed) << c.id;
    }
}

}  // namespace
}  // namespace fenmar::addons
