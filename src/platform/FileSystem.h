#pragma once
// File-system and text helpers that differ between systems. Texts are in the system's local
// 8-bit encoding: UTF-8 on Linux, the ANSI code page on Windows.

#include <optional>
#include <string>
#include <string_view>

namespace fenmar::platform {

// The separator of path components: '\\' on Windows, '/' elsewhere.
char PathSeparator();
bool IsSeparator(char c);  // '/' everywhere, also '\\' on Windows

// `dir`, then one separator unless `dir` ends with one (or is empty), then `name`.
std::string JoinPath(std::string_view dir, std::string_view name);

// An existing entry of `dir` named `name`, matched without regard to ASCII case where the
// file system is case-sensitive; the full path of the match, or nullopt.
std::optional<std::string> FindEntryIgnoringCase(std::string_view dir, std::string_view name);
// Like FindEntryIgnoringCase, but falls back to JoinPath(dir, name) when there is no match.
std::string ResolveIgnoringCase(std::string_view dir, std::string_view name);
// True when `a` and `b` are equal but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

bool FileExists(const std::string& path);  // a regular file
bool DirectoryExists(const std::string& path);
bool RemoveFile(const std::string& path);  // true when deleted

// True when `name` is absolute or has a ".." component (either separator on every system).
bool IsAbsoluteOrClimbing(std::string_view name);

// Converts a UTF-8 literal into the system's local 8-bit encoding.
std::string FromUtf8(std::string_view utf8);

// File names compared without regard to case on this system?
bool FileNamesIgnoreCase();

}  // namespace fenmar::platform
