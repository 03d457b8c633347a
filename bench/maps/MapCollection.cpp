#include "MapCollection.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "maps/Pk3Scan.h"
#ifdef FENMAR_BENCH_LIBZIP
#include <zip.h>
#endif

namespace fenmar::bench {

namespace {

constexpr std::uint32_t kHeaderSize = 4 + 15 * 8;

void PutInt32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The header and entities of one map; the rest of its kMapSize bytes are left as a hole.
std::string MapStart(std::size_t index) {
    const std::string entities =
        "{\n\"classname\" \"worldspawn\"\n\"wad\" \"gfx/base.wad\"\n"
        "\"message\" \"Generated map number " +
        std::to_string(index) + "\"\n\"worldtype\" \"2\"\n}\n";
    std::string bytes(kHeaderSize + entities.size() + 256, '\0');
    PutInt32(bytes, 0, 29);
    PutInt32(bytes, 4, kHeaderSize);
    PutInt32(bytes, 8, static_cast<std::uint32_t>(entities.size() + 1));
    bytes.replace(kHeaderSize, entities.size(), entities);
    return bytes;
}

std::string MapName(std::size_t index) {
    return "map" + std::to_string(index);
}

struct Owned : MapCollection {
    ~Owned() {
        std::error_code ignored;
        std::filesystem::remove_all(quakeDir, ignored);
    }
};

// The same maps deflated into a zip, written in rounds so that few are held in memory.
void WritePk3(Owned& c) {
#ifdef FENMAR_BENCH_LIBZIP
    const std::string path = c.patchDir + "/maps.pk3";
    constexpr std::size_t kRound = 500;
    for (std::size_t first = 0; first < kMapCount; first += kRound) {
        int code = 0;
        zip_t* archive = zip_open(path.c_str(), ZIP_CREATE, &code);
        if (archive == nullptr) {
            return;
        }
        std::vector<std::string> maps;
        maps.reserve(kRound);  // the buffers must stay put until the archive is closed
        for (std::size_t i = first; i < first + kRound && i < kMapCount; ++i) {
            std::string map = MapStart(i);
            map.resize(kMapSize, '\0');
            maps.push_back(std::move(map));
            const std::string name = "maps/" + MapName(i) + ".bsp";
            zip_source_t* source = zip_source_buffer(archive, maps.back().data(), kMapSize, 0);
            zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_RAW);
        }
        if (zip_close(archive) != 0) {
            zip_discard(archive);
            return;
        }
    }
    c.pk3Path = path;
#else
    (void)c;
#endif
}

void Generate(Owned& c) {
    namespace fs = std::filesystem;
    std::random_device seed;
    const fs::path root =
        fs::temp_directory_path() / ("fenmar-bench-maps-" + std::to_string(seed()));
    fs::create_directories(root / "id1" / "maps");
    fs::create_directories(root / "bench");
    c.quakeDir = root.string();
    c.looseDir = (root / "id1" / "maps").string();
    c.patchDir = (root / "bench").string();
    c.pakPath = (root / "bench" / "pak0.pak").string();

    for (std::size_t i = 0; i < kMapCount; ++i) {
        const fs::path file = root / "id1" / "maps" / (MapName(i) + ".bsp");
        {
            std::ofstream out(file, std::ios::binary);
            const std::string start = MapStart(i);
            out.write(start.data(), static_cast<std::streamsize>(start.size()));
        }
        fs::resize_file(file, kMapSize);
    }

    std::ofstream pak(c.pakPath, std::ios::binary);
    std::string header(12, '\0');
    header.replace(0, 4, "PACK");
    const std::uint32_t dirOffset = static_cast<std::uint32_t>(12 + kMapCount * kMapSize);
    PutInt32(header, 4, dirOffset);
    PutInt32(header, 8, static_cast<std::uint32_t>(kMapCount * 64));
    pak.write(header.data(), 12);
    std::string directory;
    for (std::size_t i = 0; i < kMapCount; ++i) {
        const auto position = static_cast<std::uint32_t>(12 + i * kMapSize);
        pak.seekp(position);
        const std::string start = MapStart(i);
        pak.write(start.data(), static_cast<std::streamsize>(start.size()));
        std::string entry(64, '\0');
        const std::string name = "maps/" + MapName(i) + ".bsp";
        entry.replace(0, name.size(), name);
        PutInt32(entry, 56, position);
        PutInt32(entry, 60, static_cast<std::uint32_t>(kMapSize));
        directory += entry;
    }
    pak.seekp(dirOffset);
    pak.write(directory.data(), static_cast<std::streamsize>(directory.size()));
    WritePk3(c);
}

}  // namespace

const MapCollection& Collection() {
    static Owned collection;
    if (collection.quakeDir.empty()) {
        Generate(collection);
    }
    return collection;
}

}  // namespace fenmar::bench
