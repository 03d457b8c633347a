#include "store/RegistryHandling.h"

#include <string>

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

std::string RegReadString(const Key& key, std::string_view name) {
    ValueData data;
    if (!Read(key, name, data) || data.bytes.size() > kReadBuffer) {
        return {};
    }
    std::string text = data.bytes.substr(0, data.bytes.find('\0'));
    if (text.size() > kMaxTextLength) {
        return {};
    }
    return text;
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
    for (std::int32_t i = 1; i <= n; ++i) {
        std::string entry = RegReadString(key, std::to_string(i));
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
