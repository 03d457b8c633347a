#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "Environment.h"
#include "MapFiles.h"
#include "TempDir.h"
#include "maps/BrowserScan.h"
#include "maps/Pk3Scan.h"

namespace fenmar::maps {
namespace {

using test::MakeBsp;
using test::MakePak;
using test::WorldWithTitle;

// id1 with loose maps, a patch with its own maps directory and a PAK.
class BrowserScanTest : public ::testing::Test {
protected:
    BrowserScanTest() {
        tmp.WriteFile("ID1/maps/e1m2.bsp", MakeBsp(WorldWithTitle("Castle")));
        tmp.WriteFile("ID1/maps/E1M1.BSP", MakeBsp(WorldWithTitle("Slipgate")));
        tmp.WriteFile("ctf/MAPS/ctf1.bsp", MakeBsp(WorldWithTitle("Capture")));
        const std::string map = MakeBsp(WorldWithTitle("Inside"));
        tmp.WriteFile("ctf/pak1.pak", MakePak({{"maps/zed.bsp", map}, {"maps/abc.bsp", map}}));
    }
    std::string List(const std::string& patch, int expectRc = 0, std::string* errText = nullptr) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunListMapsCommand(tmp.Str(), patch, {}, cacheFile, out, err), expectRc);
        if (errText != nullptr) {
            *errText = err.str();
        }
        return out.str();
    }
    test::TempDir tmp;
    std::string cacheFile = (tmp.Path() / "cache.sqlite").string();
};

TEST_F(BrowserScanTest, ListsTheThreeListsInOrderEachSorted) {
    const std::string all =
        "e1m1\tSlipgate\ne1m2\tCastle\nctf1\tCapture\nabc\tInside\nzed\tInside\n";
    EXPECT_EQ(List("ctf"), all);
    EXPECT_EQ(List("ctf"), all);  // the same from the cache
    EXPECT_EQ(List("<none>"), "e1m1\tSlipgate\ne1m2\tCastle\n");
    EXPECT_EQ(List(""), "e1m1\tSlipgate\ne1m2\tCastle\n");
    std::string err;
    std::ostringstream out;
    std::ostringstream errOut;
    EXPECT_EQ(RunListMapsCommand("", "ctf", {}, cacheFile, out, errOut), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(errOut.str().empty());
}

TEST_F(BrowserScanTest, AReadErrorEndsTheListingAfterTheListItHappenedIn) {
    std::string broken = MakeBsp("{}");
    test::PutInt32(broken, 4, 1 << 30);
    tmp.WriteFile("ctf/MAPS/broken.bsp", broken);
    std::string err;
    const std::string out = List("ctf", 1, &err);
    EXPECT_EQ(out.rfind("e1m1\tSlipgate\ne1m2\tCastle\n", 0), 0u);
    EXPECT_EQ(out.find("Inside"), std::string::npos);
    // Said as an error, naming the file in the system's spelling: no line that could pass
    // for a map.
    const std::string head = "Reading the maps stopped at an error: ";
    const std::string tail = ": Read beyond end of file\n";
    ASSERT_EQ(err.rfind(head, 0), 0u) << err;
    ASSERT_GT(err.size(), head.size() + tail.size());
    ASSERT_EQ(err.substr(err.size() - tail.size()), tail) << err;
    const std::string named = err.substr(head.size(), err.size() - head.size() - tail.size());
    EXPECT_TRUE(std::filesystem::equivalent(named, tmp.Path() / "ctf" / "MAPS" / "broken.bsp"))
        << named;
    EXPECT_EQ(std::filesystem::path(named).make_preferred().string(), named);  // one separator
}

TEST_F(BrowserScanTest, ListingFailsWithAMessageWhenTheDirectoriesAreNotThere) {
    struct Case {
        std::string quake;
        std::string patch;
        int rc;
        std::string says;
    };
    const Case cases[] = {
        {tmp.Str() + "/nothere", "", 1, "does not exist"},
        {tmp.Str(), "nothere", 1, "does not exist"},
        {tmp.Str(), tmp.Str() + "/ctf", 2, "no directory inside the Quake directory"},
        {tmp.Str() + "/ctf", "../ctf", 2, "no directory inside the Quake directory"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunListMapsCommand(c.quake, c.patch, {}, cacheFile, out, err), c.rc) << c.patch;
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    }
}

TEST_F(BrowserScanTest, HostileNamesCannotStartLinesOfTheirOwn) {
    const std::string map = MakeBsp(WorldWithTitle("T"));
    tmp.WriteFile("ctf/pak1.pak", MakePak({{"maps/a\tb\nfake.bsp", map}}));
    EXPECT_EQ(List("ctf"), "e1m1\tSlipgate\ne1m2\tCastle\nctf1\tCapture\na?b?fake\tT\n");
}

TEST_F(BrowserScanTest, HandsOverEachListAndStopsWhenCancelled) {
    std::vector<BrowserList> seen;
    std::atomic<bool> cancel{false};
    ScanContext context;
    context.cancel = &cancel;
    EXPECT_TRUE(ScanForBrowser({tmp.Str(), "ctf", {}}, context,
                               [&](BrowserList list, MapScan) { seen.push_back(list); }));
    EXPECT_EQ(seen, (std::vector<BrowserList>{BrowserList::ID1, BrowserList::Patch,
                                              BrowserList::BuiltIn}));
    seen.clear();
    ScanContext stopping;
    stopping.cancel = &cancel;
    EXPECT_FALSE(ScanForBrowser({tmp.Str(), "ctf", {}}, stopping, [&](BrowserList list, MapScan) {
        seen.push_back(list);
        cancel = true;  // closed while the first list was being shown
    }));
    EXPECT_EQ(seen, std::vector<BrowserList>{BrowserList::ID1});
}

TEST_F(BrowserScanTest, Id1ArchivesOfThePatchKindAreNotSearchedButPk3sAre) {
    const std::string map = MakeBsp(WorldWithTitle("Hidden"));
    tmp.WriteFile("ID1/pak0.pak", MakePak({{"maps/start.bsp", map}}));
    EXPECT_EQ(List("").find("Hidden"), std::string::npos);
    if (!Pk3Supported()) {
        GTEST_SKIP() << "PK3 part skipped: this build has no zip library (libzip)";
    }
    tmp.WriteFile("ID1/maps.pk3", "no zip");  // a broken archive is a read error as for PAKs
    std::string err;
    List("", 1, &err);
    EXPECT_FALSE(err.empty());
}

// Sets a variable for one test and puts the old value back (an unset one comes back empty,
// which the code under test treats as unset).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        old_ = old != nullptr ? old : "";
        test::SetEnv(name_, value);
    }
    ~ScopedEnv() { test::SetEnv(name_, old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
};

TEST(DefaultCacheFile, FollowsTheCacheDirectoryRules) {
    ScopedEnv xdg("XDG_CACHE_HOME", "/tmp/xdg-cache");
    using platform::JoinPath;
    EXPECT_EQ(DefaultCacheFile(), JoinPath(JoinPath("/tmp/xdg-cache", "fenmar"), "maps.sqlite"));
    ScopedEnv relative("XDG_CACHE_HOME", "relative");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(DefaultCacheFile(),
              JoinPath(JoinPath(JoinPath("/home/someone", ".cache"), "fenmar"), "maps.sqlite"));
}

}  // namespace
}  // namespace fenmar::maps
