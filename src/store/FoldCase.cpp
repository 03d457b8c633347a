// Case folding for names in the store. The registry compares names by their upper-case
// forms; we do the same for the letters a settings name realistically holds, with a fixed
// table so that every copy of the program (whatever its locale) folds alike.

#include "store/Store.h"
#include "store/TextCodec.h"

namespace fenmar::store {
namespace {

char32_t UpperOf(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return c - 0x20;
    }
    if (c < 0x80) {
        return c;
    }
    // Latin-1 Supplement: à..þ except ÷; ÿ -> Ÿ.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 0x20;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    // Latin Extended-A: pairs upper/lower, even upper in most of the block.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return (c % 2 == 1) ? c - 1 : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c % 2 == 0) ? c - 1 : c;
    }
    // Greek.
    if (c == 0x3C2) {
        return 0x3A3;  // final sigma
    }
    if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) {
        return c - 0x20;
    }
    if (c == 0x3AC) {
        return 0x386;
    }
    if (c >= 0x3AD && c <= 0x3AF) {
        return c - 0x25;
    }
    if (c == 0x3CC) {
        return 0x38C;
    }
    if (c == 0x3CD || c == 0x3CE) {
        return c - 0x3F;
    }
    // Cyrillic.
    if (c >= 0x430 && c <= 0x44F) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    return c;
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, i, cp);
        if (len == 0) {
            out += text[i];  // not UTF-8: keep the byte
            ++i;
            continue;
        }
        if (len == 1) {
            out += static_cast<char>(UpperOf(cp));
        } else {
            AppendUtf8(UpperOf(cp), out);
        }
        i += len;
    }
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return FoldCase(a) == FoldCase(b);
}

}  // namespace fenmar::store
