#include "store/TextCodec.h"

namespace fenmar::store {
namespace {

void AppendUnit(char16_t u, std::string& out) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

}  // namespace

std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& out) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = b(0);
    std::size_t len = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        out = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        cp = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + len > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < len; ++k) {
        if ((b(k) & 0xC0u) != 0x80u) {
            return 0;
        }
        cp = (cp << 6) | (b(k) & 0x3Fu);
    }
    const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    out = cp;
    return len;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool Utf16LeToUtf8(std::string_view bytes, std::string& out, std::size_t& badUnit) {
    out.clear();
    out.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    const auto unit = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < units) {
                const char16_t low = unit(i + 1);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    AppendUtf8(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) +
                                   (static_cast<char32_t>(low) - 0xDC00),
                               out);
                    ++i;
                    continue;
                }
            }
            badUnit = i;
            return false;
        }
        if (u >= 0xDC00 && u <= 0xDFFF) {
            badUnit = i;
            return false;
        }
        AppendUtf8(u, out);
    }
    if (bytes.size() % 2 != 0) {
        badUnit = units;
        return false;
    }
    return true;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {
            AppendUnit(0xFFFD, out);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            AppendUnit(static_cast<char16_t>(0xD800 + (cp >> 10)), out);
            AppendUnit(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)), out);
        } else {
            AppendUnit(static_cast<char16_t>(cp), out);
        }
        i += len;
    }
    return out;
}

}  // namespace fenmar::store
