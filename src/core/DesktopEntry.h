#pragma once
// Desktop launchers for Quick-Sets: the text of a freedesktop desktop entry that starts the
// launcher with "--run NAME", quoted by the Desktop Entry rules, and a safe file name for it.

#include <optional>
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

// The launcher's file name for a Quick-Set: "fenmar-quickset-", the name with every
// character other than ASCII letters, digits, "-" and "_" replaced by "_" (at most 80 of
// them), "-" and eight hexadecimal digits of a hash of the name (ASCII letters folded, as
// Quick-Set names ignore case), then `suffix` (".desktop", ".lnk"). Names that differ only in
// characters replaced by "_" get different files.
std::string ShortcutFileName(std::string_view quickSetName, std::string_view suffix);
// The file name launchers had before the hash was added (no "-" and hash); they keep
// working and are still found when a Quick-Set's launchers are renamed or removed.
std::string OlderShortcutFileName(std::string_view quickSetName, std::string_view suffix);

// True when a launcher cannot hand the name over as it is: bytes that are not UTF-8 (the
// desktop's files are UTF-8) or control characters other than tab, line feed and carriage
// return (which no launcher value can hold). Such names travel as hexadecimal bytes.
bool NeedsHexName(std::string_view quickSetName);
// The bytes as hexadecimal digits, and back (nullopt for anything but pairs of hex digits).
std::string HexBytes(std::string_view bytes);
std::optional<std::string> BytesFromHex(std::string_view hex);

// The launcher for a Quick-Set: "--run --gui-errors -- NAME" for the program, named after
// the Quick-Set; "--run --gui-errors --hex-name -- HEX" for names that need it (NeedsHexName).
DesktopShortcut QuickSetShortcut(std::string_view quickSetName, const std::string& program,
                                 const std::string& icon);

}  // namespace fenmar
