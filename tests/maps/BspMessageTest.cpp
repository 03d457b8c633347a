#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include "MapFiles.h"
#include "maps/BspMessage.h"

namespace fenmar::maps {
namespace {

using test::MakeBsp;
using test::PutInt32;
using test::WorldWithTitle;

std::string TitleOf(const std::string& bsp, std::int64_t start = 0) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bsp.data());
    MemorySource source(std::span<const std::uint8_t>(data, bsp.size()));
    BinaryReader reader(source);
    return ReadBSPMessage(reader, start);
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

TEST(ConvertQuakeChars, MapsEveryRangeOfTheConsoleCharacters) {
    const std::string in = Bytes({0x00, 0x0F, 0x10, 0x11, 0x12, 0x1B, 0x1C, 0x1D, 0x1F, 0x20,
                                  0x41, 0x7F, 0x80, 0x82, 0x83, 0x8C, 0x8D, 0x8E, 0x8F, 0x90,
                                  0x91, 0x92, 0x9B, 0x9C, 0x9D, 0x9F, 0xA0, 0xA1, 0xC1, 0xFF});
    const std::string want =
        Bytes({' ', ' ', '[', ']', '0', '9', ' ', '-', '-', ' ', 'A', 0x7F, '=', '=', ' ',
               ' ', '>', ' ', ' ', '[', ']', '0', '9', ' ', '-', '-', ' ',  '!', 'A', 0x7F});
    EXPECT_EQ(ConvertQuakeChars(in), want);
    EXPECT_EQ(ConvertQuakeChars(""), "");
}

TEST(ReadBSPMessage, ReturnsTheFirstLineOfTheWorldspawnMessageCleaned) {
    EXPECT_EQ(TitleOf(MakeBsp(WorldWithTitle("The Installation"))), "The Installation");
    EXPECT_EQ(TitleOf(MakeBsp(WorldWithTitle("Line one\\nLine two\\nthree"))), "Line one");
    EXPECT_EQ(TitleOf(MakeBsp(WorldWithTitle(Bytes({0xC1, 0x92})))), "A0");
    EXPECT_EQ(TitleOf(MakeBsp(WorldWithTitle(""))), "");
}

TEST(ReadBSPMessage, LooksOnlyAtTheFirstEntity) {
    const std::string entities =
        "{\n\"classname\" \"worldspawn\"\n}\n{\n\"message\" \"Not the title\"\n}\n";
    EXPECT_EQ(TitleOf(MakeBsp(entities)), kNoDescription);
    EXPECT_EQ(TitleOf(MakeBsp("")), kNoDescription);
    // The key is matched with its quotes and case.
    EXPECT_EQ(TitleOf(MakeBsp("{ \"Message\" \"x\" \"messages\" \"y\" }")), kNoDescription);
}

TEST(ReadBSPMessage, TakesTheRestOfTheEntityWhenTheValueIsNotClosed) {
    EXPECT_EQ(TitleOf(MakeBsp("{ \"message\" \"Open ended")), "Open ended");
    EXPECT_EQ(TitleOf(MakeBsp("{ \"message\" \"Cut } here\" }")), "Cut ");
    EXPECT_EQ(TitleOf(MakeBsp("{ \"message\"")), "");
}

TEST(ReadBSPMessage, FollowsAFirstEntityLongerThanTheWindow) {
    std::string keys = "{\n\"classname\" \"worldspawn\"\n";
    while (keys.size() < 600) {
        keys += "\"_some_editor_key\" \"0 0 0\"\n";
    }
    EXPECT_EQ(TitleOf(MakeBsp(keys + "\"message\" \"Far Away\"\n}\n")), "Far Away");
    // ...but not past the first entity, the entities lump or 64 KiB.
    EXPECT_EQ(TitleOf(MakeBsp(keys + "}\n{ \"message\" \"Second\" }")), kNoDescription);
    std::string lumpEndsEarly = MakeBsp(keys + "\"message\" \"Outside\"\n}\n");
    PutInt32(lumpEndsEarly, 8, 400);
    EXPECT_EQ(TitleOf(lumpEndsEarly), kNoDescription);
    std::string huge = keys;
    huge.resize(kMaxFirstEntity + 10, ' ');
    EXPECT_EQ(TitleOf(MakeBsp(huge + "\"message\" \"Too far\" }")), kNoDescription);
    // A lump that claims more than the file holds ends the text at the end of the file.
    std::string shortLump = MakeBsp(keys + "\"message\" \"At the end");
    shortLump.resize(shortLump.find("end") + 3);
    PutInt32(shortLump, 8, 1 << 30);
    EXPECT_EQ(TitleOf(shortLump), "At the end");
}

TEST(ReadBSPMessage, ChargesTheBudgetWhatTheTitleNeedsBeyondTheWindow) {
    std::string keys = "{\n\"classname\" \"worldspawn\"\n";
    while (keys.size() < 1000) {
        keys += "\"_some_editor_key\" \"0 0 0\"\n";
    }
    const std::string more = "{ \"classname\" \"light\" }\n" + std::string(8000, ' ');
    const std::string early = "{ \"message\" \"Early\" " + keys.substr(1) + "}\n" + more;
    const std::string late = keys + "\"message\" \"Late\"\n\"wad\" \"x\"\n}\n" + more;
    const std::string none = keys + "}\n" + more;
    const std::size_t lateEnd = late.find("Late") + 5;
    struct Case {
        const std::string& entities;
        std::size_t budget;
        std::string title;
        std::size_t charged;
        bool cut;
    };
    const Case cases[] = {
        {early, 100000, "Early", 0, false},  // the window holds the whole title
        {late, 100000, "Late", lateEnd - kTitleWindow, false},
        {none, 100000, std::string(kNoDescription), keys.size() + 1 - kTitleWindow, false},
        {late, 100, std::string(kNoDescription), 100, true},
    };
    for (const Case& c : cases) {
        const std::string bsp = MakeBsp(c.entities);
        const auto* data = reinterpret_cast<const std::uint8_t*>(bsp.data());
        MemorySource source(std::span<const std::uint8_t>(data, bsp.size()));
        BinaryReader reader(source);
        std::size_t budget = c.budget;
        bool cut = !c.cut;
        EXPECT_EQ(ReadBSPMessage(reader, 0, budget, &cut), c.title);
        EXPECT_EQ(c.budget - budget, c.charged) << c.title;
        EXPECT_EQ(cut, c.cut) << c.title;
    }
}

TEST(ReadBSPMessage, ReadsFromTheGivenStart) {
    const std::string bsp = std::string(100, 'x') + MakeBsp(WorldWithTitle("Inside"), 400);
    EXPECT_EQ(TitleOf(bsp, 100), "Inside");
}

TEST(ReadBSPMessage, FailsOnOffsetsOutsideTheFile) {
    const std::string good = MakeBsp(WorldWithTitle("x"));
    std::string past = good;
    PutInt32(past, 4, 1 << 30);
    std::string negative = good;
    PutInt32(negative, 4, -100);
    std::string nearEnd = good;
    PutInt32(nearEnd, 4, static_cast<std::int32_t>(good.size() - 254));
    for (const auto& bsp : {past, negative, nearEnd, good.substr(0, 6)}) {
        try {
            TitleOf(bsp);
            ADD_FAILURE() << "no error";
        } catch (const ReadError& e) {
            EXPECT_STREQ(e.what(), "Read beyond end of file");
        }
    }
    PutInt32(nearEnd, 4, static_cast<std::int32_t>(good.size() - 255));
    EXPECT_EQ(TitleOf(nearEnd), kNoDescription);
    EXPECT_THROW(TitleOf(good, -3), ReadError);
}

}  // namespace
}  // namespace fenmar::maps

namespace fenmar::maps {
namespace {

// Later formats keep the entities lump first in the directory: the same read gives the title.
TEST(ReadBSPMessage, ReadsTheLargeMapFormatsAndHalfLifeMapsLikeVersion29) {
    const std::string title = "Big Castle";
    std::string bsp2 = test::MakeBsp(test::WorldWithTitle(title));
    bsp2.replace(0, 4, "BSP2");
    EXPECT_EQ(TitleOf(bsp2), title);
    std::string twoPsb = test::MakeBsp(test::WorldWithTitle(title));
    twoPsb.replace(0, 4, "2PSB");
    EXPECT_EQ(TitleOf(twoPsb), title);
    std::string halfLife = test::MakeBsp(
        "{\n\"wad\" \"\\half-life\\valve\\halflife.wad\"\n\"message\" \"Crossfire\\nby someone\"\n"
        "\"classname\" \"worldspawn\"\n}\n");
    test::PutInt32(halfLife, 0, 30);
    EXPECT_EQ(TitleOf(halfLife), "Crossfire");
}

}  // namespace
}  // namespace fenmar::maps
