// Addresses, download checks, the stored catalogue address, install order and play plans.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "addons/AddOnSettings.h"
#include "addons/Download.h"
#include "addons/InstallOrder.h"
#include "addons/Play.h"
#include "store/OpenStore.h"

namespace fenmar::addons {
namespace {

TEST(DownloadTest, AddressesComeFromTheCatalogueHostOnlyForPlainIds) {
    const struct {
        const char* catalogue;
        const char* id;
        const char* url;  // "" = refused
    } cases[] = {
        {"https://catalogue.example/reviews/database.xml", "czg07",
         "https://catalogue.example/filebase/czg07.zip"},
        {"http://127.0.0.1:8123/some/where/db.xml?x=1#y", "a_b-1.2",
         "http://127.0.0.1:8123/filebase/a_b-1.2.zip"},
        {"http://user:pw@127.0.0.1/db.xml", "x", "http://127.0.0.1/filebase/x.zip"},
        {"http://127.0.0.1/db.xml", "two words", "http://127.0.0.1/filebase/two%20words.zip"},
        {"ftp://127.0.0.1/db.xml", "x", ""},
        {"file:///etc/db.xml", "x", ""},
        {"/local/db.xml", "x", ""},
        {"http://127.0.0.1/db.xml", "../x", ""},
        {"http://127.0.0.1/db.xml", "a/b", ""},
        {"http://127.0.0.1/db.xml", "a\\b", ""},
        {"http://127.0.0.1/db.xml", "c:x", ""},
        {"http://127.0.0.1/db.xml", "NUL", ""},
        {"http://127.0.0.1/db.xml", "", ""},
        {"http://127.0.0.1/db.xml", "x?y", ""},
    };
    for (const auto& c : cases) {
        const Address address = DownloadUrl(c.catalogue, c.id);
        EXPECT_EQ(address.url, c.url) << c.catalogue << " " << c.id;
        EXPECT_EQ(address.Ok(), *c.url != '\0') << c.catalogue << " " << c.id;
    }
}

TEST(DownloadTest, ChecksSizeWithinAKibibyteAndMd5) {
    test::TempDir dir;
    const std::string content(12 * 1024, 'q');
    const std::string md5 = "a3a4a8dd0e8c1ad6a5de7ff6c0e7a2d2";  // not this content's
    AddOn addOn;
    addOn.id = "x";
    const struct {
        std::int64_t sizeKiB;
        std::size_t bytes;
        bool ok;
    } sizes[] = {
        {10, 10 * 1024, true},      {10, 9 * 1024, true},      {10, 11 * 1024, true},
        {10, 11 * 1024 + 1, false}, {10, 9 * 1024 - 1, false}, {-1, 5, true},
    };
    for (const auto& c : sizes) {
        addOn.sizeKiB = c.sizeKiB;
        const std::string file = dir.WriteFile("dl.zip", content.substr(0, c.bytes));
        EXPECT_EQ(CheckDownloadedFile(addOn, file).Ok(), c.ok) << c.sizeKiB << " " << c.bytes;
        EXPECT_EQ(DownloadOverrun(addOn, static_cast<std::int64_t>(c.bytes)),
                  c.bytes > 11 * 1024 && c.sizeKiB == 10);
    }
    addOn.sizeKiB = 12;
    const std::string file = dir.WriteFile("dl.zip", content);
    const std::string actual = Md5OfFile(file);
    EXPECT_EQ(actual.size(), 32u);
    addOn.md5 = md5;
    EXPECT_NE(CheckDownloadedFile(addOn, file).error.find("MD5"), std::string::npos);
    addOn.md5 = actual;
    EXPECT_TRUE(CheckDownloadedFile(addOn, file).Ok());
    EXPECT_FALSE(CheckDownloadedFile(addOn, file + ".missing").Ok());
    EXPECT_EQ(Md5OfFile(dir.WriteFile("empty", "")), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(AddOnSettingsTest, StoresOnlyWebAddressesAndFallsBackToTheDefault) {
    test::TempDir dir;
    const std::unique_ptr<store::Store> store =
        store::OpenStoreAt(dir.Str() + "/settings.sqlite").store;
    if (!store) {
        GTEST_SKIP() << "this build has no file-backed settings store";
    }
    EXPECT_EQ(ReadCatalogueAddress(*store), kDefaultCatalogue);
    EXPECT_TRUE(WriteCatalogueAddress(*store, "http://127.0.0.1:9/db.xml"));
    EXPECT_EQ(ReadCatalogueAddress(*store), "http://127.0.0.1:9/db.xml");
    EXPECT_FALSE(WriteCatalogueAddress(*store, "ftp://127.0.0.1/db.xml"));
    EXPECT_EQ(ReadCatalogueAddress(*store), "http://127.0.0.1:9/db.xml");
    EXPECT_TRUE(WriteCatalogueAddress(*store, ""));
    EXPECT_EQ(ReadCatalogueAddress(*store), kDefaultCatalogue);
    // Something else stored by hand is not used.
    store->CreateKey(kAddOnsKey);
    store->SetValue(kAddOnsKey, kCatalogueValue, store::kRegSz, "file:///etc/passwd");
    EXPECT_EQ(ReadCatalogueAddress(*store), kDefaultCatalogue);
}

AddOn Release(std::string id, std::vector<std::string> requirements = {}) {
    AddOn addOn;
    addOn.id = std::move(id);
    addOn.requirements = std::move(requirements);
    return addOn;
}

TEST(InstallOrderTest, RequirementsFirstOnceAndFaultsNamed) {
    const Catalogue catalogue(
        {Release("map", {"ad", "quoth"}), Release("ad", {"base"}), Release("quoth", {"base"}),
         Release("base"), Release("loop1", {"loop2"}), Release("loop2", {"loop3"}),
         Release("loop3", {"loop1"}), Release("self", {"self"}), Release("needy", {"ghost"})});
    const struct {
        std::vector<std::string> ids;
        std::string order;  // ids joined by ' ', or the expected error
    } cases[] = {
        {{"map"}, "base ad quoth map"},
        {{"quoth", "map"}, "base quoth ad map"},
        {{"base", "base"}, "base"},
        {{"loop1"}, "The requirements form a cycle: loop1 -> loop2 -> loop3 -> loop1"},
        {{"self"}, "The requirements form a cycle: self -> self"},
        {{"needy"}, "needy needs ghost, which the catalogue does not list"},
        {{"map", "nothing"}, "The catalogue does not list nothing"},
    };
    for (const auto& c : cases) {
        const InstallOrder order = PlanInstallOrder(catalogue, c.ids);
        std::string got = order.error;
        for (const AddOn* addOn : order.addOns) {
            got += (got.empty() ? "" : " ") + addOn->id;
        }
        EXPECT_EQ(got, c.order);
    }
}

TEST(PlayTest, GamePatchMapAndParametersFromTheRelease) {
    const struct {
        const char* commandLine;
        const char* zipBaseDir;
        std::vector<std::string> startMaps;
        const char* chosen;
        const char* patch;
        const char* map;
        bool choice;
        const char* parameters;
    } cases[] = {
        {"-game quoth -hipnotic", "", {"a", "b"}, "", "quoth", "", true, "-hipnotic"},
        {"-game quoth -hipnotic", "", {"a", "b"}, "b", "quoth", "b", false, "-hipnotic"},
        {"", "ad/", {"start"}, "", "ad", "start", false, ""},
        {"", "id1/maps", {"e1m1x"}, "", "", "e1m1x", false, ""},
        {"-GAME mymod +map intro +skill 2", "id1", {"x"}, "", "mymod", "intro", false, "+skill 2"},
        {"-game ../../etc", "", {"x"}, "", "", "", false, ""},
        {"", "", {"../evil", "ok"}, "", "", "ok", false, ""},
    };
    for (const auto& c : cases) {
        AddOn addOn;
        addOn.id = "rel";
        addOn.commandLine = c.commandLine;
        addOn.zipBaseDir = c.zipBaseDir;
        addOn.startMaps = c.startMaps;
        addOn.startMapsGiven = true;
        const PlayPlan plan = PlanPlay(addOn, c.chosen);
        if (std::string(c.commandLine).find("..") != std::string::npos) {
            EXPECT_FALSE(plan.Ok()) << c.commandLine;
            continue;
        }
        ASSERT_TRUE(plan.Ok()) << plan.error;
        EXPECT_EQ(plan.gamePatch, c.patch) << c.commandLine;
        EXPECT_EQ(plan.map, c.map) << c.commandLine;
        EXPECT_EQ(plan.NeedsChoice(), c.choice) << c.commandLine;
        EXPECT_EQ(plan.additionalParameters, c.parameters) << c.commandLine;
    }
    // A start map that is only the id by default counts where that map is installed.
    test::TempDir quake;
    AddOn byId;
    byId.id = "mymap";
    byId.startMaps = {"mymap"};
    EXPECT_EQ(PlanPlay(byId, {}, quake.Str()).map, "");
    quake.WriteFile("ID1/Maps/MyMap.bsp", "x");
    EXPECT_EQ(PlanPlay(byId, {}, quake.Str()).map, "mymap");
    EXPECT_FALSE(PlanPlay(byId, "../x").Ok());
}

}  // namespace
}  // namespace fenmar::addons
