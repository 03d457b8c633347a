#pragma once
// Conversion between UTF-16LE (the Windows registry editor's "Version 5.00" files) and our
// 8-bit texts, which are UTF-8 on Linux.

#include <cstddef>
#include <string>
#include <string_view>

namespace fenmar::store {

// Converts UTF-16LE bytes (without byte-order mark) into UTF-8. Fails on an odd byte count
// or an unpaired surrogate; `badUnit` then holds the index of the offending code unit.
bool Utf16LeToUtf8(std::string_view bytes, std::string& out, std::size_t& badUnit);

// Decodes one well-formed UTF-8 sequence at `s[i]` into `out`; returns its length, or 0 when
// the bytes there are not UTF-8 (overlong, surrogate, truncated, out of range).
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& out);

// Appends one code point as UTF-8.
void AppendUtf8(char32_t c, std::string& out);

// Converts UTF-8 into UTF-16LE bytes (without byte-order mark). Bytes that are not UTF-8
// become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);

}  // namespace fenmar::store
