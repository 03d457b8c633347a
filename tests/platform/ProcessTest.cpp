#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "Environment.h"
#include "FakeGameLog.h"
#include "TempDir.h"
#include "platform/Process.h"

namespace fenmar::platform {
namespace {

namespace fs = std::filesystem;

StartRequest Req(std::string program, std::vector<std::string> args, std::string dir) {
    StartRequest r;
    r.program = std::move(program);
    r.args = std::move(args);
    r.workingDirectory = std::move(dir);
    return r;
}

TEST(SplitCommandLine, BlanksSeparateQuotesGroupAndVanish) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine(""), V{});
    EXPECT_EQ(SplitCommandLine("   "), V{});
    EXPECT_EQ(SplitCommandLine(" -game ctf  +map e1m1 "), (V{"-game", "ctf", "+map", "e1m1"}));
    EXPECT_EQ(SplitCommandLine("+hostname \"LAN party\" -listen"),
              (V{"+hostname", "LAN party", "-listen"}));
    EXPECT_EQ(SplitCommandLine("a\"b c\"d \"\" e"), (V{"ab cd", "", "e"}));
    EXPECT_EQ(SplitCommandLine("\"unterminated here"), (V{"unterminated here"}));
    EXPECT_EQ(SplitCommandLine("a\\b \\\"q\\\" \"c\\\\\" d"), (V{"a\\b", "\"q\"", "c\\", "d"}));
}

TEST(SplitCommandLine, QuotedWordsComeBackWhole) {
    for (const std::string word :
         {"plain", "", "with blank", "tab\there", "say \"hi\"", "\"", "trailing\\",
          "C:\\Games\\Quake\\", "back\\\"slash", "Quake \u0414\u0443\u044d\u043b\xff", "a\\\\ b"}) {
        const std::string line = "-basedir " + QuoteCommandLineWord(word) + " -game x";
        EXPECT_EQ(SplitCommandLine(line),
                  (std::vector<std::string>{"-basedir", word, "-game", "x"}))
            << line;
    }
    EXPECT_EQ(QuoteCommandLineWord("/games/quake"), "/games/quake");  // the usual line unchanged
}

class Start : public ::testing::Test {
protected:
    Start() {
        log = dir.Path() / "game.log";
        test::SetEnv("FENMAR_FAKE_GAME_LOG", log.string());
    }
    test::TempDir dir;
    fs::path log;
};

TEST_F(Start, RunsTheProgramWithItsArgumentsInItsDirectory) {
    const std::string work = dir.MakeDir("my quake");
    const auto result =
        StartDetached(Req(FENMAR_FAKE_GAME, {"-game", "ctf", "+hostname", "LAN party"}, work));
    ASSERT_TRUE(result.started) << result.error;
    EXPECT_GT(result.processId, 0);  // the game itself, not a helper that started it
    const auto run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.cwd, work);
    EXPECT_EQ(run.args, (std::vector<std::string>{"-game", "ctf", "+hostname", "LAN party"}));
}

TEST_F(Start, ArgumentsArriveUnchangedWhateverTheyHold) {
    // Blanks, quotes, backslashes before quotes and at the end, empty arguments: on Windows
    // they travel in one command line and must be quoted so that the program splits it back.
    const std::vector<std::string> args = {"",
                                           "say \"hi there\"",
                                           "C:\\Quake dir\\",
                                           "a\\\\b\\\"c",
                                           "tab\there",
                                           "\\\\server\\share",
                                           "plain"};
    const auto result = StartDetached(Req(FENMAR_FAKE_GAME, args, dir.Str()));
    ASSERT_TRUE(result.started) << result.error;
    const auto run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.args, args);
}

TEST_F(Start, ReportsWhyAProgramCannotBeStarted) {
    if (test::SystemIsWindows()) {
        GTEST_SKIP() << "file modes and C library texts; win32/ProcessWin32Test covers Windows";
    }
    auto missing = StartDetached(Req(dir.Str() + "/nothing-here", {}, dir.Str()));
    EXPECT_FALSE(missing.started);
    EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;
    EXPECT_EQ(missing.processId, 0);

    const std::string plain = dir.WriteFile("quake.exe", "not a program");
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::others_read);
    auto notExecutable = StartDetached(Req(plain, {}, dir.Str()));
    EXPECT_FALSE(notExecutable.started);
    EXPECT_NE(notExecutable.error.find("Permission denied"), std::string::npos);

    auto gone = StartDetached(Req(FENMAR_FAKE_GAME, {}, dir.Str() + "/gone"));
    EXPECT_FALSE(gone.started);
    EXPECT_NE(gone.error.find("working directory"), std::string::npos) << gone.error;
    EXPECT_FALSE(fs::exists(log));  // nothing ran

    EXPECT_FALSE(StartDetached(StartRequest{}).started);
}

TEST_F(Start, LooksUpBareNamesInPathOnlyWhenAsked) {
    if (test::SystemIsWindows()) {
        GTEST_SKIP() << "Windows searches the launcher's own directory before PATH";
    }
    const fs::path game(FENMAR_FAKE_GAME);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    test::SetEnv("PATH", game.parent_path().string() + ":" + oldPath);
    const std::string name = game.filename().string();
    EXPECT_FALSE(StartDetached(Req(name, {}, {})).started);
    StartRequest request = Req(name, {"x"}, {});
    request.searchPath = true;
    const auto result = StartDetached(request);
    test::SetEnv("PATH", oldPath);
    ASSERT_TRUE(result.started) << result.error;
    EXPECT_EQ(test::WaitForFakeGame(log).args, std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace fenmar::platform
