#include "maps/MapScan.h"

#include <algorithm>
#include <array>
#include <optional>

#include "maps/BspMessage.h"
#include "platform/FileSystem.h"

namespace fenmar::maps {

namespace {

constexpr std::size_t kPakEntrySize = 64;
constexpr std::size_t kPakNameSize = 56;
constexpr std::size_t kPakEntriesPerRead = 1024;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasPrefixIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

bool HasSuffixIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           HasPrefixIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

std::int64_t MinimumBytes(const ScanOptions& options) {
    return static_cast<std::int64_t>(options.minBSPSize) * 1024;
}

// Lists a loose map below the threshold when the options ask for those.
void KeepSmall(const ScanOptions& options, MapEntry entry, MapScan& scan) {
    if (options.keepSmall) {
        entry.small = true;
        scan.entries.push_back(std::move(entry));
    }
}

// Reads the PAK directory in blocks and hands each 64-byte entry to `visit`.
template <typename Visit>
void ForEachPakEntry(BinaryReader& reader, Visit visit) {
    const std::int32_t dirOffset = reader.ReadInt32(4);
    const std::int32_t dirLength = reader.ReadInt32(8);
    const std::int64_t count = dirLength / static_cast<std::int32_t>(kPakEntrySize);
    std::vector<std::uint8_t> block;
    for (std::int64_t first = 0; first < count;) {
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(count - first, static_cast<std::int64_t>(kPakEntriesPerRead)));
        block.resize(n * kPakEntrySize);
        const std::int64_t at = dirOffset + first * static_cast<std::int64_t>(kPakEntrySize);
        const std::size_t got = reader.ReadSome(at, block);
        const std::size_t whole = got / kPakEntrySize;
        for (std::size_t i = 0; i < whole; ++i) {
            visit(std::span<const std::uint8_t>(block).subspan(i * kPakEntrySize, kPakEntrySize));
        }
        if (whole < n) {
            throw ReadError(kReadBeyondEnd);
        }
        first += static_cast<std::int64_t>(n);
    }
}

}  // namespace

bool IsBspName(std::string_view name) {
    return HasSuffixIgnoringCase(name, ".bsp");
}

bool IsPakName(std::string_view name) {
    return name.size() >= 7 && HasPrefixIgnoringCase(name, "pak") &&
           HasSuffixIgnoringCase(name, ".pak");
}

MapScan ScanMapDirectory(const std::string& directory, const ScanOptions& options) {
    MapScan scan;
    // Sizes are taken from the open file when titles are read: cheaper than asking by name.
    const platform::FileListing listing =
        platform::ListFiles(directory, IsBspName, options.dontScanBSPMsgs);
    scan.found = listing.exists && !listing.files.empty();
    if (!listing.error.empty()) {
        scan.error = listing.error;
        scan.errorPath = directory;
        return scan;
    }
    std::size_t budget = options.extensionBudget;
    for (const platform::FileInfo& file : listing.files) {
        const std::string path = platform::JoinPath(directory, file.name);
        MapEntry entry{ToLowerAscii(file.name.substr(0, file.name.find('.'))), {}};
        if (options.dontScanBSPMsgs) {
            if (file.size < MinimumBytes(options)) {
                KeepSmall(options, std::move(entry), scan);
                continue;
            }
            entry.description = kNotScanned;
            scan.entries.push_back(std::move(entry));
            continue;
        }
        try {
            std::optional<FileSource> source;
            try {
                source.emplace(path);
            } catch (const ReadError&) {
                // A file below the threshold is no map, whether it can be opened or not.
                const std::int64_t size = file.size >= 0 ? file.size : platform::FileSizeOf(path);
                if (size >= 0 && size < MinimumBytes(options)) {
                    KeepSmall(options, std::move(entry), scan);
                    continue;
                }
                throw;
            }
            const std::int64_t size = file.size >= 0 ? file.size : source->Size();
            if (size < MinimumBytes(options)) {
                KeepSmall(options, std::move(entry), scan);
                continue;
            }
            BinaryReader reader(*source);
            bool cut = false;
            entry.description = ReadBSPMessage(reader, 0, budget, &cut);
            scan.titlesCut = scan.titlesCut || cut;
        } catch (const ReadError& e) {
            scan.error = e.what();
            scan.errorPath = path;
            return scan;
        }
        scan.entries.push_back(std::move(entry));
    }
    return scan;
}

void ScanPak(BinaryReader& reader, const ScanOptions& options, std::vector<MapEntry>& entries,
             bool* titlesCut) {
    std::size_t budget = options.extensionBudget;
    ForEachPakEntry(reader, [&](std::span<const std::uint8_t> raw) {
        const std::int32_t position = Int32At(raw, kPakNameSize);
        const std::int32_t length = Int32At(raw, kPakNameSize + 4);
        if (length < MinimumBytes(options)) {
            return;
        }
        const auto nameBytes = raw.first(kPakNameSize);
        const auto nul = std::find(nameBytes.begin(), nameBytes.end(), std::uint8_t{0});
        const std::string name = ToLowerAscii(std::string(nameBytes.begin(), nul));
        if (name.compare(0, 5, "maps/") != 0) {
            return;
        }
        std::string mapName = name.substr(5);
        mapName.resize(std::min(mapName.size(), mapName.find('.')));
        MapEntry entry{std::move(mapName), {}};
        bool cut = false;
        entry.description = options.dontScanBSPMsgs
                                ? std::string(kNotScanned)
                                : ReadBSPMessage(reader, position, budget, &cut);
        if (cut && titlesCut != nullptr) {
            *titlesCut = true;
        }
        entries.push_back(std::move(entry));
    });
}

MapScan ScanPakFile(const std::string& path, const ScanOptions& options) {
    MapScan scan;
    try {
        FileSource source(path);
        BinaryReader reader(source);
        scan.found = true;
        ScanPak(reader, options, scan.entries, &scan.titlesCut);
    } catch (const ReadError& e) {
        scan.error = e.what();
    }
    return scan;
}

MapScan FindPakFiles(const std::string& directory) {
    MapScan scan;
    platform::FileListing listing = platform::ListFiles(directory, IsPakName);
    scan.found = listing.exists && !listing.files.empty();
    scan.error = std::move(listing.error);
    for (auto& file : listing.files) {
        scan.entries.push_back({std::move(file.name), {}});
    }
    return scan;
}

std::string SubdirectoryIgnoringCase(const std::string& dir, std::string_view name) {
    return platform::ResolveIgnoringCase(dir, name);
}

}  // namespace fenmar::maps
