#pragma once
// Texts as the programs that follow the Windows conventions write them.

#include <string>
#include <string_view>

namespace fenmar::test {

// LF line ends to CRLF.
inline std::string Crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace fenmar::test
