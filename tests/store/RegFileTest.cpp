// The registry-editor file reader and writer: round trips in both formats, deletions,
// rejection of bad files with line numbers.

#include <gtest/gtest.h>

#include "RegSamples.h"
#include "StoreTestSupport.h"
#include "store/RegFile.h"
#include "store/RegistryHandling.h"
#include "store/TextCodec.h"

namespace fenmar::store {
namespace {

using fenmar::test::TempDir;
using test::Bytes;
using test::Crlf;

std::string Utf16File(std::string_view utf8) {
    return "\xFF\xFE" + Utf8ToUtf16Le(utf8);
}

class RegFileTest : public ::testing::Test {
protected:
    // Imports `file` into the store; fails the test when it is rejected.
    void Import(std::string_view file) {
        const RegParse parsed = ParseRegFile(file);
        ASSERT_TRUE(parsed.ok) << "line " << parsed.errorLine << ": " << parsed.error;
        std::string error;
        ASSERT_TRUE(ApplyRegOperations(*store, parsed.operations, error)) << error;
    }
    // Exports the key named as on the command line.
    std::string Export(std::string_view key = "") {
        std::string path;
        std::string error;
        EXPECT_TRUE(ParseKeyArgument(key, path, error)) << error;
        std::string out;
        std::vector<std::string> warnings;
        EXPECT_TRUE(ExportRegFile(*store, path, out, warnings, error)) << error;
        EXPECT_TRUE(warnings.empty());
        return out;
    }

    TempDir dir;
    std::unique_ptr<Store> store = test::OpenFresh(dir);
};

TEST_F(RegFileTest, Regedit4RoundTripGivesBackTheSameFile) {
    Import(test::Regedit4Sample());
    EXPECT_EQ(Export("HKEY_CURRENT_USER\\Software"), test::Regedit4Sample());
    EXPECT_EQ(Export(), Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER]\n\n" + test::kSampleBody));
}

TEST_F(RegFileTest, ImportedValuesReadThroughTheTypedLayer) {
    Import(test::Regedit4Sample());
    const Key demos = OpenKey(*store, "Software\\Corvanta\\Fenmar\\MRUs\\Demos");
    std::vector<std::string> list;
    RegReadStringList(demos, list, true, 20);
    EXPECT_EQ(list, (std::vector<std::string>{"demo1", "my \"best\" demo"}));
    const Key internal = OpenKey(*store, "Software\\Corvanta\\Fenmar\\Internal");
    EXPECT_EQ(RegReadString(internal, "Quake Path"), "c:\\games\\quake");
    EXPECT_EQ(RegReadInteger(internal, "Delete CONFIG.CFGs"), 5);
    EXPECT_EQ(RegReadInteger(internal, "MinBSPSize"), 20);
    EXPECT_FALSE(RegReadBool(internal, "DontScanBSPMsgs"));
    const Key network = OpenKey(*store, "Software\\Corvanta\\Fenmar\\Network");
    EXPECT_TRUE(RegReadBool(network, "EnableWin95TCP/IP"));
    EXPECT_EQ(RegReadInteger(network, "Port Number"), 27915);
    EXPECT_EQ(RegReadString(network, ""), "default value");
    EXPECT_EQ(
        RegReadInteger(OpenKey(*store, "Software\\Corvanta\\Fenmar\\QuickSets"), "CurrentSelected"),
        -1);
    EXPECT_EQ(RegReadString(OpenKey(*store, "software\\corvanta\\fenmar\\quicksets\\my set / 2"),
                            "name with / SLASH"),
              "value with / slash");
}

TEST_F(RegFileTest, Version5Utf16FileImportsLikeItsRegedit4Twin) {
    const std::string extra = "\n[HKEY_CURRENT_USER\\Software\\Städte]\n\"Ærø\"=\"Москва €\"\n\n";
    Import(Crlf("REGEDIT4\n\n" + test::kSampleBody + extra));
    const std::string fromRegedit4 = Export();

    TempDir other;
    store = test::OpenFresh(other);
    Import(Utf16File(Crlf("Windows Registry Editor Version 5.00\n\n" + test::kSampleBody + extra)));
    EXPECT_EQ(Export(), fromRegedit4);
    EXPECT_EQ(Bytes(*store, "software\\STÄDTE", "ærø"), "Москва €");
}

TEST_F(RegFileTest, LineEndsBomsAndBlanksAreTolerated) {
    Import(
        "\xEF\xBB\xBFREGEDIT4\n; a comment\n  [HKEY_CURRENT_USER\\A]  \n\t\"x\" = \"1\"\n"
        "\"y\"=dword:1F\n");
    EXPECT_EQ(Bytes(*store, "A", "x"), "1");
    EXPECT_EQ(RegReadInteger(OpenKey(*store, "A"), "y"), 31);
    Import("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\B]\r\n\"z\"=\"2\"");
    EXPECT_EQ(Bytes(*store, "B", "z"), "2");
}

TEST_F(RegFileTest, KeysWithOtherCapitalsAreTheSameKey) {
    Import(
        Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\General]\n"
             "\"LaunchMap\"=\"e1m1\"\n\n"
             "[hkey_current_user\\SOFTWARE\\corvanta\\FENMAR\\general]\n"
             "\"LAUNCHMAP\"=\"e2m2\"\n\"Skill\"=dword:00000002\n"));
    EXPECT_EQ(Export("HKCU\\software"),
              Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n"
                   "[HKEY_CURRENT_USER\\Software\\Corvanta]\n\n"
                   "[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar]\n\n"
                   "[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\General]\n"
                   "\"LaunchMap\"=\"e2m2\"\n\"Skill\"=dword:00000002\n\n"));
}

TEST_F(RegFileTest, DeletionsOfKeysAndValues) {
    Import(test::Regedit4Sample());
    Import(
        Crlf("REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\mrus]\n"
             "[-HKEY_CURRENT_USER\\Software\\Not\\There]\n"
             "[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\Network]\n"
             "\"ipx/spx\"=-\n\"absent\"=-\n@=-\n"));
    EXPECT_FALSE(store->KeyExists("Software\\Corvanta\\Fenmar\\MRUs"));
    EXPECT_FALSE(store->KeyExists("Software\\Corvanta\\Fenmar\\MRUs\\Demos"));
    EXPECT_EQ(Bytes(*store, "Software\\Corvanta\\Fenmar\\Network", "IPX/SPX"), "");
    EXPECT_EQ(Bytes(*store, "Software\\Corvanta\\Fenmar\\Network", ""), "");
    EXPECT_EQ(Bytes(*store, "Software\\Corvanta\\Fenmar\\Network", "EnableWin95TCP/IP"), "Yes");
}

TEST_F(RegFileTest, ExportLeavesOutWhatTheFormatCannotCarry) {
    store->CreateKey("K");
    store->SetValue("K", "text", kRegSz, "fine");
    store->SetValue("K", "zero", kRegSz, std::string("with zero\0", 10));
    store->SetValue("K", "binary", 3, "\x01\x02");
    store->SetValue("K", "lines", kRegSz, "two\nlines");
    store->SetValue("K", "short", kRegDword, "\x01");
    std::string out;
    std::vector<std::string> warnings;
    std::string error;
    ASSERT_TRUE(ExportRegFile(*store, "k", out, warnings, error));
    EXPECT_EQ(out, Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"text\"=\"fine\"\n"
                        "\"zero\"=\"with zero\"\n\n"));
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find("REG_BINARY"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("line break"), std::string::npos) << warnings[1];
    EXPECT_NE(warnings[2].find("4 bytes"), std::string::npos) << warnings[2];
    EXPECT_FALSE(ExportRegFile(*store, "Missing", out, warnings, error));
    EXPECT_NE(error.find("no such key"), std::string::npos);
}

TEST_F(RegFileTest, FailedApplyLeavesNothingBehind) {
    store->CreateKey("Keep");
    store->SetValue("Keep", "v", kRegSz, "old");
    std::vector<RegOperation> ops(3);
    ops[0].kind = RegOperation::Kind::SetValue;
    ops[0].key = "Keep";
    ops[0].name = "v";
    ops[0].type = kRegSz;
    ops[0].bytes = "new";
    ops[0].line = 3;
    ops[1].kind = RegOperation::Kind::CreateKey;
    ops[1].key = "Fresh";
    ops[1].line = 4;
    ops[2].kind = RegOperation::Kind::CreateKey;
    ops[2].key = std::string(300, 'x');  // the store refuses this one
    ops[2].line = 9;
    std::string error;
    EXPECT_FALSE(ApplyRegOperations(*store, ops, error));
    EXPECT_NE(error.find("line 9"), std::string::npos) << error;
    EXPECT_EQ(Bytes(*store, "Keep", "v"), "old");
    EXPECT_FALSE(store->KeyExists("Fresh"));
}

struct BadFile {
    std::string text;
    int line;
    std::string reason;  // a part of the message
};

class RegFileRejectionTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(RegFileRejectionTest, IsRejectedWholeWithLineAndReason) {
    const BadFile& bad = GetParam();
    const RegParse parsed = ParseRegFile(bad.text);
    EXPECT_FALSE(parsed.ok);
    EXPECT_TRUE(parsed.operations.empty());
    EXPECT_EQ(parsed.errorLine, bad.line) << parsed.error;
    EXPECT_NE(parsed.error.find(bad.reason), std::string::npos) << parsed.error;
}

const std::string kHead = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"ok\"=\"fine\"\r\n";

INSTANTIATE_TEST_SUITE_P(
    BadFiles, RegFileRejectionTest,
    ::testing::Values(
        BadFile{"", 1, "does not start with"},
        BadFile{"Windows Registry Editor Version 4.00\r\n", 1, "does not start with"},
        BadFile{"[HKEY_CURRENT_USER\\A]\r\nREGEDIT4\r\n", 1, "does not start with"},
        BadFile{kHead + "junk\r\n", 5, "neither a [key] line"},
        BadFile{"REGEDIT4\r\n\"early\"=\"x\"\r\n", 2, "before the first [key]"},
        BadFile{kHead + "\"open\r\n", 5, "missing closing quote in the value name"},
        BadFile{kHead + "\"a\"=\"unterminated\r\n", 5, "missing closing quote"},
        BadFile{kHead + "\"a\"=\"bad \\n escape\"\r\n", 5, "unknown escape sequence \\n"},
        BadFile{kHead + "\"a\"=\"x\" trailing\r\n", 5, "after the closing quote"},
        BadFile{kHead + "\"a\" \"x\"\r\n", 5, "missing '='"},
        BadFile{kHead + "\"a\"=\r\n", 5, "missing value"},
        BadFile{kHead + "\"a\"=hex:01,02\r\n", 5, "unsupported value type REG_BINARY"},
        BadFile{kHead + "\"a\"=hex(7):61,00,00,00\r\n", 5, "unsupported value type REG_MULTI_SZ"},
        BadFile{kHead + "\"a\"=hex(2):25,00\r\n", 5, "unsupported value type REG_EXPAND_SZ"},
        BadFile{kHead + "\"a\"=hex(b):01,00,00,00,00,00,00,00\r\n", 5, "REG_QWORD"},
        BadFile{kHead + "\"a\"=dword:\r\n", 5, "1 to 8 hexadecimal digits"},
        BadFile{kHead + "\"a\"=dword:123456789\r\n", 5, "1 to 8 hexadecimal digits"},
        BadFile{kHead + "\"a\"=dword:12x\r\n", 5, "1 to 8 hexadecimal digits"},
        BadFile{kHead + "\"a\"=qword:1\r\n", 5, "unknown value format"},
        BadFile{kHead + "\"a\"=-x\r\n", 5, "after '-'"},
        BadFile{kHead + "[HKEY_LOCAL_MACHINE\\Software]\r\n", 5, "only keys of HKEY_CURRENT_USER"},
        BadFile{kHead + "[HKEY_CURRENT_USERS\\Software]\r\n", 5, "only keys of HKEY_CURRENT_USER"},
        BadFile{kHead + "[HKEY_CURRENT_USER\\Software\r\n", 5, "missing ']'"},
        BadFile{kHead + "[HKEY_CURRENT_USER\\A\\\\B]\r\n", 5, "empty key name"},
        BadFile{kHead + "[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\r\n", 5,
                "longer than 255"},
        BadFile{kHead + "[HKEY_CURRENT_USER" +
                    [] {
                        std::string deep;
                        for (int i = 0; i < 513; ++i) {
                            deep += "\\k";
                        }
                        return deep;
                    }() +
                    "]\r\n",
                5, "deeper than 512"},
        BadFile{kHead + "[-HKEY_CURRENT_USER]\r\n", 5, "cannot be deleted"},
        BadFile{kHead + "[-HKEY_CURRENT_USER\\Gone]\r\n\"v\"=\"x\"\r\n", 6, "being deleted"},
        BadFile{"\xFE\xFFREGEDIT4", 1, "big-endian"},
        BadFile{
            Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n") +
                std::string("\x00\xD8\x41\x00", 4),
            4, "invalid UTF-16"},
        BadFile{Utf16File("REGEDIT4\r\n") + "x", 2, "invalid UTF-16"}));

TEST(RegKeyArgument, AcceptsTheHiveInEitherSpellingOrNone) {
    std::string path;
    std::string error;
    ASSERT_TRUE(ParseKeyArgument("HKEY_CURRENT_USER\\Software\\Corvanta", path, error));
    EXPECT_EQ(path, "Software\\Corvanta");
    ASSERT_TRUE(ParseKeyArgument("hkcu\\Software\\", path, error));
    EXPECT_EQ(path, "Software");
    ASSERT_TRUE(ParseKeyArgument("Software\\Corvanta", path, error));
    EXPECT_EQ(path, "Software\\Corvanta");
    ASSERT_TRUE(ParseKeyArgument("HKEY_CURRENT_USER", path, error));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(ParseKeyArgument("HKEY_LOCAL_MACHINE\\Software", path, error));
    EXPECT_FALSE(ParseKeyArgument("HKLM\\Software", path, error));
    EXPECT_FALSE(ParseKeyArgument(std::string(256, 'x'), path, error));
}

TEST(TextCodec, ConvertsBetweenUtf16AndUtf8) {
    const std::string text = "Quake é Ж € 😀";
    std::string back;
    std::size_t bad = 0;
    ASSERT_TRUE(Utf16LeToUtf8(Utf8ToUtf16Le(text), back, bad));
    EXPECT_EQ(back, text);
    EXPECT_EQ(Utf8ToUtf16Le("A"), std::string("A\0", 2));
    EXPECT_EQ(Utf8ToUtf16Le("\xFF"), "\xFD\xFF");                        // not UTF-8: U+FFFD
    EXPECT_FALSE(Utf16LeToUtf8(std::string("\x00\xDC", 2), back, bad));  // lone low surrogate
    EXPECT_EQ(bad, 0u);
}

}  // namespace
}  // namespace fenmar::store
