#include <gtest/gtest.h>

#include <limits>

#include "core/Numbers.h"

namespace fenmar {
namespace {

TEST(StrToInt, ConvertsDecimalNumbersWithSignAndSurroundingBlanks) {
    EXPECT_EQ(StrToInt("26000"), 26000);
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_EQ(StrToInt("+12"), 12);
    EXPECT_EQ(StrToInt("  300\t"), 300);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(StrToInt, RejectsEverythingElse) {
    for (const char* text : {"", "   ", "-", "+", "- 5", "12a", "a12", "1 2", "1.5", "0x10", "$10",
                             "1e3", "2147483648", "-2147483649", "99999999999999999999"}) {
        EXPECT_FALSE(StrToInt(text).has_value()) << '"' << text << '"';
    }
}

TEST(InvalidIntegerMessage, QuotesTheTextAsTyped) {
    EXPECT_EQ(InvalidIntegerMessage("26a00"), "'26a00' is not a valid integer value");
    EXPECT_EQ(InvalidIntegerMessage(""), "'' is not a valid integer value");
}

TEST(Clamping, LimitsToTheFieldsRange) {
    EXPECT_EQ(ClampToRange(5, 1, 16), 5);
    EXPECT_EQ(ClampToRange(0, 1, 16), 1);
    EXPECT_EQ(ClampToRange(40, 1, 16), 16);
    EXPECT_EQ(ClampToUInt8(300), 255);
    EXPECT_EQ(ClampToUInt8(255), 255);
    EXPECT_EQ(ClampToUInt8(-1), 0);
    EXPECT_EQ(ClampToUInt16(70000), 65535);
    EXPECT_EQ(ClampToUInt16(26000), 26000);
    EXPECT_EQ(ClampToUInt16(-26000), 0);
}

}  // namespace
}  // namespace fenmar
