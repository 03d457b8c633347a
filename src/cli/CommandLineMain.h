#pragma once
// The program's start in command-line mode: a QCoreApplication (no window, no display), the
// registered options, the user's settings store.

#include <string>

namespace fenmar::cli {

// Runs the command line. When it fails and "--gui-errors" was given (desktop launchers give
// it, since nobody sees their standard error), `windowText` receives what went to standard
// error, for the caller to show in a message window where there is a display.
int RunCommandLine(int argc, char** argv, std::string& windowText);

}  // namespace fenmar::cli
