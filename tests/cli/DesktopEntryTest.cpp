#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <set>

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
    "bell\a and escape\x1b[31m",  // control characters no launcher value can hold
    "Caf\xe9",                    // a stored name that is not UTF-8 (an old import)
};

TEST(DesktopEntry, ExecRoundTripsEveryNameAndProgramPath) {
    for (const std::string& name : kHostileNames) {
        const std::string program = "/opt/my games/fen\"mar%/bin/fenmar";
        const std::string text = DesktopEntryText(QuickSetShortcut(name, program, "fenmar"));
        // One line per key: nothing in the name may start a key of its own.
        EXPECT_EQ(text.find("\nrm"), std::string::npos) << name;
        auto args = test::ParseExec(test::UnescapeValue(test::EntryValue(text, "Exec")));
        ASSERT_TRUE(args.has_value()) << "broken Exec for " << name << ":\n" << text;
        // Names a launcher cannot carry as they are travel as their bytes in hexadecimal.
        const bool plain = name.find_first_of("\a\x1b\xe9") == std::string::npos;
        if (!plain) {
            ASSERT_EQ(args->size(), 6u) << text;
            EXPECT_EQ((*args)[3], "--hex-name");
            EXPECT_EQ(BytesFromHex(args->back()), name);
            args->erase(args->begin() + 3);
            args->back() = name;
        }
        EXPECT_EQ(*args, (std::vector<std::string>{program, "--run", "--gui-errors", "--", name}))
            << text;
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

TEST(DesktopEntry, FileNamesAreSafeBoundedAndOnePerQuickSet) {
    const std::string coop = ShortcutFileName("Coop night", ".desktop");
    EXPECT_EQ(coop.rfind("fenmar-quickset-Coop_night-", 0), 0u) << coop;
    EXPECT_EQ(coop.size(), std::string("fenmar-quickset-Coop_night-12345678.desktop").size());
    EXPECT_EQ(ShortcutFileName("coop NIGHT", ".desktop").substr(27), coop.substr(27));
    // Names alike after the replacement of their other characters stay apart.
    std::set<std::string> files;
    for (const char* name : {"\u041a\u043e\u043e\u043f", "\u0414\u0443\u044d\u043b", "Coop night",
                             "Coop?night", "Coop.night"}) {
        EXPECT_TRUE(files.insert(ShortcutFileName(name, ".desktop")).second) << name;
    }
    for (const std::string& name : kHostileNames) {
        const std::string file = ShortcutFileName(name, ".desktop");
        EXPECT_EQ(file.find_first_of("/\\\n\"' $%`"), std::string::npos) << file;
        EXPECT_EQ(file.find(".."), std::string::npos) << file;
    }
    EXPECT_EQ(
        ShortcutFileName("../../.bashrc", ".desktop").rfind("fenmar-quickset-_______bashrc-", 0),
        0u);
    const std::string longName(1000, 'x');
    EXPECT_LE(ShortcutFileName(longName, ".lnk").size(), 110u);
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
