// The typed operations and their edge cases, on a real SQLite store file.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "store/RegistryHandling.h"

namespace fenmar::store {
namespace {

using fenmar::test::TempDir;
using test::Bytes;
using Strings = std::vector<std::string>;

class RegistryHandlingTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<Store> store = test::OpenFresh(dir);
    Key key = CreateKey(*store, "Software\\Corvanta\\Fenmar\\Test");
};

TEST_F(RegistryHandlingTest, TextIsStoredWithoutTerminatingZero) {
    RegWriteString(key, "LaunchMap", "e1m1");
    ValueData data;
    ASSERT_EQ(store->QueryValue(key.Path(), "LaunchMap", data), Status::Ok);
    EXPECT_EQ(data.type, kRegSz);
    EXPECT_EQ(data.bytes, "e1m1");
    EXPECT_EQ(RegReadString(key, "LaunchMap"), "e1m1");

    RegWriteString(key, "Empty", "");
    ASSERT_EQ(store->QueryValue(key.Path(), "Empty", data), Status::Ok);
    EXPECT_EQ(data.bytes, "");
    EXPECT_EQ(RegReadString(key, "Empty"), "");
}

TEST_F(RegistryHandlingTest, TextWithTerminatingZeroReadsTheSame) {
    store->SetValue(key.Path(), "C", kRegSz, std::string("plug\0", 5));
    EXPECT_EQ(RegReadString(key, "C"), "plug");
}

TEST_F(RegistryHandlingTest, TextOf260CharactersReadsBack) {
    const std::string text(260, 'x');
    RegWriteString(key, "Long", text);
    EXPECT_EQ(RegReadString(key, "Long"), text);
    // With its terminating zero it still fits the 261-byte buffer.
    store->SetValue(key.Path(), "Long0", kRegSz, text + std::string(1, '\0'));
    EXPECT_EQ(RegReadString(key, "Long0"), text);
}

TEST_F(RegistryHandlingTest, TextOf261OrMoreCharactersReadsAsEmptyNotTruncated) {
    RegWriteString(key, "TooLong", std::string(261, 'x'));
    EXPECT_EQ(RegReadString(key, "TooLong"), "");
    RegWriteString(key, "WayTooLong", std::string(5000, 'y'));
    EXPECT_EQ(RegReadString(key, "WayTooLong"), "");
    // The value itself is stored whole.
    EXPECT_EQ(Bytes(*store, key.Path(), "TooLong").size(), 261u);
}

TEST_F(RegistryHandlingTest, AbsentTextReadsAsEmpty) {
    EXPECT_EQ(RegReadString(key, "Nothing"), "");
}

TEST_F(RegistryHandlingTest, BooleanIsYesOrNo) {
    RegWriteBool(key, "T", true);
    RegWriteBool(key, "F", false);
    EXPECT_EQ(Bytes(*store, key.Path(), "T"), "Yes");
    EXPECT_EQ(Bytes(*store, key.Path(), "F"), "No");
    ValueData data;
    store->QueryValue(key.Path(), "T", data);
    EXPECT_EQ(data.type, kRegSz);
    EXPECT_TRUE(RegReadBool(key, "T"));
    EXPECT_FALSE(RegReadBool(key, "F"));
}

TEST_F(RegistryHandlingTest, OnlyExactYesReadsAsTrue) {
    RegWriteString(key, "lower", "yes");
    RegWriteString(key, "one", "1");
    RegWriteString(key, "YES", "YES");
    RegWriteString(key, "Yes!", "Yes!");
    RegWriteInteger(key, "number", 1);
    EXPECT_FALSE(RegReadBool(key, "lower"));
    EXPECT_FALSE(RegReadBool(key, "one"));
    EXPECT_FALSE(RegReadBool(key, "YES"));
    EXPECT_FALSE(RegReadBool(key, "Yes!"));
    EXPECT_FALSE(RegReadBool(key, "number"));
    EXPECT_FALSE(RegReadBool(key, "absent"));
    store->SetValue(key.Path(), "Yes0", kRegSz, std::string("Yes\0", 4));
    EXPECT_TRUE(RegReadBool(key, "Yes0"));
}

TEST_F(RegistryHandlingTest, IntegerIsFourBytesLittleEndian) {
    RegWriteInteger(key, "Port", 26000);
    ValueData data;
    ASSERT_EQ(store->QueryValue(key.Path(), "Port", data), Status::Ok);
    EXPECT_EQ(data.type, kRegDword);
    EXPECT_EQ(data.bytes, std::string("\x90\x65\x00\x00", 4));
    EXPECT_EQ(RegReadInteger(key, "Port"), 26000);

    RegWriteInteger(key, "Minus", -2);
    EXPECT_EQ(Bytes(*store, key.Path(), "Minus"), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(RegReadInteger(key, "Minus"), -2);
    RegWriteInteger(key, "Min", INT32_MIN);
    EXPECT_EQ(RegReadInteger(key, "Min"), INT32_MIN);
}

TEST_F(RegistryHandlingTest, AbsentIntegerReadsAsMinusOneAnd255In8Bits) {
    const std::int32_t value = RegReadInteger(key, "Skill");
    EXPECT_EQ(value, -1);
    EXPECT_EQ(static_cast<std::uint8_t>(value), 255);
    EXPECT_EQ(static_cast<std::uint16_t>(value), 65535);
}

TEST_F(RegistryHandlingTest, IntegerOfOtherSizeReadsAsMinusOne) {
    RegWriteString(key, "Text", "No");  // 2 bytes
    EXPECT_EQ(RegReadInteger(key, "Text"), -1);
    RegWriteString(key, "Five", "12345");
    EXPECT_EQ(RegReadInteger(key, "Five"), -1);
    // The type is not checked: 4 bytes of text read as a number.
    RegWriteString(key, "Four", std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(RegReadInteger(key, "Four"), 1);
}

TEST_F(RegistryHandlingTest, ListWritingDropsEmptyAndNone) {
    RegWriteStringList(key, {"a", "", "<none>", "b"});
    std::vector<NamedValue> values;
    ASSERT_EQ(store->EnumValues(key.Path(), values), Status::Ok);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].name, "1");
    EXPECT_EQ(values[0].bytes, "a");
    EXPECT_EQ(values[1].name, "2");
    EXPECT_EQ(values[1].bytes, "b");
    EXPECT_EQ(values[2].name, "Count");
    EXPECT_EQ(RegReadInteger(key, "Count"), 2);
}

TEST_F(RegistryHandlingTest, NoneIsDroppedOnlyExactly) {
    RegWriteStringList(key, {"<NONE>", "<none> "});
    EXPECT_EQ(RegReadInteger(key, "Count"), 2);
    EXPECT_EQ(RegReadString(key, "1"), "<NONE>");
}

TEST_F(RegistryHandlingTest, EmptyListWritesCountZero) {
    RegWriteStringList(key, {});
    EXPECT_EQ(RegReadInteger(key, "Count"), 0);
    RegWriteStringList(key, {"", "<none>"});
    EXPECT_EQ(RegReadInteger(key, "Count"), 0);
}

TEST_F(RegistryHandlingTest, ShorterListLeavesStaleValuesButReadsTwo) {
    RegWriteStringList(key, {"1st", "2nd", "3rd", "4th", "5th"});
    RegWriteStringList(key, {"new1", "new2"});
    EXPECT_EQ(RegReadInteger(key, "Count"), 2);
    EXPECT_EQ(RegReadString(key, "3"), "3rd");
    EXPECT_EQ(RegReadString(key, "4"), "4th");
    EXPECT_EQ(RegReadString(key, "5"), "5th");
    Strings list;
    RegReadStringList(key, list);
    EXPECT_EQ(list, (Strings{"new1", "new2"}));
}

TEST_F(RegistryHandlingTest, LimitCapsTheHighestNumberRead) {
    Strings stored;
    for (int i = 1; i <= 25; ++i) {
        stored.push_back("demo" + std::to_string(i));
    }
    RegWriteStringList(key, stored);
    RegWriteString(key, "3", "");       // an empty entry inside the limit
    RegWriteString(key, "4", "DEMO1");  // a duplicate inside the limit
    Strings list;
    RegReadStringList(key, list, true, 20);
    // Only 1..20 are examined: 3 is empty, 4 duplicates 1; 21..25 are never read.
    ASSERT_EQ(list.size(), 18u);
    EXPECT_EQ(list.front(), "demo1");
    EXPECT_EQ(list.back(), "demo20");
    for (const auto& entry : list) {
        EXPECT_NE(entry, "demo21");
    }
}

TEST_F(RegistryHandlingTest, LimitAboveCountReadsCount) {
    RegWriteStringList(key, {"a", "b", "c"});
    Strings list;
    RegReadStringList(key, list, false, 20);
    EXPECT_EQ(list, (Strings{"a", "b", "c"}));
    list.clear();
    RegReadStringList(key, list, false, 3);  // Count == limit
    EXPECT_EQ(list, (Strings{"a", "b", "c"}));
    list.clear();
    RegReadStringList(key, list, false, 2);
    EXPECT_EQ(list, (Strings{"a", "b"}));
}

TEST_F(RegistryHandlingTest, UniqueSkipsEntriesPresentIgnoringCase) {
    RegWriteStringList(key, {"e1m1", "E1M2", "start", "Start"});
    Strings list{"E1M1"};
    RegReadStringList(key, list, true, 0);
    EXPECT_EQ(list, (Strings{"E1M1", "E1M2", "start"}));

    Strings all{"E1M1"};
    RegReadStringList(key, all, false, 0);
    EXPECT_EQ(all, (Strings{"E1M1", "e1m1", "E1M2", "start", "Start"}));
}

TEST_F(RegistryHandlingTest, ReadingAppendsAndNeverClears) {
    RegWriteStringList(key, {"x"});
    Strings list{"kept"};
    RegReadStringList(key, list);
    EXPECT_EQ(list, (Strings{"kept", "x"}));
}

TEST_F(RegistryHandlingTest, AbsentOrNonPositiveCountLeavesListUnchanged) {
    RegWriteString(key, "1", "orphan");
    Strings list{"kept"};
    RegReadStringList(key, list);  // no Count
    EXPECT_EQ(list, (Strings{"kept"}));
    RegWriteInteger(key, "Count", 0);
    RegReadStringList(key, list);
    EXPECT_EQ(list, (Strings{"kept"}));
    RegWriteInteger(key, "Count", -3);
    RegReadStringList(key, list, true, 20);
    EXPECT_EQ(list, (Strings{"kept"}));
}

TEST_F(RegistryHandlingTest, HugeCountReadsOnlyTheEntriesTheKeyHolds) {
    // A damaged or hand-made "Count" must not make a reader walk two billion names.
    RegWriteString(key, "2", "two");
    RegWriteString(key, "1", "one");
    RegWriteString(key, "7", "seven");
    RegWriteString(key, "07", "not an entry number");
    RegWriteString(key, "2147483647", "last");
    RegWriteString(key, "3", "");
    RegWriteInteger(key, "Count", 0x7fffffff);
    Strings list;
    RegReadStringList(key, list);
    EXPECT_EQ(list, (Strings{"one", "two", "seven", "last"}));  // in number order
    // The limit still caps the highest number read, and "unique" still folds case.
    Strings limited{"TWO"};
    RegReadStringList(key, limited, true, 20);
    EXPECT_EQ(limited, (Strings{"TWO", "one", "seven"}));
    // Entries above "Count" stay unread.
    RegWriteInteger(key, "Count", 2);
    Strings two;
    RegReadStringList(key, two);
    EXPECT_EQ(two, (Strings{"one", "two"}));
}

TEST_F(RegistryHandlingTest, KeyThatIsNotOpenReadsNeutralAndLosesWrites) {
    const Key missing = OpenKey(*store, "Software\\Nowhere");
    EXPECT_FALSE(missing.IsOpen());
    RegWriteString(missing, "a", "b");
    RegWriteInteger(missing, "n", 1);
    RegWriteStringList(missing, {"x"});
    EXPECT_EQ(RegReadString(missing, "a"), "");
    EXPECT_EQ(RegReadInteger(missing, "n"), -1);
    EXPECT_FALSE(RegReadBool(missing, "a"));
    Strings list{"kept"};
    RegReadStringList(missing, list);
    EXPECT_EQ(list, (Strings{"kept"}));
    EXPECT_FALSE(store->KeyExists("Software\\Nowhere"));
}

TEST_F(RegistryHandlingTest, StoreAndPathFormsWorkOnExistingKeys) {
    RegWriteString(*store, "software\\CORVANTA\\fenmar\\test", "Name", "v");
    EXPECT_EQ(RegReadString(key, "NAME"), "v");
    RegWriteStringList(*store, key.Path(), {"p", "q"});
    Strings list;
    RegReadStringList(*store, "Software\\Corvanta\\Fenmar\\Test", list);
    EXPECT_EQ(list, (Strings{"p", "q"}));
    RegWriteBool(*store, key.Path(), "B", true);
    EXPECT_TRUE(RegReadBool(*store, key.Path(), "b"));
    RegWriteInteger(*store, key.Path(), "I", 7);
    EXPECT_EQ(RegReadInteger(*store, key.Path(), "i"), 7);
    // The path form does not create keys.
    RegWriteString(*store, "Software\\Elsewhere", "x", "y");
    EXPECT_FALSE(store->KeyExists("Software\\Elsewhere"));
}

TEST_F(RegistryHandlingTest, SubkeyHelpers) {
    const Key sub = CreateSubkey(key, "MRUs\\Demos");
    ASSERT_TRUE(sub.IsOpen());
    EXPECT_EQ(sub.Path(), "Software\\Corvanta\\Fenmar\\Test\\MRUs\\Demos");
    EXPECT_TRUE(OpenSubkey(key, "mrus").IsOpen());
    EXPECT_FALSE(OpenSubkey(key, "nothing").IsOpen());
    EXPECT_FALSE(CreateSubkey(Key(), "x").IsOpen());
}

}  // namespace
}  // namespace fenmar::store
