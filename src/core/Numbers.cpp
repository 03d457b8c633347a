#include "core/Numbers.h"

#include <limits>

namespace fenmar {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

std::optional<std::int32_t> StrToInt(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Accumulate as a magnitude; one more than INT32_MAX is still fine for "-2147483648".
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::string InvalidIntegerMessage(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is not a valid integer value";
    return message;
}

std::int64_t ClampToRange(std::int64_t value, std::int64_t low, std::int64_t high) {
    if (value < low) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return value;
}

std::uint8_t ClampToUInt8(std::int64_t value) {
    return static_cast<std::uint8_t>(
        ClampToRange(value, 0, std::numeric_limits<std::uint8_t>::max()));
}

std::uint16_t ClampToUInt16(std::int64_t value) {
    return static_cast<std::uint16_t>(
        ClampToRange(value, 0, std::numeric_limits<std::uint16_t>::max()));
}

}  // namespace fenmar
