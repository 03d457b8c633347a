// Judging a release's zip before anything is written.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipFiles.h"
#include "addons/ZipEntries.h"

namespace fenmar::addons {
namespace {

using test::ZipItem;

TEST(ZipInspectTest, RefusesUnsafeArchivesWhole) {
    const std::string zeros(2u << 20, '\0');
    const struct {
        std::vector<ZipItem> items;
        const char* error;  // part of the message; "" = accepted
    } cases[] = {
        {{{"maps/a.bsp", "x"}, {"readme.txt", "y"}}, ""},
        {{{"./maps\\a.bsp", "x"}, {"maps/", ""}, {"./", ""}}, ""},
        {{{"ok.txt", "x"}, {"../escape.txt", "y"}}, "climbs"},
        {{{"maps/../../escape.txt", "y"}}, "climbs"},
        {{{"maps\\..\\..\\escape.txt", "y"}}, "climbs"},
        {{{"/etc/passwd", "y"}}, "absolute"},
        {{{"\\windows\\x", "y"}}, "absolute"},
        {{{"C:/x.txt", "y"}}, "drive"},
        {{{"a/nul.txt", "y"}}, "no system"},
        {{{"a/b?.txt", "y"}}, "no system"},
        {{{"a/trailing. ", "y"}}, "no system"},
        {{{"maps/link.bsp", "/etc/passwd", true, 0120777}}, "link"},
        {{{"maps/dev", "", true, 0020644}}, "device"},
        {{{"maps/fifo", "", true, 0010644}}, "device"},
        {{{"maps/plain.bsp", "x", true, 0100644}}, ""},
        {{{"maps/A.bsp", "x"}, {"maps/a.bsp", "y"}}, "differ only in case"},
        {{{"Maps/x.bsp", "x"}, {"maps/y.bsp", "y"}}, "differ only in case"},
        {{{"maps", "x"}, {"maps/y.bsp", "y"}}, "twice"},
        {{{"bomb.bsp", zeros}}, "beyond reason"},
    };
    test::TempDir dir;
    int n = 0;
    for (const auto& c : cases) {
        const std::filesystem::path file = dir.Path() / ("case" + std::to_string(n++) + ".zip");
        test::WriteZip(file, c.items);
        const ZipListing listing = InspectZip(file.string());
        if (*c.error == '\0') {
            EXPECT_TRUE(listing.Ok()) << c.items.front().name << ": " << listing.error;
        } else {
            EXPECT_NE(listing.error.find(c.error), std::string::npos)
                << c.items.front().name << ": " << listing.error;
            EXPECT_TRUE(listing.entries.empty() || !listing.Ok());
        }
    }
}

TEST(ZipInspectTest, CleansNamesAndKeepsToItsBudgets) {
    test::TempDir dir;
    const std::filesystem::path file = dir.Path() / "ok.zip";
    test::WriteZip(file, {{"./maps\\a.bsp", std::string(3000, 'a')}, {"maps/", ""}, {"b", "bb"}});
    const ZipListing listing = InspectZip(file.string());
    ASSERT_TRUE(listing.Ok()) << listing.error;
    ASSERT_EQ(listing.entries.size(), 3u);
    EXPECT_EQ(listing.entries[0].name, "maps/a.bsp");
    EXPECT_FALSE(listing.entries[0].directory);
    EXPECT_EQ(listing.entries[1].name, "maps");
    EXPECT_TRUE(listing.entries[1].directory);
    EXPECT_EQ(listing.totalBytes, 3002u);

    UnpackLimits small;
    small.maxTotalBytes = 3001;
    EXPECT_NE(InspectZip(file.string(), small).error.find("more content"), std::string::npos);
    small = {};
    small.maxEntries = 2;
    EXPECT_NE(InspectZip(file.string(), small).error.find("more entries"), std::string::npos);
    small = {};
    small.maxDepth = 0;
    EXPECT_NE(InspectZip(file.string(), small).error.find("too deep"), std::string::npos);
    EXPECT_NE(InspectZip(dir.WriteFile("junk.zip", "PK\x03\x04 not a zip")).error.find("not a"),
              std::string::npos);
}

}  // namespace
}  // namespace fenmar::addons
