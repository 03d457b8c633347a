#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "core/CommandLine.h"
#include "platform/FileSystem.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

class ConfigFile : public ::testing::Test {
protected:
    ConfigFile() {
        id1 = dir.MakeDir("id1");
        g.Profile.SetText(TextField::QuakePath, dir.Str());
        in.shownExecutable = "DOS-Quake";
        in.hostName = "My server";
    }
    std::string Run(ActivePlugInQueries* plugIn = nullptr) {
        return ComposeCommandLine(g, table, in, plugIn, [](const std::string&) {});
    }
    std::string Exe() const { return platform::JoinPath(dir.Str(), "quake.exe"); }
    fs::path Cfg() const { return fs::path(id1) / "fenmar.cfg"; }

    test::TempDir dir;
    std::string id1;
    Globals g;
    ExecutableTable table;
    ComposeInputs in;
};

TEST_F(ConfigFile, WorkedExampleMovesThePlusCommands) {
    auto& p = g.Profile.Record();
    p.MuteAll = 1;
    g.Profile.SetText(TextField::GamePatch, "ctf");
    p.EnableServer = 1;
    p.MaxPlayers = 16;
    g.Profile.SetText(TextField::HostName, "LAN party");
    in.hostName = "LAN party";
    p.Deathmatch = 2;
    g.Profile.SetText(TextField::LaunchMap, "e1m1 - Slipgate Complex");

    p.CommandLineMode = 0;
    EXPECT_EQ(Run(), Exe() +
                         " -nosound -game ctf -listen 16 +hostname \"LAN party\" "
                         "+deathmatch 2 +map e1m1");
    EXPECT_FALSE(fs::exists(Cfg()));

    p.CommandLineMode = 1;
    EXPECT_EQ(Run(), Exe() + " -nosound -game ctf -listen 16 +exec fenmar.cfg");
    EXPECT_EQ(test::ReadFile(Cfg()), "hostname \"LAN party\"\r\ndeathmatch 2\r\nmap e1m1\r\n");
}

TEST_F(ConfigFile, NothingToMoveCreatesAndDeletesTheFile) {
    test::TempDir other;
    other.WriteFile("id1/fenmar.cfg", "old contents");
    g.Profile.SetText(TextField::QuakePath, other.Str());
    g.Profile->MuteAll = 1;
    EXPECT_EQ(Run(), platform::JoinPath(other.Str(), "quake.exe") + " -nosound");
    EXPECT_FALSE(fs::exists(other.Path() / "id1" / "fenmar.cfg"));
}

TEST_F(ConfigFile, CommandLineModeOrEmptyNameTouchesNoFile) {
    dir.WriteFile("id1/fenmar.cfg", "keep");
    g.Profile->SkillLevel = 2;
    g.Profile->CommandLineMode = 0;
    EXPECT_EQ(Run(), Exe() + " +skill 2");
    g.Profile->CommandLineMode = 1;
    g.Profile.SetText(TextField::ConfigFile, "");
    EXPECT_EQ(Run(), Exe() + " +skill 2");
    EXPECT_EQ(test::ReadFile(Cfg()), "keep");
}

TEST_F(ConfigFile, EmptyPlugInTextLeavesATrailingBlankInsideTheGroup) {
    struct Silent : ActivePlugInQueries {
        bool IsLoaded() const override { return true; }
        std::optional<AllowList> QueryAllowList() override { return std::nullopt; }
        std::string GetParams(Globals&) override { return ""; }
    } plugIn;
    g.Profile->SkillLevel = 2;
    g.Profile.SetText(TextField::LaunchMap, "e1m2");
    EXPECT_EQ(Run(&plugIn), Exe() + " +exec fenmar.cfg");
    EXPECT_EQ(test::ReadFile(Cfg()), "skill 2 \r\nmap e1m2\r\n");
}

TEST_F(ConfigFile, HostNameWithBlankDashIsSplit) {
    g.Profile->EnableServer = 1;
    in.hostName = "Fast -and- +furious";
    EXPECT_EQ(Run(), Exe() + " -listen -and- +exec fenmar.cfg");
    EXPECT_EQ(test::ReadFile(Cfg()), "hostname \"Fast\r\nfurious\"\r\n");
}

TEST_F(ConfigFile, BlankInsideTheQuakeDirectoryStaysLikeADashGroup) {
    test::TempDir other;
    const std::string root = other.MakeDir("my games/quake");
    other.MakeDir("my games/quake/id1");
    g.Profile.SetText(TextField::QuakePath, root);
    g.Profile->SkillLevel = 0;
    EXPECT_EQ(Run(), platform::JoinPath(root, "quake.exe") + " +exec fenmar.cfg");
    EXPECT_EQ(test::ReadFile(fs::path(root) / "id1" / "fenmar.cfg"), "skill 0\r\n");
}

TEST_F(ConfigFile, FindsAnId1DirectoryWrittenInCapitals) {
    test::TempDir other;
    const std::string upper = other.MakeDir("ID1");
    g.Profile.SetText(TextField::QuakePath, other.Str());
    g.Profile->SkillLevel = 3;
    EXPECT_EQ(Run(), platform::JoinPath(other.Str(), "quake.exe") + " +exec fenmar.cfg");
    EXPECT_EQ(test::ReadFile(fs::path(upper) / "fenmar.cfg"), "skill 3\r\n");
}

TEST_F(ConfigFile, UncreatableFileLeavesTheLineUnchanged) {
    test::TempDir other;  // no id1 directory at all
    g.Profile.SetText(TextField::QuakePath, other.Str());
    g.Profile->SkillLevel = 3;
    EXPECT_EQ(Run(), platform::JoinPath(other.Str(), "quake.exe") + " +skill 3");
}

TEST_F(ConfigFile, NamesOutsideId1AreNeverWritten) {
    const std::string victim = dir.WriteFile("autoexec.cfg", "precious");
    g.Profile->SkillLevel = 3;
    for (const std::string& name :
         {std::string("../autoexec.cfg"), victim, std::string("sub/../../autoexec.cfg"),
          std::string("..\\autoexec.cfg"), std::string("C:\\autoexec.cfg")}) {
        g.Profile.SetText(TextField::ConfigFile, name);
        EXPECT_EQ(Run(), Exe() + " +skill 3") << name;
        EXPECT_EQ(test::ReadFile(victim), "precious") << name;
    }
    // A name inside id1 that merely contains dots is fine.
    g.Profile.SetText(TextField::ConfigFile, "my..cfg");
    EXPECT_EQ(Run(), Exe() + " +exec my..cfg");
}

}  // namespace
}  // namespace fenmar
