#include "core/DesktopEntry.h"

#include <cstdint>
#include <cstdio>

#include "store/TextCodec.h"

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

std::string OlderShortcutFileName(std::string_view quickSetName, std::string_view suffix) {
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

std::string ShortcutFileName(std::string_view quickSetName, std::string_view suffix) {
    // FNV-1a over the name with ASCII letters folded: stable across runs and systems.
    std::uint32_t hash = 2166136261U;
    for (const char c : quickSetName) {
        const char folded = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        hash = (hash ^ static_cast<unsigned char>(folded)) * 16777619U;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(hash));
    const std::string older = OlderShortcutFileName(quickSetName, "");
    return older + "-" + digits + std::string(suffix);
}

bool NeedsHexName(std::string_view quickSetName) {
    for (std::size_t i = 0; i < quickSetName.size();) {
        const auto c = static_cast<unsigned char>(quickSetName[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) {
                return true;
            }
            ++i;
            continue;
        }
        char32_t decoded = 0;
        const std::size_t length = store::DecodeUtf8(quickSetName, i, decoded);
        if (length == 0) {
            return true;
        }
        i += length;
    }
    return false;
}

std::string HexBytes(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::optional<std::string> BytesFromHex(std::string_view hex) {
    const auto value = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = value(hex[i]);
        const int low = value(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
    }
    return out;
}

namespace {
// The name as the desktop shows it: bytes that are not UTF-8 become U+FFFD, other control
// characters blanks (EscapeDesktopValue).
std::string ShownName(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        char32_t decoded = 0;
        const std::size_t length = store::DecodeUtf8(name, i, decoded);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(name.substr(i, length));
            i += length;
        }
    }
    return out;
}
}  // namespace

DesktopShortcut QuickSetShortcut(std::string_view quickSetName, const std::string& program,
                                 const std::string& icon) {
    DesktopShortcut shortcut;
    const std::string shown = ShownName(quickSetName);
    shortcut.name = "Fenmar: " + shown;
    shortcut.comment = "Start Quake with the Quick-Set \"" + shown + "\"";
    shortcut.program = program;
    // Nobody sees a launcher's standard error: a failure is shown in a window too. "--"
    // keeps a name that begins with "-" from being read as an option.
    if (NeedsHexName(quickSetName)) {
        shortcut.args = {"--run", "--gui-errors", "--hex-name", "--", HexBytes(quickSetName)};
    } else {
        shortcut.args = {"--run", "--gui-errors", "--", std::string(quickSetName)};
    }
    shortcut.icon = icon;
    return shortcut;
}

}  // namespace fenmar
