#include "maps/MapDetails.h"

#include <algorithm>

#include "maps/Pk3Scan.h"
#include "platform/FileSystem.h"

namespace fenmar::maps {

namespace {

constexpr std::size_t kPakEntrySize = 64;
constexpr std::int32_t kMaxPakEntries = 1 << 20;

// The bytes of one map inside a larger file: nothing before or after it can be read.
class SliceSource : public ByteSource {
public:
    SliceSource(ByteSource& inner, std::uint64_t offset, std::uint64_t length)
        : inner_(inner), offset_(offset), length_(length) {}
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset >= length_) {
            return 0;
        }
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), length_ - offset));
        return inner_.ReadAt(offset_ + offset, out.first(n));
    }

private:
    ByteSource& inner_;
    std::uint64_t offset_;
    std::uint64_t length_;
};

std::string MapNameOfFile(std::string_view fileName) {
    std::string name(fileName.substr(0, fileName.find('.')));
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return name;
}

template <typename Names>
void AddLoose(Names& names, const std::string& directory) {
    const platform::FileListing listing = platform::ListFiles(directory, IsBspName, true);
    for (const platform::FileInfo& file : listing.files) {
        MapLocation at;
        at.key = {directory, file.name, KeyOf(file)};
        names.emplace(MapNameOfFile(file.name), std::move(at));
    }
}

// The map entries of a PAK archive's directory ("maps/NAME.bsp").
template <typename Names>
void AddPak(Names& names, const std::string& path, const platform::FileInfo& file) {
    try {
        FileSource source(path);
        BinaryReader reader(source);
        const std::int32_t dirOffset = reader.ReadInt32(4);
        const std::int32_t count = std::min(
            reader.ReadInt32(8) / static_cast<std::int32_t>(kPakEntrySize), kMaxPakEntries);
        if (count <= 0) {
            return;
        }
        std::vector<std::uint8_t> directory(static_cast<std::size_t>(count) * kPakEntrySize);
        directory.resize(reader.ReadSome(dirOffset, directory) / kPakEntrySize * kPakEntrySize);
        for (std::size_t at = 0; at < directory.size(); at += kPakEntrySize) {
            const auto raw = std::span<const std::uint8_t>(directory).subspan(at, kPakEntrySize);
            const auto nul = std::find(raw.begin(), raw.begin() + 56, std::uint8_t{0});
            std::string name(raw.begin(), nul);
            std::transform(name.begin(), name.end(), name.begin(), [](char c) {
                return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            });
            if (name.compare(0, 5, "maps/") != 0) {
                continue;
            }
            MapLocation loc;
            loc.kind = MapSourceKind::Pak;
            std::string mapName = name.substr(5);
            mapName.resize(std::min(mapName.size(), mapName.find('.')));
            loc.key = {path, mapName, KeyOf(file)};
            loc.offset = Int32At(raw, 56);
            loc.length = Int32At(raw, 60);
            names.emplace(std::move(mapName), std::move(loc));
        }
    } catch (const ReadError&) {
        // An archive that cannot be read holds no map we could show.
    }
}

// The order a game takes archives in, each later one before those taken earlier: by name,
// ignoring case, with runs of digits compared by their value (pak2 before pak10).
bool LoadedBefore(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            const std::size_t ai = i;
            const std::size_t bj = j;
            while (i < a.size() && digit(a[i])) {
                ++i;
            }
            while (j < b.size() && digit(b[j])) {
                ++j;
            }
            // Leading zeros aside, the longer run is the larger number.
            std::string_view x = a.substr(ai, i - ai);
            std::string_view y = b.substr(bj, j - bj);
            x.remove_prefix(std::min(x.find_first_not_of('0'), x.size()));
            y.remove_prefix(std::min(y.find_first_not_of('0'), y.size()));
            if (x.size() != y.size() || x != y) {
                return x.size() != y.size() ? x.size() < y.size() : x < y;
            }
            continue;
        }
        if (lower(a[i]) != lower(b[j])) {
            return lower(a[i]) < lower(b[j]);
        }
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j || (a.size() - i == b.size() - j && a < b);
}

// Adds the maps of the archives in `directory`. Where several archives hold one map, the one
// the game reads wins: the archive taken last. A map already in `names` (a loose one) stays.
template <typename Names>
void AddArchives(Names& names, const std::string& directory, bool paks, bool pk3s) {
    ArchiveListing archives = FindArchives(directory, pk3s);
    std::sort(archives.files.begin(), archives.files.end(),
              [](const platform::FileInfo& a, const platform::FileInfo& b) {
                  return LoadedBefore(a.name, b.name);
              });
    Names found;
    for (auto file = archives.files.rbegin(); file != archives.files.rend(); ++file) {
        const std::string path = platform::JoinPath(directory, file->name);
        if (IsPk3Name(file->name)) {
            if (!pk3s) {
                continue;
            }
            ScanOptions names0;
            names0.minBSPSize = 0;
            names0.dontScanBSPMsgs = true;
            for (MapEntry& e : ScanPk3File(path, names0).entries) {
                MapLocation loc;
                loc.kind = MapSourceKind::Pk3;
                loc.key = {path, e.name, KeyOf(*file)};
                found.emplace(std::move(e.name), std::move(loc));
            }
        } else if (paks) {
            AddPak(found, path, *file);
        }
    }
    names.merge(found);
}

}  // namespace

MapDetails ReadMapDetails(ByteSource& source, std::int64_t start, bool withPreview) {
    BinaryReader reader(source);
    MapDetails details;
    std::size_t budget = kGeometryBudget;
    details.summary = ReadEntitySummary(reader, start, budget);
    if (withPreview) {
        details.preview = RasterizeTopView(ReadBspTopView(reader, start, budget));
    }
    return details;
}

MapDetails ReadMapDetails(const MapLocation& location, bool withPreview) {
    switch (location.kind) {
        case MapSourceKind::Loose: {
            FileSource source(platform::JoinPath(location.key.container, location.key.entry));
            return ReadMapDetails(source, 0, withPreview);
        }
        case MapSourceKind::Pak: {
            if (location.offset < 0 || location.length < 0) {
                throw ReadError(kReadBeyondEnd);
            }
            FileSource file(location.key.container);
            SliceSource source(file, static_cast<std::uint64_t>(location.offset),
                               static_cast<std::uint64_t>(location.length));
            return ReadMapDetails(source, 0, withPreview);
        }
        case MapSourceKind::Pk3:
            break;
    }
    MapDetails details;
    if (!ReadPk3Map(location.key.container, location.key.entry, [&](ByteSource& source) {
            details = ReadMapDetails(source, 0, withPreview);
        })) {
        throw ReadError("File not found");
    }
    return details;
}

MapIndex::Names& MapIndex::ListOf(int which) {
    Names& names = lists_[which];
    if (built_[which]) {
        return names;
    }
    built_[which] = true;
    if (request_.quakePath.empty()) {
        return names;
    }
    const std::string id1 = SubdirectoryIgnoringCase(request_.quakePath, "id1");
    const bool havePatch = !request_.patch.empty() && request_.patch != "<none>";
    const std::string patchDir =
        havePatch ? platform::JoinPath(request_.quakePath, request_.patch) : std::string();
    switch (which) {
        case 0:
            AddLoose(names, SubdirectoryIgnoringCase(id1, "maps"));
            AddArchives(names, id1, false, true);
            break;
        case 1:
            if (havePatch) {
                AddLoose(names, SubdirectoryIgnoringCase(patchDir, "maps"));
            }
            break;
        case 2:
            if (havePatch) {
                AddArchives(names, patchDir, true, true);
            }
            break;
        default:
            AddArchives(names, id1, true, false);
            break;
    }
    return names;
}

const MapLocation* MapIndex::Find(BrowserList list, std::string_view name) {
    const int which = list == BrowserList::ID1 ? 0 : list == BrowserList::Patch ? 1 : 2;
    Names& names = ListOf(which);
    const auto it = names.find(name);
    return it != names.end() ? &it->second : nullptr;
}

const MapLocation* MapIndex::FindAnywhere(std::string_view name) {
    for (const int which : {2, 1, 0, 3}) {
        Names& names = ListOf(which);
        if (const auto it = names.find(name); it != names.end()) {
            return &it->second;
        }
    }
    return nullptr;
}

}  // namespace fenmar::maps
