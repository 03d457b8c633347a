#include <windows.h>

#include "platform/ProgramSearch.h"

namespace fenmar::platform {

char PathListSeparator() {
    return ';';
}

bool IsAbsolutePath(std::string_view path) {
    const auto sep = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && path[1] == ':' && sep(path[2])) {
        return true;  // C:\games
    }
    return path.size() >= 2 && sep(path[0]) && sep(path[1]);  // \\server\share
}

bool IsRunnableFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace fenmar::platform
