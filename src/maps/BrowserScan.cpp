#include "maps/BrowserScan.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <unordered_map>

#include "maps/BspMessage.h"
#include "maps/Pk3Scan.h"
#include "platform/FileSystem.h"

namespace fenmar::maps {

namespace {

constexpr std::size_t kProgressEvery = 250;

std::string MapNameOf(const std::string& fileName) {
    std::string name = fileName.substr(0, fileName.find('.'));
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return name;
}

void Advance(ScanContext& context, std::size_t count) {
    const std::size_t before = context.done / kProgressEvery;
    context.done += count;
    if (context.progress && context.done / kProgressEvery != before) {
        context.progress(context.done);
    }
}

// The title of one loose map; nullopt when it is below the threshold after all. A key the
// listing did not give is taken from the open file, before anything is read from it.
std::optional<std::string> ReadTitle(const std::string& path, std::int64_t listedSize,
                                     std::int64_t minimum, std::size_t& budget, bool& cut,
                                     FileKey& key) {
    std::optional<FileSource> source;
    try {
        source.emplace(path);
    } catch (const ReadError&) {
        // A file below the threshold is no map, whether it can be opened or not.
        const std::int64_t size = listedSize >= 0 ? listedSize : platform::FileSizeOf(path);
        if (size >= 0 && size < minimum) {
            return std::nullopt;
        }
        throw;
    }
    std::int64_t size = listedSize;
    if (!key.Known()) {
        const platform::FileInfo info = source->Info();
        key = KeyOf(info);
        size = listedSize >= 0 ? listedSize : info.size;
    }
    if (size < 0) {
        size = source->Size();
    }
    if (size < minimum) {
        return std::nullopt;
    }
    BinaryReader reader(*source);
    return ReadBSPMessage(reader, 0, budget, &cut);
}

// Lists a loose map below the threshold when the options ask for those; it is not read.
void KeepSmall(const std::string& fileName, const ScanOptions& options, MapScan& scan) {
    if (options.keepSmall) {
        MapEntry entry{MapNameOf(fileName), {}};
        entry.small = true;
        scan.entries.push_back(std::move(entry));
    }
}

bool HasPatch(const std::string& patch) {
    return !patch.empty() && patch != "<none>";
}

// Appends the maps of the archives in `directory` that `accept` takes to `scan`.
void ScanArchivesInto(const std::string& directory, bool paksToo, const ScanOptions& options,
                      ScanContext& context, MapScan& scan) {
    ArchiveListing archives = FindArchives(directory, true);
    std::vector<std::string> present;
    for (const platform::FileInfo& file : archives.files) {
        present.push_back(file.name);
    }
    if (!paksToo) {
        std::erase_if(archives.files,
                      [](const platform::FileInfo& f) { return !IsPk3Name(f.name); });
        archives.found = !archives.files.empty();
    }
    scan.found = scan.found || archives.found;
    if (!archives.error.empty()) {
        scan.error = archives.error;
        scan.errorPath = directory;
        return;
    }
    for (const platform::FileInfo& file : archives.files) {
        if (context.Cancelled()) {
            return;
        }
        MapScan one = ScanArchiveCached(directory, file, options, context);
        scan.entries.insert(scan.entries.end(), std::make_move_iterator(one.entries.begin()),
                            std::make_move_iterator(one.entries.end()));
        scan.titlesCut = scan.titlesCut || one.titlesCut;
        if (one.Failed()) {
            scan.error = std::move(one.error);
            scan.errorPath = std::move(one.errorPath);
            return;
        }
    }
    // Every archive of the directory was seen: the rows of those gone go.
    if (context.cache != nullptr && !context.Cancelled()) {
        context.cache->PruneArchives(directory, present);
    }
}

// Marks the maps of a PK3 archive as such: not every engine reads them.
void MarkPk3(const std::string& archiveName, MapScan& scan) {
    if (IsPk3Name(archiveName)) {
        for (MapEntry& entry : scan.entries) {
            entry.inPk3 = true;
        }
    }
}

std::string Printable(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    return text;
}

}  // namespace

MapScan ScanMapDirectoryCached(const std::string& directory, const ScanOptions& options,
                               ScanContext& context) {
    if (options.dontScanBSPMsgs) {
        MapScan scan = ScanMapDirectory(directory, options);  // opens no map file
        Advance(context, scan.entries.size());
        return scan;
    }
    MapScan scan;
    std::vector<CachedFile> stored;
    if (context.cache != nullptr) {
        stored = context.cache->LoadDirectory(directory);
    }
    // Where nothing of the directory is known, every map is read anyway: the files are listed
    // by name and each one's key comes from the open file, one call to the system fewer.
    const platform::FileListing listing =
        platform::ListFiles(directory, IsBspName, !stored.empty());
    scan.found = listing.exists && !listing.files.empty();
    if (!listing.error.empty()) {
        scan.error = listing.error;
        scan.errorPath = directory;
        return scan;
    }
    std::unordered_map<std::string_view, std::size_t> known;
    known.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        known.emplace(stored[i].name, i);
    }
    const auto minimum = static_cast<std::int64_t>(options.minBSPSize) * 1024;
    std::size_t budget = options.extensionBudget;
    std::vector<std::size_t> kept;  // rows of `stored` still true
    std::vector<CachedFile> read;   // rows of the maps read now
    bool whole = true;              // every file of the directory was looked at
    scan.entries.reserve(listing.files.size());
    for (const platform::FileInfo& file : listing.files) {
        if (context.Cancelled()) {
            whole = false;
            break;
        }
        if (file.size >= 0 && file.size < minimum) {
            KeepSmall(file.name, options, scan);
            continue;
        }
        FileKey key = KeyOf(file);
        if (key.Known()) {
            const auto hit = known.find(file.name);
            if (hit != known.end() && stored[hit->second].key == key) {
                ++context.counters.cacheHits;
                scan.entries.push_back({MapNameOf(file.name), stored[hit->second].title});
                kept.push_back(hit->second);
                Advance(context, 1);
                continue;
            }
        }
        std::optional<std::string> title;
        bool cut = false;
        const std::string path = platform::JoinPath(directory, file.name);
        try {
            title = ReadTitle(path, file.size, minimum, budget, cut, key);
        } catch (const ReadError& e) {
            ++context.counters.headersRead;
            scan.error = e.what();
            scan.errorPath = path;
            whole = false;
            break;
        }
        if (!title) {
            KeepSmall(file.name, options, scan);  // below the threshold: no header was read
            continue;
        }
        ++context.counters.headersRead;
        scan.entries.push_back({MapNameOf(file.name), *title});
        scan.titlesCut = scan.titlesCut || cut;
        // A title the budget cut short is read again next time, with a budget of its own.
        if (key.Known() && !cut) {
            read.push_back({file.name, key, std::move(*title)});
        }
        Advance(context, 1);
    }
    // A full look replaces the directory's rows (files removed leave the cache too); a scan
    // that stopped early keeps what it read.
    if (context.cache != nullptr &&
        (!read.empty() || (whole && kept.size() + read.size() != stored.size()))) {
        std::vector<CachedFile> rows;
        rows.reserve(kept.size() + read.size());
        for (const std::size_t i : kept) {
            rows.push_back(std::move(stored[i]));
        }
        rows.insert(rows.end(), std::make_move_iterator(read.begin()),
                    std::make_move_iterator(read.end()));
        context.cache->StoreDirectory(directory, rows, whole);
    }
    return scan;
}

MapScan ScanArchiveCached(const std::string& directory, const platform::FileInfo& file,
                          const ScanOptions& options, ScanContext& context) {
    const FileKey key = KeyOf(file);
    const bool useCache = context.cache != nullptr && !options.dontScanBSPMsgs && key.Known();
    if (useCache) {
        if (auto entries =
                context.cache->LoadArchive(directory, file.name, key, options.minBSPSize)) {
            MapScan scan;
            scan.found = true;
            scan.entries = std::move(*entries);
            context.counters.cacheHits += scan.entries.size();
            ++context.counters.archivesCached;
            Advance(context, scan.entries.size());
            MarkPk3(file.name, scan);
            return scan;
        }
    }
    const std::string path = platform::JoinPath(directory, file.name);
    MapScan scan;
    if (IsPk3Name(file.name)) {
        Pk3Work work;
        work.cancel = context.cancel;
        scan = ScanPk3File(path, options, &work);
        context.counters.headersRead += work.headersRead;
        context.counters.bytesInflated += work.inflated;
    } else {
        scan = ScanPakFile(path, options);
        if (!options.dontScanBSPMsgs) {
            context.counters.headersRead += scan.entries.size();
        }
    }
    ++context.counters.archivesRead;
    if (scan.Failed()) {
        scan.errorPath = path;
    }
    // An archive is remembered whole or not at all.
    if (useCache && !scan.Failed() && !scan.titlesCut && !context.Cancelled()) {
        context.cache->StoreArchive(directory, file.name, key, options.minBSPSize, scan.entries);
    }
    Advance(context, scan.entries.size());
    MarkPk3(file.name, scan);
    return scan;
}

ArchiveListing FindArchives(const std::string& directory, bool withPk3) {
    const bool pk3 = withPk3 && Pk3Supported();
    platform::FileListing listing = platform::ListFiles(
        directory,
        [pk3](std::string_view name) { return IsPakName(name) || (pk3 && IsPk3Name(name)); }, true);
    ArchiveListing out;
    out.found = listing.exists && !listing.files.empty();
    out.error = std::move(listing.error);
    out.files = std::move(listing.files);
    return out;
}

bool ScanForBrowser(const BrowserRequest& request, ScanContext& context,
                    const std::function<void(BrowserList, MapScan)>& done) {
    const bool haveQuake = !request.quakePath.empty();
    const bool havePatch = haveQuake && HasPatch(request.patch);
    const std::string patchDir =
        havePatch ? platform::JoinPath(request.quakePath, request.patch) : std::string();

    // Hands one finished list on; false when the scan ends there (cancelled, or the list failed).
    const auto handOn = [&](BrowserList list, MapScan scan) {
        if (context.Cancelled()) {
            return false;
        }
        const bool failed = scan.Failed();
        done(list, std::move(scan));
        return !failed;
    };

    MapScan left;
    if (haveQuake) {
        const std::string id1 = SubdirectoryIgnoringCase(request.quakePath, "id1");
        left =
            ScanMapDirectoryCached(SubdirectoryIgnoringCase(id1, "maps"), request.options, context);
        if (!left.Failed() && !context.Cancelled()) {
            ScanArchivesInto(id1, false, request.options, context, left);
        }
    }
    if (!handOn(BrowserList::ID1, std::move(left))) {
        return false;
    }

    MapScan middle;
    if (havePatch) {
        middle = ScanMapDirectoryCached(SubdirectoryIgnoringCase(patchDir, "maps"), request.options,
                                        context);
    }
    if (!handOn(BrowserList::Patch, std::move(middle))) {
        return false;
    }

    MapScan right;
    if (havePatch) {
        ScanArchivesInto(patchDir, true, request.options, context, right);
    }
    if (!handOn(BrowserList::BuiltIn, std::move(right))) {
        return false;
    }
    if (context.cache != nullptr) {
        context.cache->PruneVanished();
    }
    return true;
}

void SortLikeBrowser(std::vector<MapEntry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const MapEntry& a, const MapEntry& b) { return a.name < b.name; });
}

int RunListMapsCommand(const std::string& quakePath, const std::string& patch,
                       const ScanOptions& options, const std::string& cacheFile, std::ostream& out,
                       std::ostream& err, const ListMapsMore& more) {
    if (quakePath.empty()) {
        err << "No Quake directory is set.\n";
        return 2;
    }
    if (!platform::DirectoryExists(quakePath)) {
        err << "The Quake directory " << Printable(quakePath) << " does not exist.\n";
        return 1;
    }
    if (HasPatch(patch)) {
        if (platform::IsAbsoluteOrClimbing(patch)) {
            err << "The patch " << Printable(patch)
                << " is no directory inside the Quake directory.\n";
            return 2;
        }
        const std::string patchDir = platform::JoinPath(quakePath, patch);
        if (!platform::DirectoryExists(patchDir)) {
            err << "The patch directory " << Printable(patchDir) << " does not exist.\n";
            return 1;
        }
    }
    const std::unique_ptr<MapCache> cache = MapCache::Open(cacheFile);
    ScanContext context;
    context.cache = cache.get();
    std::string error;
    ScanForBrowser({quakePath, patch, options}, context, [&](BrowserList list, MapScan scan) {
        SortLikeBrowser(scan.entries);
        for (const MapEntry& e : scan.entries) {
            out << Printable(e.name) << '\t' << Printable(e.description);
            if (more) {
                out << '\t' << more(list, e);  // its own tabs separate fields
            }
            out << '\n';
        }
        if (scan.Failed()) {
            error = scan.errorPath.empty() ? scan.error : scan.errorPath + ": " + scan.error;
        }
    });
    if (!error.empty()) {
        err << "Reading the maps stopped at an error: " << Printable(error) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace fenmar::maps
