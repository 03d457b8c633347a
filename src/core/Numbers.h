#pragma once
// Whole numbers typed into edits: strict conversion, the message for a text that is not one,
// and clamping to the width of the field the number is stored in.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenmar {

// Converts a decimal text to a 32-bit signed integer. Accepted: an optional "+" or "-" followed
// by at least one decimal digit, with optional blanks (spaces and tabs) before and after.
// Nothing else is a number: the empty text, blanks only, a sign alone, blanks between sign and
// digits, other characters, and values outside the 32-bit range all yield nothing.
std::optional<std::int32_t> StrToInt(std::string_view text);

// "'<text>' is not a valid integer value", the text as it was typed.
std::string InvalidIntegerMessage(std::string_view text);

// The value limited to low..high (low <= high).
std::int64_t ClampToRange(std::int64_t value, std::int64_t low, std::int64_t high);

// The value limited to the range of an unsigned field: negative numbers become 0, numbers too
// wide for the field its largest value.
std::uint8_t ClampToUInt8(std::int64_t value);
std::uint16_t ClampToUInt16(std::int64_t value);

}  // namespace fenmar
