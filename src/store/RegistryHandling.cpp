#include "store/RegistryHandling.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

namespace fenmar::store {
namespace {

// The read buffer of the original layer: 261 bytes.
constexpr std::size_t kReadBuffer = kMaxTextLength + 1;

// IsSet of the Overview (core's IsSet lives above this layer).
bool IsSetText(std::string_view text) {
    return !text.empty() && text != "<none>";
}

void Write(const Key& key, std::string_view name, std::uint32_t type, std::string_view bytes) {
    if (key.IsOpen()) {
        key.GetStore()->SetValue(key.Path(), name, type, bytes);
    }
}

bool Read(const Key& key, std::string_view name, ValueData& out) {
    return key.IsOpen() && key.GetStore()->QueryValue(key.Path(), name, out) == Status::Ok;
}

}  // namespace

void RegWriteString(const Key& key, std::string_view name, std::string_view text) {
    Write(key, name, kRegSz, text);
}

void RegWriteBool(const Key& key, std::string_view name, bool flag) {
    Write(key, name, kRegSz, flag ? "Yes" : "No");
}

void RegWriteInteger(const Key& key, std::string_view name, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(u & 0xFFu), static_cast<char>((u >> 8) & 0xFFu),
                           static_cast<char>((u >> 16) & 0xFFu),
                           static_cast<char>((u >> 24) & 0xFFu)};
    Write(key, name, kRegDword, std::string_view(bytes, 4));
}

namespace {
// A stored text as RegReadString gives it: up to its first zero byte, "" when too long.
std::string TextOf(const std::string& bytes) {
    if (bytes.size() > kReadBuffer) {
        return {};
    }
    std::string text = bytes.substr(0, bytes.find('\0'));
    if (text.size() > kMaxTextLength) {
        return {};
    }
    return text;
}

// The number a list entry's value name stands for: decimal without leading zeros, 1 or more;
// 0 for any other name.
std::int32_t EntryNumber(std::string_view name) {
    if (name.empty() || name.size() > 10 || name.front() == '0') {
        return 0;
    }
    std::int64_t n = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') {
            return 0;
        }
        n = n * 10 + (c - '0');
    }
    return n > INT32_MAX ? 0 : static_cast<std::int32_t>(n);
}
}  // namespace

std::string RegReadString(const Key& key, std::string_view name) {
    ValueData data;
    if (!Read(key, name, data)) {
        return {};
    }
    return TextOf(data.bytes);
}

bool RegReadBool(const Key& key, std::string_view name) {
    return RegReadString(key, name) == "Yes";
}

std::int32_t RegReadInteger(const Key& key, std::string_view name) {
    ValueData data;
    if (!Read(key, name, data) || data.bytes.size() != 4) {
        return -1;
    }
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) {
        u = (u << 8) | static_cast<unsigned char>(data.bytes[static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(u);
}

void RegReadStringList(const Key& key, std::vector<std::string>& target, bool unique, int limit) {
    std::int32_t n = RegReadInteger(key, "Count");
    if (limit != 0 && n >= limit) {
        n = limit;
    }
    if (n <= 0) {
        return;
    }
    // The numbers 1 ... n that the key really holds, in order: a "Count" far beyond the
    // stored entries (damaged or hand-made) costs no more than the entries themselves.
    std::vector<NamedValue> values;
    if (key.GetStore()->EnumValues(key.Path(), values) != Status::Ok) {
        return;
    }
    std::vector<std::pair<std::int32_t, std::string>> entries;
    for (NamedValue& value : values) {
        const std::int32_t number = EntryNumber(value.name);
        if (number >= 1 && number <= n) {
            entries.emplace_back(number, TextOf(value.bytes));
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [number, entry] : entries) {
        if (entry.empty()) {
            continue;
        }
        if (unique) {
            const std::string folded = FoldCase(entry);
            bool present = false;
            for (const auto& have : target) {
                if (FoldCase(have) == folded) {
                    present = true;
                    break;
                }
            }
            if (present) {
                continue;
            }
        }
        target.push_back(std::move(entry));
    }
}

void RegWriteStringList(const Key& key, const std::vector<std::string>& source) {
    std::int32_t k = 0;
    for (const auto& entry : source) {
        if (IsSetText(entry)) {
            ++k;
            RegWriteString(key, std::to_string(k), entry);
        }
    }
    RegWriteInteger(key, "Count", k);
}

}  // namespace fenmar::store
