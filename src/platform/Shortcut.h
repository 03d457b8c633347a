#pragma once
// Launcher files the desktop shows: a freedesktop desktop entry on Linux and other free
// systems, a shell link (.lnk) on Windows.

#include <string>
#include <vector>

namespace fenmar::platform {

struct ShortcutRequest {
    std::string program;            // absolute path of the program to start
    std::vector<std::string> args;  // its arguments
    std::string description;        // the tooltip
    std::string icon;               // an icon file (ignored where the program's icon is used)
    std::string desktopEntry;       // the whole desktop entry, where the system uses those
};

// True when windows can be shown: a graphical session (DISPLAY or WAYLAND_DISPLAY set) on
// free systems, always on Windows.
bool HasDisplay();

// ".desktop" or ".lnk".
const char* ShortcutSuffix();

// Writes the launcher file `file` (replacing it). False with a reason in `error` when it
// cannot be written.
bool WriteShortcut(const std::string& file, const ShortcutRequest& request, std::string& error);

}  // namespace fenmar::platform
