// Reading the catalogue: fields, dates, damaged releases, hostile documents, the filter.
#include <gtest/gtest.h>

#include "CatalogueXml.h"
#include "addons/AddOnFilter.h"
#include "addons/CatalogueReader.h"

namespace fenmar::addons {
namespace {

using test::CatalogueItem;
using test::CatalogueXml;

TEST(AddOnDateTest, ParsesBothYearFormsAndRejectsTheRest) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"03.11.2009", "2009-11-03"},
        {"3.1.09", "2009-01-03"},
        {"01.01.75", "1975-01-01"},
        {"29.02.2000", "2000-02-29"},
        {"29.02.2001", ""},
        {"31.04.2010", ""},
        {"2009-11-03", ""},
        {"", ""},
        {"1.1.123", ""},
        {"00.01.2000", ""},
        {"01.13.2000", ""},
        {"a.b.cd", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseAddOnDate(c.text).Text(), c.expected) << c.text;
    }
    EXPECT_LT(ParseAddOnDate("31.12.1999").SortKey(), ParseAddOnDate("01.01.00").SortKey());
}

TEST(CatalogueReaderTest, ReadsEveryField) {
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<files>
<file id="mymap" type="1" rating="4.5" normalized_users_rating="3.25">
  <author>A &amp; B</author><title>My &lt;Map&gt;</title>
  <md5sum>0123456789ABCDEF0123456789ABCDEF</md5sum><size>1234</size><date>05.06.07</date>
  <description><![CDATA[<b>bold</b> & <a href="http://x">link</a>]]></description>
  <techinfo><zipbasedir>./id1\maps/</zipbasedir><commandline>-game quoth -hipnotic</commandline>
    <startmap>one</startmap><startmap> two </startmap>
    <requirements><file id="quoth"/><file id="other" /></requirements></techinfo>
  <tags><tag>sp</tag><tag>base</tag></tags>
</file>
<file id="bare" type="2" rating=""><title>Bare</title></file>
</files>)";
    const CatalogueResult result = ReadCatalogue(xml);
    ASSERT_TRUE(result.Ok()) << result.error;
    ASSERT_EQ(result.catalogue.Size(), 2u);
    const AddOn& a = result.catalogue.AddOns()[0];
    EXPECT_EQ(a.id, "mymap");
    EXPECT_EQ(a.type, AddOnType::Map);
    EXPECT_EQ(a.rating, 4.5);
    EXPECT_EQ(a.usersRating, 3.25);
    EXPECT_EQ(a.author, "A & B");
    EXPECT_EQ(a.title, "My <Map>");
    EXPECT_EQ(a.md5, "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(a.sizeKiB, 1234);
    EXPECT_EQ(a.date.Text(), "2007-06-05");
    EXPECT_EQ(a.descriptionHtml, R"(<b>bold</b> & <a href="http://x">link</a>)");
    EXPECT_EQ(a.zipBaseDir, "id1/maps");
    EXPECT_EQ(a.commandLine, "-game quoth -hipnotic");
    EXPECT_EQ(a.startMaps, (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(a.startMapsGiven);
    EXPECT_EQ(a.requirements, (std::vector<std::string>{"quoth", "other"}));
    EXPECT_EQ(a.tags, (std::vector<std::string>{"sp", "base"}));
    const AddOn* bare = result.catalogue.Find("BARE");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->type, AddOnType::Mod);
    EXPECT_FALSE(bare->rating.has_value());
    EXPECT_FALSE(bare->usersRating.has_value());
    EXPECT_EQ(bare->sizeKiB, -1);
    EXPECT_EQ(bare->startMaps, std::vector<std::string>{"bare"});
    EXPECT_FALSE(bare->startMapsGiven);
}

// One damaged release costs only itself: bare '&' and unknown entities are repaired, what
// cannot be repaired is skipped and counted, and the releases around it are read.
TEST(CatalogueReaderTest, DamagedReleasesCostOnlyThemselves) {
    const CatalogueItem ampersand = test::Item("amp", "Tom & Jerry", "Caf&eacute; &#233; R&D");
    const CatalogueItem good = test::Item("good");
    const std::string broken = "<file id=\"broken\" type=\"1\"><title>x</title><author>y</file>\n";
    const std::string badId = "<file id=\"../etc\" type=\"1\"><title>x</title></file>\n";
    const std::string unclosed = "<file id=\"open\" type=\"1\"><title>lost</title>\n";
    const std::string hugeType = "<file id=\"huge\" type=\"1e30\"><title>x</title></file>\n";
    const std::string xml = CatalogueXml(std::vector<std::string>{
        test::CatalogueEntryXml(ampersand), broken, badId, unclosed, hugeType,
        test::CatalogueEntryXml(good)});
    const CatalogueResult result = ReadCatalogue(xml);
    ASSERT_TRUE(result.Ok()) << result.error;
    ASSERT_NE(result.catalogue.Find("amp"), nullptr);
    EXPECT_EQ(result.catalogue.Find("amp")->title, "Tom & Jerry");
    EXPECT_EQ(result.catalogue.Find("amp")->author, "Caf&eacute; \xC3\xA9 R&D");
    EXPECT_NE(result.catalogue.Find("good"), nullptr);
    EXPECT_NE(result.catalogue.Find("broken"), nullptr);  // the stray end tag is recovered
    ASSERT_NE(result.catalogue.Find("huge"), nullptr);
    EXPECT_EQ(result.catalogue.Find("huge")->type, AddOnType::Unknown);
    EXPECT_EQ(result.catalogue.Size(), 4u);
    EXPECT_EQ(result.catalogue.Skipped(), 2u);  // the bad id, the release left open
    EXPECT_EQ(result.catalogue.Problems().size(), 2u);
}

TEST(CatalogueReaderTest, RefusesOrBoundsHostileDocuments) {
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE files [\n<!ENTITY a \"aaaaaaaaaa\">\n";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY " + std::string(1, static_cast<char>('a' + i)) + " \"";
        for (int j = 0; j < 10; ++j) {
            bomb += "&" + std::string(1, static_cast<char>('a' + i - 1)) + ";";
        }
        bomb += "\">\n";
    }
    bomb += "]>\n<files><file id=\"x\"><title>&j;</title></file></files>";
    const std::string external =
        "<!DOCTYPE files [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><files><file "
        "id=\"x\"><title>&e;</title></file></files>";
    std::string deep = "<files><file id=\"deep\">";
    for (int i = 0; i < 40; ++i) {
        deep += "<a>";
    }
    for (int i = 0; i < 40; ++i) {
        deep += "</a>";
    }
    deep += "</file><file id=\"flat\"/></files>";
    const std::string undeclared = "<files><file id=\"u\"><title>&j;</title></file></files>";

    EXPECT_NE(ReadCatalogue(bomb).error.find("entities"), std::string::npos);
    EXPECT_NE(ReadCatalogue(external).error.find("entities"), std::string::npos);
    EXPECT_FALSE(ReadCatalogue("<html><body/></html>").Ok());
    EXPECT_FALSE(ReadCatalogue("{\"files\": []}").Ok());
    EXPECT_FALSE(ReadCatalogue(CatalogueXml(std::vector<std::string>{}), {10}).Ok());

    const CatalogueResult deepResult = ReadCatalogue(deep);
    ASSERT_TRUE(deepResult.Ok());
    EXPECT_EQ(deepResult.catalogue.Size(), 1u);
    EXPECT_EQ(deepResult.catalogue.Skipped(), 1u);
    // Without a document type an unknown entity is text, never an expansion.
    const CatalogueResult plain = ReadCatalogue(undeclared);
    ASSERT_EQ(plain.catalogue.Size(), 1u);
    EXPECT_EQ(plain.catalogue.AddOns()[0].title, "&j;");

    ReadLimits few;
    few.maxEntries = 3;
    const CatalogueResult capped = ReadCatalogue(test::SyntheticCatalogue(5), few);
    EXPECT_EQ(capped.catalogue.Size(), 3u);
    EXPECT_EQ(capped.catalogue.Skipped(), 2u);
}

TEST(CatalogueReaderTest, ReadsTwoThousandReleasesAndDropsDuplicateIds) {
    const CatalogueResult result = ReadCatalogue(test::SyntheticCatalogue(2000));
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.catalogue.Size(), 2000u);
    EXPECT_EQ(result.catalogue.Skipped(), 0u);
    EXPECT_EQ(result.catalogue.Find("release1990")->title,
              "Quite a long title number 1990 & friends");

    const CatalogueResult twice =
        ReadCatalogue(CatalogueXml({test::Item("x", "first"), test::Item("X", "2nd")}));
    EXPECT_EQ(twice.catalogue.Size(), 1u);
    EXPECT_EQ(twice.catalogue.Find("x")->title, "first");
    EXPECT_EQ(twice.catalogue.Skipped(), 1u);
}

TEST(AddOnFilterTest, MatchesEveryWordInTitleAuthorOrId) {
    std::vector<AddOn> addOns(3);
    addOns[0].id = "ad_v1_80";
    addOns[0].title = "Arcane Dimensions";
    addOns[0].author = "Sock";
    addOns[1].id = "quoth";
    addOns[1].title = "Quoth";
    addOns[1].author = "Kell & Preach";
    addOns[2].id = "czg07";
    addOns[2].title = "Insomnia";
    addOns[2].author = "czg";
    const struct {
        const char* text;
        std::vector<std::size_t> expected;
    } cases[] = {
        {"", {0, 1, 2}},      {"  ", {0, 1, 2}}, {"ARCANE", {0}}, {"sock arc", {0}},
        {"preach", {1}},      {"czg", {2}},      {"07", {2}},     {"sock quoth", {}},
        {"dimensions x", {}}, {"n", {0, 2}},
    };
    const AddOnFilter filter(addOns);
    for (const auto& c : cases) {
        EXPECT_EQ(filter.Match(c.text), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace fenmar::addons
