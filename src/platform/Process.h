#pragma once
// Starting other programs: fire and forget, never through a shell.

#include <string>
#include <string_view>
#include <vector>

namespace fenmar::platform {

struct StartResult {
    bool started = false;
    std::string error;  // why it failed, in words for the user; empty when started
    long long processId = 0;  // the started program's process id (0 when not started)
};

struct StartRequest {
    std::string program;             // the file to run
    std::vector<std::string> args;   // the arguments after the program
    std::string workingDirectory;    // empty: the launcher's own
    bool searchPath = false;         // look the program up in PATH when it has no directory
    std::string consoleTitle;        // Windows only: the console window's title
    std::string commandLine;         // Windows only: the whole line handed to the program
};

// Starts the program detached: it outlives the launcher and leaves no zombie behind. Reports
// whether the program could be started (missing file, not executable, directory gone...).
StartResult StartDetached(const StartRequest& request);

// Splits a command line into words: blanks and tabs separate, double quotes group and are
// removed, \" is a plain double quote (and \\" a backslash before a grouping quote), as the
// engines' own start-up code reads its line on Windows.
std::vector<std::string> SplitCommandLine(std::string_view line);

// The word as SplitCommandLine reads it back whole: as it is, or in double quotes when it is
// empty or holds a blank, a tab or a double quote.
std::string QuoteCommandLineWord(std::string_view word);

}  // namespace fenmar::platform
