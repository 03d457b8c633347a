#pragma once
// Reading the list of game libraries from a Steam client's libraryfolders.vdf (a text file of
// quoted keys, values and brace blocks). The reader meets whatever is on disk: damaged, huge
// or hostile files give what could be read before the damage, within fixed bounds.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar {

// Bounds of the reader: larger inputs are read only this far; deeper nesting, longer texts
// and further paths end the reading.
inline constexpr std::size_t kMaxLibraryFoldersBytes = 1024 * 1024;
inline constexpr std::size_t kMaxLibraryFoldersDepth = 16;
inline constexpr std::size_t kMaxLibraryFolderText = 4096;
inline constexpr std::size_t kMaxLibraryFolders = 64;

// The library paths named in the file's text, in file order, without duplicates: the "path"
// value of each numbered block (current layout) or the value of each numbered key (older
// layout), both inside the block "libraryfolders" (any case).
std::vector<std::string> ParseLibraryFolders(std::string_view text);

// Reads at most kMaxLibraryFoldersBytes of the file and parses them; an unreadable or missing
// file gives no paths.
std::vector<std::string> ReadLibraryFolders(const std::string& file);

}  // namespace fenmar
