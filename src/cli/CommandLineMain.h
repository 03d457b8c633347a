#pragma once
// The program's start in command-line mode: a QCoreApplication (no window, no display), the
// registered options, the user's settings store.

namespace fenmar::cli {

int RunCommandLine(int argc, char** argv);

}  // namespace fenmar::cli
