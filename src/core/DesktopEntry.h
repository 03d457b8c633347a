#pragma once
// Desktop launchers for Quick-Sets: the text of a freedesktop desktop entry that starts the
// launcher with "--run NAME", quoted by the Desktop Entry rules, and a safe file name for it.

#include <string>
#include <string_view>
#include <vector>

namespace fenmar {

struct DesktopShortcut {
    std::string name;               // shown under the icon
    std::string comment;            // tooltip; may be empty
    std::string program;            // absolute path of the launcher
    std::vector<std::string> args;  // its arguments
    std::string icon;               // an absolute file or an icon name; may be empty
};

// One argument of Exec= before the value's own escapes: quoted when it holds a reserved
// character (or is empty), with ", `, $ and \ escaped inside the quotes; every % doubled.
std::string QuoteExecArgument(std::string_view argument);
// A string value: \ , newline, tab and carriage return written as escapes; a leading blank
// as \s.
std::string EscapeDesktopValue(std::string_view value);
// The [Desktop Entry] group of an application launcher.
std::string DesktopEntryText(const DesktopShortcut& shortcut);

// The launcher's file name for a Quick-Set: "fenmar-quickset-" and the name with every
// character other than ASCII letters, digits, "-" and "_" replaced by "_" (at most 80 of
// them), then `suffix` (".desktop", ".lnk").
std::string ShortcutFileName(std::string_view quickSetName, std::string_view suffix);

// The launcher for a Quick-Set: "--run -- NAME" for the program, named after the Quick-Set.
DesktopShortcut QuickSetShortcut(std::string_view quickSetName, const std::string& program,
                                 const std::string& icon);

}  // namespace fenmar
