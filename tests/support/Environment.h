#pragma once
// Environment changes the tests make for the programs they start, on every system.

#include <string>

#include "platform/FileSystem.h"

namespace fenmar::test {

// Sets (or replaces) a variable of this process; started programs inherit it.
void SetEnv(const std::string& name, const std::string& value);

// For the few cases that test behaviour only one family of systems has (file modes, PATH
// lookup, the C library's error texts).
inline bool SystemIsWindows() {
    return platform::PathSeparator() == '\\';
}

}  // namespace fenmar::test
