#include <windows.h>

#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"

namespace fenmar::platform {

bool DynamicLibrary::Open(const std::string& path) {
    Close();
    if (!FileExists(path)) {
        return false;
    }
    // The search flags below need a full path.
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    // No error boxes for files that are not libraries. The library's own imports come from
    // its folder and the system's, never from the current directory or PATH.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    handle_ = ::LoadLibraryExA(full, nullptr,
                               LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    ::SetErrorMode(oldMode);
    return handle_ != nullptr;
}

void DynamicLibrary::Close() {
    if (handle_ != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(handle_));
        handle_ = nullptr;
    }
}

void* DynamicLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string_view LibrarySuffix() {
    return ".dll";
}

std::vector<std::string> FindLibraryFiles(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    const std::string pattern = JoinPath(dir, "*.dll");
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    const DWORD skip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((data.dwFileAttributes & skip) == 0) {
            names.emplace_back(data.cFileName);
        }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

}  // namespace fenmar::platform
