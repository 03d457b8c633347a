#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "platform/FileSystem.h"

namespace fenmar::platform {

char PathSeparator() {
    return '/';
}
bool IsSeparator(char c) {
    return c == '/';
}
bool FileNamesIgnoreCase() {
    return false;
}

std::optional<std::string> FindEntryIgnoringCase(std::string_view dir, std::string_view name) {
    const std::string exact = JoinPath(dir, name);
    struct stat st {};
    if (::stat(exact.c_str(), &st) == 0) {
        return exact;
    }
    const std::string dirPath = dir.empty() ? std::string(".") : std::string(dir);
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dirPath.c_str()), ::closedir);
    if (!d) {
        return std::nullopt;
    }
    while (const dirent* e = ::readdir(d.get())) {
        if (EqualsIgnoringAsciiCase(e->d_name, name)) {
            return JoinPath(dir, e->d_name);
        }
    }
    return std::nullopt;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::string FromUtf8(std::string_view utf8) {
    return std::string(utf8);
}

}  // namespace fenmar::platform
