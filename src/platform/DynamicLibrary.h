#pragma once
// Shared libraries loaded at run time (plug-ins), and finding them in a directory.

#include <string>
#include <string_view>
#include <vector>

namespace fenmar::platform {

// One loaded library; frees it when closed or destroyed. Move-only.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary() { Close(); }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.handle_) {
        other.handle_ = nullptr;
    }
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }

    // Frees what is loaded, then loads the library at `path` (a path with a directory part,
    // never searched along the system's library path). False when it cannot be loaded.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // The address of an exported symbol (exact, case-sensitive name), or null.
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};

// The file-name suffix of shared libraries here: ".dll" or ".so".
std::string_view LibrarySuffix();

// The plain, visible files of `dir` whose names end in LibrarySuffix() (ignoring case), in the
// order the directory listing returns them; empty when the directory cannot be read.
std::vector<std::string> FindLibraryFiles(const std::string& dir);

}  // namespace fenmar::platform
