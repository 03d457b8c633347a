#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "core/CommandLine.h"
#include "core/ConfigPreview.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

// The preview must say exactly what writing the config file does, line and file alike.
class ConfigPreview : public ::testing::Test {
protected:
    ConfigPreview() {
        quake = dir.MakeDir("quake");
        dir.MakeDir("quake/ID1");  // found without regard to case
        profile.SetText(TextField::QuakePath, quake);
        profile.SetText(TextField::ConfigFile, "fenmar.cfg");
    }

    void ExpectSameAsWriting(const std::string& line) {
        const ConfigFilePreview preview = PreviewConfigFile(profile, line);
        std::string written = line;
        WriteConfigFile(profile, written);
        EXPECT_EQ(preview.line, written) << line;
        const fs::path file = fs::path(quake) / "ID1" / "fenmar.cfg";
        std::string expected;
        for (const std::string& l : preview.lines) {
            expected += l + "\r\n";
        }
        EXPECT_EQ(preview.written, fs::exists(file)) << line;
        if (fs::exists(file)) {
            EXPECT_EQ(test::ReadFile(file), expected) << line;
            fs::remove(file);
        }
    }

    test::TempDir dir;
    std::string quake;
    LiveProfile profile;
};

TEST_F(ConfigPreview, MatchesTheWrittenFileForAwkwardLines) {
    for (const std::string& line : {
             std::string("/q/quake.exe -nosound -game ctf -listen 16 +hostname \"LAN party\" "
                         "+deathmatch 2 +map e1m1"),
             std::string("/q/quake.exe"),                               // no blank: nothing moves
             std::string("/q/quake.exe -nosound -game ctf"),            // no "+" group
             std::string("/q/quake.exe +hostname \"a -b +c\" +map x"),  // split inside the name
             std::string("/q/quake.exe -listen  +map e1m1"),            // plug-in's empty text
             std::string("/my q/quake.exe +map e1m1"),                  // blank in the directory
             std::string("/q/quake.exe +map e1m1 "),
         }) {
        ExpectSameAsWriting(line);
    }
}

TEST_F(ConfigPreview, KeepsTheLineWhereNoFileCanBeWritten) {
    const std::string line = "/q/quake.exe -game ctf +map e1m1";
    fs::remove(fs::path(quake) / "ID1");
    ConfigFilePreview preview = PreviewConfigFile(profile, line);
    EXPECT_FALSE(preview.written);
    EXPECT_EQ(preview.line, line);
    EXPECT_TRUE(preview.lines.empty());

    dir.MakeDir("quake/id1");
    profile.SetText(TextField::ConfigFile, "../escape.cfg");  // never written outside id1
    preview = PreviewConfigFile(profile, line);
    EXPECT_EQ(preview.line, line);
    EXPECT_TRUE(preview.lines.empty());
}

}  // namespace
}  // namespace fenmar
