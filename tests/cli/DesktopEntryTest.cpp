#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "DesktopEntryDecode.h"
#include "TempDir.h"
#include "core/DesktopEntry.h"

namespace fenmar {
namespace {

// Names a player may well give a Quick-Set, and ones that break naive quoting.
const std::vector<std::string> kHostileNames = {
    "Coop night",
    "50% off",
    "Bob's \"best\" DM",
    R"(C:\games\quake)",
    "$HOME `id` ;rm -rf",
    "-dash first",
    " leading blank",
    "tab\there",
    "line\nbreak",
    "%f %u %%",
    "",
    "ümlaut ÄÖ",
};

TEST(DesktopEntry, ExecRoundTripsEveryNameAndProgramPath) {
    for (const std::string& name : kHostileNames) {
        const std::string program = "/opt/my games/fen\"mar%/bin/fenmar";
        const std::string text = DesktopEntryText(QuickSetShortcut(name, program, "fenmar"));
        // One line per key: nothing in the name may start a key of its own.
        EXPECT_EQ(text.find("\nrm"), std::string::npos) << name;
        const auto args = test::ParseExec(test::UnescapeValue(test::EntryValue(text, "Exec")));
        ASSERT_TRUE(args.has_value()) << "broken Exec for " << name << ":\n" << text;
        EXPECT_EQ(*args, (std::vector<std::string>{program, "--run", "--", name})) << text;
    }
}

TEST(DesktopEntry, PlainArgumentsStayUnquotedAndNamesKeepTheirText) {
    DesktopShortcut shortcut{"Coop night", "", "/usr/bin/fenmar", {"--run", "Coop"}, ""};
    const std::string text = DesktopEntryText(shortcut);
    EXPECT_EQ(test::EntryValue(text, "Exec"), "/usr/bin/fenmar --run Coop");
    EXPECT_EQ(test::EntryValue(text, "Name"), "Coop night");
    EXPECT_EQ(test::EntryValue(text, "Icon"), "");  // no icon: no key
    EXPECT_EQ(QuoteExecArgument("a\\b"), "\"a\\\\b\"");
    // The backslash is escaped twice: once for the quoting, once for the value.
    EXPECT_EQ(EscapeDesktopValue(QuoteExecArgument("a\\b")), "\"a\\\\\\\\b\"");
}

TEST(DesktopEntry, FileNamesAreSafeAndBounded) {
    EXPECT_EQ(ShortcutFileName("Coop night", ".desktop"), "fenmar-quickset-Coop_night.desktop");
    for (const std::string& name : kHostileNames) {
        const std::string file = ShortcutFileName(name, ".desktop");
        EXPECT_EQ(file.find_first_of("/\\\n\"' $%`"), std::string::npos) << file;
        EXPECT_EQ(file.find(".."), std::string::npos) << file;
    }
    EXPECT_EQ(ShortcutFileName("../../.bashrc", ".desktop"),
              "fenmar-quickset-_______bashrc.desktop");
    const std::string longName(1000, 'x');
    EXPECT_LE(ShortcutFileName(longName, ".lnk").size(), 100u);
}

// The desktop's own checker accepts every launcher we write.
TEST(DesktopEntry, GeneratedLaunchersValidate) {
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty()) {
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    }
    test::TempDir dir;
    for (const std::string& name : kHostileNames) {
        const std::string file =
            dir.WriteFile(ShortcutFileName(name, ".desktop"),
                          DesktopEntryText(QuickSetShortcut(name, "/usr/bin/fenmar", "fenmar")));
        QProcess check;
        check.start(validator, {QString::fromStdString(file)});
        ASSERT_TRUE(check.waitForFinished(30000));
        EXPECT_EQ(check.exitCode(), 0)
            << name << ": " << check.readAllStandardOutput().toStdString()
            << check.readAllStandardError().toStdString();
    }
}

}  // namespace
}  // namespace fenmar
