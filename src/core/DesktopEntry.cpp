#include "core/DesktopEntry.h"

namespace fenmar {

namespace {
// Characters an unquoted Exec argument must not contain.
constexpr std::string_view kReserved = " \t\n\r\"'\\><~|&;$*?#()`";
constexpr std::size_t kMaxNameInFileName = 80;
}  // namespace

std::string QuoteExecArgument(std::string_view argument) {
    const bool quote =
        argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
    std::string out;
    if (quote) {
        out += '"';
    }
    for (const char c : argument) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
        }
        out += c;
    }
    if (quote) {
        out += '"';
    }
    return out;
}

std::string EscapeDesktopValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case ' ':
                out += i == 0 ? "\\s" : " ";
                break;
            default:
                // Other control characters have no escape; they become blanks.
                out += static_cast<unsigned char>(c) < 32 ? ' ' : c;
        }
    }
    return out;
}

std::string DesktopEntryText(const DesktopShortcut& shortcut) {
    std::string exec = QuoteExecArgument(shortcut.program);
    for (const std::string& arg : shortcut.args) {
        exec += ' ';
        exec += QuoteExecArgument(arg);
    }
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
    text += "Name=" + EscapeDesktopValue(shortcut.name) + "\n";
    if (!shortcut.comment.empty()) {
        text += "Comment=" + EscapeDesktopValue(shortcut.comment) + "\n";
    }
    text += "Exec=" + EscapeDesktopValue(exec) + "\n";
    if (!shortcut.icon.empty()) {
        text += "Icon=" + EscapeDesktopValue(shortcut.icon) + "\n";
    }
    text += "Terminal=false\nCategories=Game;ActionGame;\n";
    return text;
}

std::string ShortcutFileName(std::string_view quickSetName, std::string_view suffix) {
    std::string safe;
    for (const char c : quickSetName) {
        if (safe.size() == kMaxNameInFileName) {
            break;
        }
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        safe += plain ? c : '_';
    }
    return "fenmar-quickset-" + safe + std::string(suffix);
}

DesktopShortcut QuickSetShortcut(std::string_view quickSetName, const std::string& program,
                                 const std::string& icon) {
    DesktopShortcut shortcut;
    shortcut.name = "Fenmar: " + std::string(quickSetName);
    shortcut.comment = "Start Quake with the Quick-Set \"" + std::string(quickSetName) + "\"";
    shortcut.program = program;
    // "--" keeps a name that begins with "-" from being read as an option.
    shortcut.args = {"--run", "--", std::string(quickSetName)};
    shortcut.icon = icon;
    return shortcut;
}

}  // namespace fenmar
