#pragma once
// Writes zip archives with libzip for the PK3 tests, and patches their records afterwards to
// build archives no honest writer makes.

#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace fenmar::test {

struct ZipItem {
    std::string name;
    std::string data;
    bool deflate = true;
    std::uint32_t unixMode = 0;  // file type and permissions; 0 keeps the writer's default
};

inline void WriteZip(const std::filesystem::path& file, const std::vector<ZipItem>& items) {
    std::filesystem::create_directories(file.parent_path());
    int code = 0;
    zip_t* archive = zip_open(file.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        throw std::runtime_error("cannot create " + file.string());
    }
    for (const ZipItem& item : items) {
        zip_source_t* source = zip_source_buffer(archive, item.data.data(), item.data.size(), 0);
        const zip_int64_t index =
            zip_file_add(archive, item.name.c_str(), source, ZIP_FL_ENC_RAW | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            zip_discard(archive);
            throw std::runtime_error("cannot add " + item.name);
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 item.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
        if (item.unixMode != 0) {
            zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0,
                                             ZIP_OPSYS_UNIX, item.unixMode << 16);
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        throw std::runtime_error("cannot write " + file.string());
    }
}

inline std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Spit(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void Put16(std::string& bytes, std::size_t at, std::uint16_t v) {
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

inline void Put32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

// Calls `patch(bytes, localHeaderAt, centralHeaderAt)` for the record of entry `name`.
template <typename Patch>
void PatchEntry(const std::filesystem::path& file, const std::string& name, Patch patch) {
    std::string bytes = Slurp(file);
    const std::string central = std::string("PK\x01\x02", 4);
    for (std::size_t at = bytes.find(central); at != std::string::npos;
         at = bytes.find(central, at + 4)) {
        const auto nameLength =
            static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 28]) |
                                     static_cast<unsigned char>(bytes[at + 29]) << 8);
        if (bytes.compare(at + 46, nameLength, name) == 0) {
            std::uint32_t local = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                local |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 42 + i]))
                         << (8 * i);
            }
            patch(bytes, static_cast<std::size_t>(local), at);
            Spit(file, bytes);
            return;
        }
    }
    throw std::runtime_error("no entry " + name);
}

inline std::size_t Get16(const std::string& bytes, std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// Adds central directory records named `copies` that point at the bytes of entry `name`, as a
// hostile archive makes one compressed stream count many times. The archive has no comment.
inline void ShareEntry(const std::filesystem::path& file, const std::string& name,
                       const std::vector<std::string>& copies) {
    std::string record;
    PatchEntry(file, name, [&](std::string& b, std::size_t, std::size_t c) {
        record = b.substr(c, 46 + Get16(b, c + 28) + Get16(b, c + 30) + Get16(b, c + 32));
    });
    std::string bytes = Slurp(file);
    const std::size_t end = bytes.size() - 22;
    const std::size_t nameLength = Get16(record, 28);
    std::size_t added = 0;
    for (const std::string& copy : copies) {
        std::string r = record.substr(0, 46) + copy + record.substr(46 + nameLength);
        Put16(r, 28, static_cast<std::uint16_t>(copy.size()));
        bytes.insert(end + added, r);
        added += r.size();
    }
    const std::size_t eocd = end + added;
    const auto count = static_cast<std::uint16_t>(Get16(bytes, eocd + 10) + copies.size());
    Put16(bytes, eocd + 8, count);
    Put16(bytes, eocd + 10, count);
    std::uint32_t size = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        size |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[eocd + 12 + i]))
                << (8 * i);
    }
    Put32(bytes, eocd + 12, size + static_cast<std::uint32_t>(added));
    Spit(file, bytes);
}

}  // namespace fenmar::test
