#include <sys/stat.h>
#include <unistd.h>

#include "platform/ProgramSearch.h"

namespace fenmar::platform {

char PathListSeparator() {
    return ':';
}

bool IsAbsolutePath(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

bool IsRunnableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace fenmar::platform
