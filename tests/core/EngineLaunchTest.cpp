#include <gtest/gtest.h>

#include <filesystem>

#include "Environment.h"
#include "FakeGameLog.h"
#include "TempDir.h"
#include "core/CommandLine.h"
#include "core/EngineProgram.h"
#include "core/GameStart.h"
#include "platform/FileSystem.h"
#include "platform/ProgramSearch.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

// Runs a piece of a test in another current directory, and comes back.
class InDirectory {
public:
    explicit InDirectory(const fs::path& dir) : previous_(fs::current_path()) {
        fs::current_path(dir);
    }
    ~InDirectory() { fs::current_path(previous_); }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

private:
    fs::path previous_;
};

// A Quake directory with "quake.exe", engines in a folder of their own that is the only
// entry of a private PATH, and one more engine with a blank in its folder's name.
class Engines : public ::testing::Test {
protected:
    Engines() {
        quake = dir.MakeDir("quake");
        dir.MakeDir("quake/id1");
        bin = dir.MakeDir("bin");
        Program(fs::path(quake) / "quake.exe");
        engine = Program(fs::path(bin) / "myengine");
        Program(fs::path(bin) / "quake.exe");  // shadowed by the Quake directory's own
        spaced = Program(fs::path(dir.MakeDir("my engines")) / "engine");
        g.Profile.SetText(TextField::QuakePath, quake);
        g.Profile->CommandLineMode = 0;
        in.searchPath = bin;
    }
    std::string Program(const fs::path& path) const {
        fs::copy_file(FENMAR_FAKE_GAME, path, fs::copy_options::overwrite_existing);
        return path.string();
    }
    void Row(const std::string& name, const std::string& file) {
        table.Add({name, file});
        in.shownExecutable = name;
    }
    ComposedLaunch Compose(ActivePlugInQueries* plugIn = nullptr) {
        return ComposeLaunch(g, table, in, plugIn,
                             [this](const std::string& m) { messages.push_back(m); });
    }
    EngineProgram Resolve(const std::string& file) const {
        return ResolveEngineProgram(quake, file, bin);
    }

    test::TempDir dir;
    std::string quake, bin, engine, spaced;
    Globals g;
    ExecutableTable table;
    ComposeInputs in;
    V messages;
};

TEST_F(Engines, ResolvesRowsInTheQuakeDirectoryAtAbsolutePathsAndOnPath) {
    const auto inDir = Resolve("quake.exe");  // also on PATH: the Quake directory wins
    EXPECT_EQ(inDir.place, ProgramPlace::QuakeDirectoryFile);
    EXPECT_EQ(inDir.path, platform::JoinPath(quake, "quake.exe"));
    EXPECT_TRUE(inDir.found);
    EXPECT_TRUE(inDir.insideQuakeDirectory);

    const auto absolute = Resolve(engine);
    EXPECT_EQ(absolute.place, ProgramPlace::AbsolutePath);
    EXPECT_EQ(absolute.path, engine);
    EXPECT_TRUE(absolute.found);
    EXPECT_FALSE(absolute.insideQuakeDirectory);

    const auto onPath = Resolve("myengine");
    EXPECT_EQ(onPath.place, ProgramPlace::OnPath);
    EXPECT_EQ(onPath.path, engine);
    EXPECT_FALSE(onPath.insideQuakeDirectory);

    // An absolute path into the Quake directory needs no -basedir.
    EXPECT_TRUE(Resolve(platform::JoinPath(quake, "quake.exe")).insideQuakeDirectory);

    // Missing files keep their classic meaning and are reported as not found.
    for (const std::string file : {"glquake.exe", "sub/myengine", ""}) {
        const auto missing = Resolve(file);
        EXPECT_EQ(missing.place, ProgramPlace::QuakeDirectoryFile) << file;
        EXPECT_FALSE(missing.found) << file;
    }
    EXPECT_EQ(Resolve("glquake.exe").path, platform::JoinPath(quake, "glquake.exe"));
    const auto gone = Resolve(platform::JoinPath(bin, "gone"));
    EXPECT_EQ(gone.place, ProgramPlace::AbsolutePath);
    EXPECT_FALSE(gone.found);
    // An empty PATH entry never means the current directory.
    {
        const InDirectory here(bin);
        EXPECT_FALSE(ResolveEngineProgram(quake, "myengine", ":").found);
    }
}

TEST_F(Engines, ARelativeQuakeDirectoryResolvesToAnAbsoluteProgram) {
    const InDirectory here(dir.Path());
    const auto program = ResolveEngineProgram("quake", "quake.exe", "");
    EXPECT_TRUE(program.found);
    EXPECT_TRUE(platform::IsAbsolutePath(program.path)) << program.path;
    EXPECT_EQ(fs::path(program.path), fs::path(quake) / "quake.exe");
    EXPECT_EQ(BaseDirectoryOf("quake/"), fs::path(quake).string());
}

TEST_F(Engines, EnginesElsewhereGetTheQuakeDirectoryAsBaseDirectory) {
    g.Profile->SkillLevel = 2;
    Row("Mine", engine);
    EXPECT_EQ(Compose().line, engine + " -basedir " + quake + " +skill 2");
    Row("Mine on PATH", "myengine");
    EXPECT_EQ(Compose().line, engine + " -basedir " + quake + " +skill 2");

    // Blanks: the directory is quoted; a stored trailing separator is dropped.
    const std::string spacedQuake = dir.MakeDir("my quake");
    g.Profile.SetText(TextField::QuakePath, spacedQuake + platform::PathSeparator());
    Row("Spaced", spaced);
    auto launch = Compose();
    EXPECT_EQ(launch.line, spaced + " -basedir \"" + spacedQuake + "\" +skill 2");
    const auto request = GameStartRequest(launch);
    EXPECT_EQ(request.program, spaced);
    EXPECT_EQ(request.args, (V{"-basedir", spacedQuake, "+skill", "2"}));
    EXPECT_EQ(request.workingDirectory, spacedQuake + platform::PathSeparator());
    EXPECT_TRUE(messages.empty());

    // Nothing is added for an engine inside the Quake directory.
    g.Profile.SetText(TextField::QuakePath, quake);
    Row("Classic", "quake.exe");
    EXPECT_EQ(Compose().line, platform::JoinPath(quake, "quake.exe") + " +skill 2");
}

TEST_F(Engines, TheBaseDirectoryReachesTheEngineWholeWhateverItsName) {
    Row("Mine", engine);
    g.Profile->SkillLevel = 2;
    for (const std::string name :
         {"say \"hi\"", "tab\there", "\u041a\u0432\u0430\u043a", "q \"x\\\" y", "trailing\\"}) {
        const fs::path path = fs::path(dir.Path()) / name;
        g.Profile.SetText(TextField::QuakePath, path.string());
        // Where the backslash separates (Windows), "trailing\" is a directory with a trailing
        // separator, and that separator is dropped.
        const std::string base = (path.has_filename() ? path : path.parent_path()).string();
        const auto request = GameStartRequest(Compose());
        EXPECT_EQ(request.args, (V{"-basedir", base, "+skill", "2"})) << name;
        // On Windows the engine reads the whole line itself.
        EXPECT_EQ(platform::SplitCommandLine(request.commandLine),
                  (V{engine, "-basedir", base, "+skill", "2"}))
            << name;
    }
}

TEST_F(Engines, TheWorkedExampleIsUnchangedAndTheBaseDirectoryStaysOnTheLine) {
    g.Profile->MuteAll = 1;
    g.Profile.SetText(TextField::GamePatch, "ctf");
    g.Profile->EnableServer = 1;
    g.Profile->MaxPlayers = 16;
    g.Profile->Deathmatch = 2;
    g.Profile.SetText(TextField::LaunchMap, "e1m1 - Slipgate Complex");
    in.hostName = "LAN party";
    Row("DOS-Quake", "quake.exe");
    const std::string exe = platform::JoinPath(quake, "quake.exe");
    const std::string tail = " -nosound -game ctf -listen 16";
    EXPECT_EQ(Compose().line, exe + tail + " +hostname \"LAN party\" +deathmatch 2 +map e1m1");
    g.Profile->CommandLineMode = 1;
    EXPECT_EQ(Compose().line, exe + tail + " +exec fenmar.cfg");

    // A Quake directory whose name holds " +" and " -" is never cut into the config file.
    const std::string odd = dir.MakeDir("q +x -y");
    dir.MakeDir("q +x -y/id1");
    g.Profile.SetText(TextField::QuakePath, odd);
    Row("Mine", engine);
    EXPECT_EQ(Compose().line, engine + " -basedir \"" + odd + "\"" + tail + " +exec fenmar.cfg");
    EXPECT_EQ(test::ReadFile(fs::path(odd) / "id1" / "fenmar.cfg"),
              "hostname \"LAN party\"\r\ndeathmatch 2\r\nmap e1m1\r\n");
}

// A plug-in that points the profile at another Quake directory while the line is composed.
class SwitchingPlugIn : public ActivePlugInQueries {
public:
    std::string otherQuake;
    bool IsLoaded() const override { return true; }
    std::optional<AllowList> QueryAllowList() override { return std::nullopt; }
    std::string GetParams(Globals& g) override {
        g.Profile.SetText(TextField::QuakePath, otherQuake);
        return "-plugged";
    }
};

TEST_F(Engines, WhatStartsIsWhatWasComposedWhateverThePlugInChanges) {
    SwitchingPlugIn plugIn;
    plugIn.otherQuake = dir.MakeDir("elsewhere");
    Program(fs::path(plugIn.otherQuake) / "quake.exe");
    Row("DOS-Quake", "quake.exe");
    const auto launch = Compose(&plugIn);
    const auto request = GameStartRequest(launch);
    EXPECT_EQ(request.program, platform::JoinPath(quake, "quake.exe"));
    EXPECT_EQ(request.workingDirectory, quake);
    EXPECT_EQ(request.args, V{"-plugged"});
}

TEST_F(Engines, AProgramThatCannotBeFoundIsNamedAndNothingIsStartedWithoutOne) {
    Row("GL-Quake", "glquake.exe");
    const auto missing = Compose();
    const auto message = MissingProgramMessage(missing);
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("\"GL-Quake\""), std::string::npos) << *message;
    EXPECT_NE(message->find(platform::JoinPath(quake, "glquake.exe")), std::string::npos);

    in.shownExecutable.reset();
    const auto none = Compose();
    EXPECT_EQ(messages, V{kNoExecutableMessage});
    EXPECT_FALSE(none.hasExecutable);
    EXPECT_FALSE(MissingProgramMessage(none));
    EXPECT_TRUE(GameStartRequest(none).program.empty());
}

TEST_F(Engines, ARelativeQuakeDirectoryStartsTheGame) {
    const fs::path log = dir.Path() / "game.log";
    test::SetEnv("FENMAR_FAKE_GAME_LOG", log.string());
    Row("DOS-Quake", "quake.exe");
    g.Profile.SetText(TextField::QuakePath, "quake");
    g.Profile->SkillLevel = 0;
    const InDirectory here(dir.Path());
    const auto launch = Compose();
    EXPECT_EQ(launch.line, platform::JoinPath("quake", "quake.exe") + " +skill 0");
    const auto result = platform::StartDetached(GameStartRequest(launch));
    ASSERT_TRUE(result.started) << result.error;
    EXPECT_GT(result.processId, 0);
    const auto run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(fs::canonical(run.cwd), fs::canonical(quake));
    EXPECT_EQ(run.args, (V{"+skill", "0"}));
}

TEST_F(Engines, AConfigFileThatCannotBeWrittenKeepsTheWholeLine) {
    if (test::SystemIsWindows() || !fs::exists("/dev/full")) {
        GTEST_SKIP() << "needs /dev/full to fill the disk";
    }
    Row("DOS-Quake", "quake.exe");
    g.Profile->CommandLineMode = 1;
    g.Profile->SkillLevel = 3;
    g.Profile.SetText(TextField::LaunchMap, "e1m1");
    const fs::path cfg = fs::path(quake) / "id1" / "fenmar.cfg";
    fs::create_symlink("/dev/full", cfg);  // every write ends with "no space left"
    const std::string full = platform::JoinPath(quake, "quake.exe") + " +skill 3 +map e1m1";
    EXPECT_EQ(Compose().line, full);
    EXPECT_FALSE(fs::is_symlink(cfg));  // the partial file is gone
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], ConfigFileFailedMessage(cfg.string()));

    // No id1 at all: the same.
    messages.clear();
    fs::remove_all(fs::path(quake) / "id1");
    EXPECT_EQ(Compose().line, full);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Engines, WithoutAQuakeDirectoryNoConfigFileIsWrittenOrDeleted) {
    const std::string localCfg = dir.WriteFile("id1/config.cfg", "keep");
    g.Profile.ClearText(TextField::QuakePath);
    g.Profile->CommandLineMode = 1;
    g.Profile->SkillLevel = 3;
    g.DeleteConfigs = kDeleteInId1 | kDeleteInPatch | kDeleteOnExit;
    g.Profile.SetText(TextField::GamePatch, "id1");
    Row("DOS-Quake", "quake.exe");
    in.searchPath = "";
    const InDirectory here(dir.Path());
    EXPECT_EQ(Compose().line, "quake.exe -game id1 +skill 3");
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(fs::exists(dir.Path() / "id1" / "fenmar.cfg"));
    DeleteConfigFiles(g);
    EXPECT_EQ(test::ReadFile(localCfg), "keep");
}

TEST_F(Engines, TheCompanionIsFoundTheSameWayForEnablingAndStarting) {
    const auto onPath = ResolveCompanionProgram("myengine -f \"my servers.txt\"", bin);
    ASSERT_TRUE(onPath.program);
    EXPECT_EQ(*onPath.program, engine);
    EXPECT_EQ(onPath.args, (V{"-f", "my servers.txt"}));
    // A path with blanks needs no quotes; quoted it takes arguments.
    EXPECT_EQ(ResolveCompanionProgram(spaced, "").program, spaced);
    const auto quoted = ResolveCompanionProgram("\"" + spaced + "\" -x", "");
    EXPECT_EQ(quoted.program, spaced);
    EXPECT_EQ(quoted.args, V{"-x"});
    // A bare name in the current directory only is not a program on PATH.
    const InDirectory here(bin);
    EXPECT_FALSE(ResolveCompanionProgram("myengine", "").program);
    EXPECT_FALSE(ResolveCompanionProgram("", bin).program);
    EXPECT_FALSE(ResolveCompanionProgram("nothing-here", bin).program);
}

}  // namespace
}  // namespace fenmar
