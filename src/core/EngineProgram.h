#pragma once
// Where the program of an executable row lives: in the Quake directory (the classic case), at
// an absolute path, or on PATH. The launch, the executable editor and engine discovery all ask
// here, so they agree on what "run Quake !" would start.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar {

enum class ProgramPlace {
    QuakeDirectoryFile,  // a file relative to the Quake directory (also when it is missing)
    AbsolutePath,        // the row holds an absolute path
    OnPath,              // a bare name found on PATH
};

struct EngineProgram {
    ProgramPlace place = ProgramPlace::QuakeDirectoryFile;
    std::string path;    // the program to start, absolute; for a missing file of the Quake
                         // directory, that directory joined with the file
    bool found = false;  // a runnable file exists at `path`
    bool insideQuakeDirectory = true;  // false: the engine needs -basedir to find the game
};

// Resolves an executable row's file:
// - a relative file that exists in the Quake directory is that file (today's meaning);
// - an absolute path is itself;
// - a bare name (no separator) not in the Quake directory is looked up in `pathList`
//   (with `pathExt` on Windows) the way a shell does;
// - anything else stays a file of the Quake directory that cannot be found.
// A relative Quake directory is taken from the launcher's current directory.
EngineProgram ResolveEngineProgram(std::string_view quakePath, std::string_view file,
                                   std::string_view pathList, std::string_view pathExt = {});

// The same with this process's PATH and PATHEXT.
EngineProgram ResolveEngineProgram(std::string_view quakePath, std::string_view file);

// `path` made absolute against the current directory; "" stays "".
std::string AbsolutePathOf(std::string_view path);

// The Quake directory as handed to an engine outside it: absolute, without trailing
// separators (a trailing backslash before a closing quote would escape it on Windows).
std::string BaseDirectoryOf(std::string_view quakePath);

// The companion program ("launch QSpy/QW !") named by the edit's text, with its arguments.
// The whole text is tried as one file first (a path with blanks needs no quotes), then its
// first word. A word with a separator is a file (relative to the launcher's directory); a
// bare name is looked up on PATH. The same lookup enables the button and starts the program.
struct CompanionProgram {
    std::optional<std::string> program;  // nullopt when nothing runnable is named
    std::vector<std::string> args;       // the words after the program's word
};
CompanionProgram ResolveCompanionProgram(std::string_view text, std::string_view pathList,
                                         std::string_view pathExt = {});
CompanionProgram ResolveCompanionProgram(std::string_view text);

}  // namespace fenmar
