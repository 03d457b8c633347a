#pragma once
// Finding programs the way a shell does: by an absolute path, or by a bare name looked up in
// the directories of PATH (with PATHEXT's extensions on Windows).

#include <optional>
#include <string>
#include <string_view>

namespace fenmar::platform {

// The value of an environment variable of this process, or nullopt when it is not set.
std::optional<std::string> GetEnvironment(const char* name);

// The separator between the directories of PATH: ';' on Windows, ':' elsewhere.
char PathListSeparator();

// True for "/usr/games/x" (and "C:\x", "\\server\x" on Windows).
bool IsAbsolutePath(std::string_view path);

// True when `path` is a regular file this user may start (execute permission on POSIX).
bool IsRunnableFile(const std::string& path);

// Looks up a bare program name (one without any separator) in each directory of `pathList`.
// On Windows, when `name` has no extension, each extension of `pathExt` (";"-separated, as in
// PATHEXT) is tried in turn first. Empty entries of the list are skipped: a program is never
// taken from the current directory by accident. Returns the full path of the first runnable
// match, or nullopt (also for names with a separator, and for the empty name).
std::optional<std::string> FindProgramOnPath(std::string_view name, std::string_view pathList,
                                             std::string_view pathExt = {});

// The same with this process's own PATH and PATHEXT.
std::optional<std::string> FindProgramOnPath(std::string_view name);

}  // namespace fenmar::platform
