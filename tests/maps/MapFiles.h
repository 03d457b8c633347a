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

inline void PutInt16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

inline std::uint32_t Crc32(const std::string& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// The fields a zip entry's local header and its central directory record share, in this
// order from `at`: the CRC-32, both sizes (equal when stored) and the length of the name.
inline void PutZipEntryFields(std::string& header, std::size_t at, const std::string& name,
                              const std::string& data) {
    PutInt32(header, at, static_cast<std::int32_t>(Crc32(data)));
    PutInt32(header, at + 4, static_cast<std::int32_t>(data.size()));
    PutInt32(header, at + 8, static_cast<std::int32_t>(data.size()));
    PutInt16(header, at + 12, static_cast<std::uint16_t>(name.size()));
}

// A zip archive with stored (uncompressed) entries, written without any zip library.
inline std::string MakeStoredZip(const std::vector<std::pair<std::string, std::string>>& items) {
    std::string out;
    std::string central;
    for (const auto& [name, data] : items) {
        const auto offset = static_cast<std::int32_t>(out.size());
        std::string local(30, '\0');
        PutInt32(local, 0, 0x04034b50);
        PutInt16(local, 4, 20);
        PutZipEntryFields(local, 14, name, data);
        out += local + name + data;
        std::string entry(46, '\0');
        PutInt32(entry, 0, 0x02014b50);
        PutInt16(entry, 4, 20);
        PutInt16(entry, 6, 20);
        PutZipEntryFields(entry, 16, name, data);
        PutInt32(entry, 42, offset);
        central += entry + name;
    }
    std::string end(22, '\0');
    PutInt32(end, 0, 0x06054b50);
    PutInt16(end, 8, static_cast<std::uint16_t>(items.size()));
    PutInt16(end, 10, static_cast<std::uint16_t>(items.size()));
    PutInt32(end, 12, static_cast<std::int32_t>(central.size()));
    PutInt32(end, 16, static_cast<std::int32_t>(out.size()));
    return out + central + end;
}

}  // namespace fenmar::test
