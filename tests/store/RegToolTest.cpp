// fenmar-reg as a user runs it: a real process with a temporary XDG_CONFIG_HOME.

#include <gtest/gtest.h>

#include <filesystem>

#include "RegSamples.h"
#include "StoreTestSupport.h"
#include "store/TextCodec.h"

namespace fenmar::store {
namespace {

using fenmar::test::TempDir;
using test::Crlf;
using test::RunTool;
using test::ToolRun;

class RegToolTest : public ::testing::Test {
protected:
    ToolRun Tool(const std::vector<std::string>& args) { return RunTool(args, config, scratch); }

    TempDir scratch;
    TempDir configDir;
    std::string config = configDir.Str();
};

TEST_F(RegToolTest, ImportThenExportGivesBackTheSameKeysAndValues) {
    const std::string file = scratch.WriteFile("sample.reg", test::Regedit4Sample());
    ToolRun run = Tool({"import", file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(std::filesystem::exists(configDir.Path() / "fenmar" / "settings.sqlite"));

    run = Tool({"export", "HKEY_CURRENT_USER\\Software"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, test::Regedit4Sample());

    run = Tool({"export"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER]\n\n" + test::kSampleBody));
}

TEST_F(RegToolTest, KeyWithOtherCapitalsIsTheSameKey) {
    ASSERT_EQ(Tool({"import", scratch.WriteFile("a.reg", test::Regedit4Sample())}).exitCode, 0);
    // Addressed on the command line with other capitals.
    ToolRun run = Tool({"export", "hkey_current_user\\SOFTWARE\\corvanta\\FENMAR\\mrus"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\MRUs]\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\MRUs\\Demos]\n"
                            "\"1\"=\"demo1\"\n\"2\"=\"my \\\"best\\\" demo\"\n\"3\"=\"stale\"\n"
                            "\"Count\"=dword:00000002\n\n"));
    // Imported under other capitals: the same key and value, no second one.
    ASSERT_EQ(
        Tool({"import", scratch.WriteFile("b.reg",
                                          "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\CORVANTA\\"
                                          "FENMAR\\GENERAL]\n\"launchmap\"=\"e4m1\"\n")})
            .exitCode,
        0);
    run = Tool({"export", "Software\\Corvanta\\Fenmar\\General"});
    EXPECT_EQ(run.out, Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\General]\n"
                            "\"Executable\"=\"DOS-Quake\"\n\"LaunchMap\"=\"e4m1\"\n"
                            "\"Current Plug-In\"=\"<none>\"\n\n"));
    // Deleted under other capitals.
    run = Tool({"delete", "HKCU\\software\\corvanta\\fenmar\\QUICKSETS\\my set / 2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    run = Tool({"export", "Software\\Corvanta\\Fenmar\\QuickSets\\My Set / 2"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no such key"), std::string::npos) << run.err;
}

TEST_F(RegToolTest, Utf16Version5FileImportsLikeItsRegedit4Twin) {
    const std::string extra = "[HKEY_CURRENT_USER\\Software\\Städte]\n\"Ærø\"=\"Москва €\"\n\n";
    const std::string v4 = Crlf("REGEDIT4\n\n" + test::kSampleBody + extra);
    const std::string v5 =
        "\xFF\xFE" +
        Utf8ToUtf16Le(Crlf("Windows Registry Editor Version 5.00\n\n" + test::kSampleBody + extra));
    ASSERT_EQ(Tool({"import", scratch.WriteFile("v4.reg", v4)}).exitCode, 0);
    const ToolRun fromV4 = Tool({"export"});

    TempDir otherConfig;
    const ToolRun imported =
        RunTool({"import", scratch.WriteFile("v5.reg", v5)}, otherConfig.Str(), scratch);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const ToolRun fromV5 = RunTool({"export"}, otherConfig.Str(), scratch);
    ASSERT_EQ(fromV5.exitCode, 0);
    EXPECT_EQ(fromV5.out, fromV4.out);
    EXPECT_NE(fromV5.out.find("\"Ærø\"=\"Москва €\""), std::string::npos);
}

TEST_F(RegToolTest, BadFileIsRejectedWholeWithLineNumber) {
    ASSERT_EQ(Tool({"import", scratch.WriteFile("a.reg", test::Regedit4Sample())}).exitCode, 0);
    const ToolRun before = Tool({"export"});
    const std::string bad =
        scratch.WriteFile("bad.reg",
                          "REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software\\Corvanta]\n"
                          "[HKEY_CURRENT_USER\\New]\n\"fine\"=\"1\"\n\"blob\"=hex:00,01\n");
    const ToolRun run = Tool({"import", bad});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find(bad + ":6: unsupported value type REG_BINARY"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("nothing was imported"), std::string::npos);
    EXPECT_EQ(Tool({"export"}).out, before.out);  // nothing deleted, nothing added
}

TEST_F(RegToolTest, HelpUsageAndFailures) {
    ToolRun run = Tool({"help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Usage: fenmar-reg"), std::string::npos);
    EXPECT_NE(run.out.find("export [KEY]"), std::string::npos);
    EXPECT_EQ(Tool({"--help"}).exitCode, 0);

    run = Tool({});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("no command"), std::string::npos);
    EXPECT_EQ(Tool({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Tool({"import"}).exitCode, 2);
    EXPECT_EQ(Tool({"delete"}).exitCode, 2);
    EXPECT_EQ(Tool({"export", "a", "b"}).exitCode, 2);
    EXPECT_EQ(Tool({"--store"}).exitCode, 2);

    run = Tool({"import", (scratch.Path() / "missing.reg").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot read"), std::string::npos);
    run = Tool({"export", "Software\\Nothing"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no such key"), std::string::npos);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Tool({"delete", "Software\\Nothing"}).exitCode, 1);
    EXPECT_EQ(Tool({"delete", "HKEY_CURRENT_USER"}).exitCode, 1);
    EXPECT_EQ(Tool({"export", "HKEY_LOCAL_MACHINE\\Software"}).exitCode, 1);
}

TEST_F(RegToolTest, ExplicitStoreFile) {
    const std::string store = (scratch.Path() / "other.sqlite").string();
    ASSERT_EQ(Tool({"--store", store, "import", scratch.WriteFile("a.reg", test::Regedit4Sample())})
                  .exitCode,
              0);
    EXPECT_EQ(Tool({"--store", store, "export", "HKCU\\Software"}).out, test::Regedit4Sample());
    EXPECT_FALSE(std::filesystem::exists(configDir.Path() / "fenmar"));
}

TEST_F(RegToolTest, BrokenStoreFileIsKeptAsideAndReported) {
    configDir.WriteFile("fenmar/settings.sqlite", std::string(3000, '#'));
    const ToolRun run = Tool({"import", scratch.WriteFile("a.reg", test::Regedit4Sample())});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("it was kept as"), std::string::npos) << run.err;
    int broken = 0;
    for (const auto& entry : std::filesystem::directory_iterator(configDir.Path() / "fenmar")) {
        broken += entry.path().filename().string().rfind("settings.sqlite.broken-", 0) == 0;
    }
    EXPECT_EQ(broken, 1);
    EXPECT_EQ(Tool({"export", "HKCU\\Software"}).out, test::Regedit4Sample());
}

}  // namespace
}  // namespace fenmar::store
