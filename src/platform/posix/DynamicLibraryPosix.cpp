#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <memory>

#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"

namespace fenmar::platform {

bool DynamicLibrary::Open(const std::string& path) {
    Close();
    // dlopen searches the library path for names without a slash; never let it.
    const std::string withDir = path.find('/') == std::string::npos ? "./" + path : path;
    if (!FileExists(withDir)) {
        return false;
    }
    handle_ = ::dlopen(withDir.c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void DynamicLibrary::Close() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
        handle_ = nullptr;
    }
}

void* DynamicLibrary::Symbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

std::string_view LibrarySuffix() {
    return ".so";
}

namespace {
// Longer than `suffix` and ending with it, but for ASCII case.
bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix) {
    return name.size() > suffix.size() &&
           EqualsIgnoringAsciiCase(name.substr(name.size() - suffix.size()), suffix);
}
}  // namespace

std::vector<std::string> FindLibraryFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
    if (!d) {
        return names;
    }
    while (const dirent* e = ::readdir(d.get())) {
        const std::string_view name(e->d_name);
        if (name.empty() || name.front() == '.' || !EndsWithIgnoringCase(name, LibrarySuffix())) {
            continue;  // hidden files are not offered
        }
        if (FileExists(JoinPath(dir, name))) {
            names.emplace_back(name);
        }
    }
    return names;
}

}  // namespace fenmar::platform
