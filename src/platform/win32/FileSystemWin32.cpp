#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/win32/WindowsText.h"

namespace fenmar::platform {

char PathSeparator() {
    return '\\';
}
bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}
bool FileNamesIgnoreCase() {
    return true;
}

std::optional<std::string> FindEntryIgnoringCase(std::string_view dir, std::string_view name) {
    const std::string path = JoinPath(dir, name);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return path;  // the file system itself ignores case
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

std::string FromUtf8(std::string_view utf8) {
    const std::wstring w = detail::Widen(utf8, CP_UTF8);
    if (w.empty()) {
        return {};
    }
    const int wide = static_cast<int>(w.size());
    const int narrow = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace fenmar::platform
