#pragma once
// Builds BSP files and PAK archives in memory, laid out as the game writes them.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fenmar::test {

inline void PutInt32(std::string& bytes, std::size_t at, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    }
}

// A BSP whose entities lump holds `entities` (and a closing NUL), padded with zeros to `size`.
inline std::string MakeBsp(const std::string& entities, std::size_t size = 20480) {
    constexpr std::size_t kHeader = 4 + 15 * 8;
    std::string bytes(std::max(size, kHeader + entities.size() + 1), '\0');
    PutInt32(bytes, 0, 29);
    PutInt32(bytes, 4, static_cast<std::int32_t>(kHeader));
    PutInt32(bytes, 8, static_cast<std::int32_t>(entities.size() + 1));
    bytes.replace(kHeader, entities.size(), entities);
    return bytes;
}

inline std::string WorldWithTitle(const std::string& title) {
    return "{\n\"classname\" \"worldspawn\"\n\"message\" \"" + title + "\"\n}\n";
}

struct PakItem {
    std::string name;  // up to 56 bytes; 56 leaves no room for the NUL
    std::string data;
    std::int32_t lengthOverride = -1;  // stored instead of data.size() when >= 0
};

// A PAK archive: header, the entries' data, then the directory.
inline std::string MakePak(const std::vector<PakItem>& items) {
    std::string bytes(12, '\0');
    bytes.replace(0, 4, "PACK");
    std::vector<std::pair<std::int32_t, std::int32_t>> where;
    for (const auto& item : items) {
        const auto length = item.lengthOverride >= 0 ? item.lengthOverride
                                                     : static_cast<std::int32_t>(item.data.size());
        where.emplace_back(static_cast<std::int32_t>(bytes.size()), length);
        bytes += item.data;
    }
    PutInt32(bytes, 4, static_cast<std::int32_t>(bytes.size()));
    PutInt32(bytes, 8, static_cast<std::int32_t>(items.size() * 64));
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::string entry(64, '\0');
        entry.replace(0, std::min<std::size_t>(56, items[i].name.size()), items[i].name);
        PutInt32(entry, 56, where[i].first);
        PutInt32(entry, 60, where[i].second);
        bytes += entry;
    }
    return bytes;
}

}  // namespace fenmar::test
