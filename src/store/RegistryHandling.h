#pragma once
// The typed value operations (unit RegistryHandling). Each works on an open key
// (Key), or on a store and a key path; a key that is not open, or a path that does not
// exist, reads the neutral value ("", -1, false, list unchanged) and loses writes. Nothing
// here reports an error.
//
// Encodings: text as REG_SZ without a terminating zero; integer as a 4-byte little-endian
// REG_DWORD; boolean as the REG_SZ text "Yes" or "No"; a string list as the integer
// "Count" and texts "1" ... "N" in the same key.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/Store.h"

namespace fenmar::store {

// The longest text that reads back; longer stored texts read as "".
inline constexpr std::size_t kMaxTextLength = 260;

void RegWriteString(const Key& key, std::string_view name, std::string_view text);
void RegWriteBool(const Key& key, std::string_view name, bool flag);
void RegWriteInteger(const Key& key, std::string_view name, std::int32_t value);
// The text; "" if absent, longer than 260 characters or unreadable. A text is read up to
// its first zero byte, so texts written with a terminating zero read alike.
std::string RegReadString(const Key& key, std::string_view name);
// True only when the stored text is exactly "Yes".
bool RegReadBool(const Key& key, std::string_view name);
// The number; -1 if absent or not exactly 4 bytes.
std::int32_t RegReadInteger(const Key& key, std::string_view name);
// Appends the stored entries "1" ... "n" to `target`, where n is "Count", capped at `limit`
// when that is not 0; empty entries are skipped, and with `unique` also entries that
// `target` already holds (ignoring case). An absent or non-positive "Count" adds nothing.
void RegReadStringList(const Key& key, std::vector<std::string>& target, bool unique = false,
                       int limit = 0);
// Writes the entries that are set (neither "" nor "<none>") as "1" ... "k", then "Count" = k.
// Numbered values above k from an earlier, longer list stay in place.
void RegWriteStringList(const Key& key, const std::vector<std::string>& source);

// The same on a store and a key path (the key must exist; nothing is created).
inline void RegWriteString(Store& store, std::string_view keyPath, std::string_view name,
                           std::string_view text) {
    RegWriteString(Key(store, std::string(keyPath)), name, text);
}
inline void RegWriteBool(Store& store, std::string_view keyPath, std::string_view name, bool flag) {
    RegWriteBool(Key(store, std::string(keyPath)), name, flag);
}
inline void RegWriteInteger(Store& store, std::string_view keyPath, std::string_view name,
                            std::int32_t value) {
    RegWriteInteger(Key(store, std::string(keyPath)), name, value);
}
inline std::string RegReadString(Store& store, std::string_view keyPath, std::string_view name) {
    return RegReadString(Key(store, std::string(keyPath)), name);
}
inline bool RegReadBool(Store& store, std::string_view keyPath, std::string_view name) {
    return RegReadBool(Key(store, std::string(keyPath)), name);
}
inline std::int32_t RegReadInteger(Store& store, std::string_view keyPath, std::string_view name) {
    return RegReadInteger(Key(store, std::string(keyPath)), name);
}
inline void RegReadStringList(Store& store, std::string_view keyPath,
                              std::vector<std::string>& target, bool unique = false,
                              int limit = 0) {
    RegReadStringList(Key(store, std::string(keyPath)), target, unique, limit);
}
inline void RegWriteStringList(Store& store, std::string_view keyPath,
                               const std::vector<std::string>& source) {
    RegWriteStringList(Key(store, std::string(keyPath)), source);
}

}  // namespace fenmar::store
