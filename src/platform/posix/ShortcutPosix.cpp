#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/Shortcut.h"

namespace fenmar::platform {

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

const char* ShortcutSuffix() {
    return ".desktop";
}

bool WriteShortcut(const std::string& file, const ShortcutRequest& request, std::string& error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.c_str(), "wb"),
                                                        std::fclose);
    if (!out) {
        error = std::strerror(errno);
        return false;
    }
    const std::string& text = request.desktopEntry;
    if (std::fwrite(text.data(), 1, text.size(), out.get()) != text.size()) {
        error = std::strerror(errno);
        return false;
    }
    if (std::fclose(out.release()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    // File managers start launchers on the desktop only when they are executable.
    ::chmod(file.c_str(), 0755);
    return true;
}

}  // namespace fenmar::platform
