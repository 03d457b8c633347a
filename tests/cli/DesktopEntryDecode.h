#pragma once
// Reads a desktop entry's Exec= back the way a desktop does: the value's escapes first, then
// the quoting of the arguments, then "%%" as "%". Independent of the writer on purpose.

#include <optional>
#include <string>
#include <vector>

namespace fenmar::test {

inline std::string UnescapeValue(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char c = value[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

// nullopt when the line breaks the rules (an unquoted reserved character, an open quote).
inline std::optional<std::vector<std::string>> ParseExec(const std::string& exec) {
    const std::string reserved = "\t\n\"'\\><~|&;$*?#()`";
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < exec.size()) {
        if (exec[i] == ' ') {
            ++i;
            continue;
        }
        std::string arg;
        if (exec[i] == '"') {
            ++i;
            for (;; ++i) {
                if (i == exec.size())
                    return std::nullopt;
                if (exec[i] == '"')
                    break;
                if (exec[i] == '\\') {
                    if (i + 1 == exec.size())
                        return std::nullopt;
                    const char next = exec[i + 1];
                    if (next != '"' && next != '`' && next != '$' && next != '\\')
                        return std::nullopt;
                    ++i;
                } else if (exec[i] == '`' || exec[i] == '$') {
                    return std::nullopt;
                }
                arg += exec[i];
            }
            ++i;
            if (i < exec.size() && exec[i] != ' ')
                return std::nullopt;
        } else {
            for (; i < exec.size() && exec[i] != ' '; ++i) {
                if (reserved.find(exec[i]) != std::string::npos)
                    return std::nullopt;
                arg += exec[i];
            }
        }
        std::string plain;
        for (std::size_t k = 0; k < arg.size(); ++k) {
            if (arg[k] == '%') {
                if (k + 1 == arg.size() || arg[k + 1] != '%')
                    return std::nullopt;  // field code
                ++k;
            }
            plain += arg[k];
        }
        args.push_back(plain);
    }
    return args;
}

// The value of `key` in the text of a desktop entry, unescaped; "" when absent.
inline std::string EntryValue(const std::string& text, const std::string& key) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::string line = text.substr(pos, end == std::string::npos ? end : end - pos);
        if (line.rfind(key + "=", 0) == 0) {
            return line.substr(key.size() + 1);
        }
        pos = end == std::string::npos ? text.size() : end + 1;
    }
    return {};
}

}  // namespace fenmar::test
