#pragma once
// What the pickers make of a chosen path: the trimming of chosen files, the game patch of a
// chosen folder and the "lies inside this directory" test. Texts are local 8-bit paths.

#include <optional>
#include <string>
#include <string_view>

namespace fenmar {

// The path in the case this system keeps paths in: lower case where file names ignore case,
// unchanged elsewhere.
std::string PathInStoredCase(std::string_view path);

// The directory without trailing separators (a root directory keeps its one separator).
std::string WithoutTrailingSeparators(std::string_view dir);

// `path` relative to `dir` when it lies strictly below it ("" when it is `dir` itself);
// nullopt when it lies elsewhere. Compared ignoring case where file names ignore case.
std::optional<std::string> RelativeTo(std::string_view path, std::string_view dir);

// True when `path` is `dir` or lies below it.
bool IsSameOrBelow(std::string_view path, std::string_view dir);

// The last component of a path.
std::string FileNameOf(std::string_view path);

// Cuts the file-name part of `path` before its first '.'; a name without '.' stays.
std::string WithoutExtension(std::string_view path);

struct TrimRules {
    bool keepExtension = true;
    bool keepPath = false;
    bool relative = false;  // with keepPath: relative to the initial directory
};

// The text a file picker returns for the chosen file `chosen` (a full path). nullopt when the
// result is to be relative to `initialDir` but the file lies elsewhere.
std::optional<std::string> TrimChosenFile(std::string_view chosen, std::string_view initialDir,
                                          const TrimRules& rules);

// The game patch for a folder chosen below the Quake directory: the relative path, "<none>"
// for the Quake directory itself, nullopt for a folder outside it.
std::optional<std::string> PatchOfFolder(std::string_view folder, std::string_view quakePath);

// "*.dem;*.qwd" as blank-separated patterns matching both cases: "*.dem *.DEM *.qwd *.QWD".
std::string PatternsAnyCase(std::string_view patterns);

}  // namespace fenmar
