#pragma once
// Lists the maps of a directory or of a PAK archive, each with its title.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "maps/BinaryReader.h"
#include "maps/BspMessage.h"

namespace fenmar::maps {

// One row of a map list.
struct MapEntry {
    std::string name;         // file name without extension, lower case
    std::string description;  // the title, kNoDescription or kNotScanned
    // A loose map file below the size threshold, listed unread (see ScanOptions::keepSmall).
    bool small = false;
    bool inPk3 = false;  // found in a PK3 archive

    bool operator==(const MapEntry&) const = default;
};

struct ScanOptions {
    std::int32_t minBSPSize = 20;  // kilobytes; smaller files are no maps
    bool dontScanBSPMsgs = false;  // open no map file; every title kNotScanned
    // Loose map files below the threshold are listed too, marked `small`, with no title and
    // never opened. (Archives keep dropping theirs: there they are the game's models.)
    bool keepSmall = false;
    // Bytes beyond the title windows per folder or archive (see ReadBSPMessage).
    std::size_t extensionBudget = kScanExtensionBudget;
};

// The outcome of a scan. An I/O error ends it: `error` holds the text for the user and
// `entries` what was found before the failing file.
struct MapScan {
    std::vector<MapEntry> entries;
    bool found = false;  // the directory exists and holds at least one "*.bsp" (any size)
    std::string error;
    std::string errorPath;  // the file or directory the error came from, where known
    // Some title was cut short when a budget ran out: the list is not to be remembered as final.
    bool titlesCut = false;

    bool Failed() const { return !error.empty(); }
};

// Names matched without regard to case: "*.bsp" and "pak*.pak".
bool IsBspName(std::string_view name);
bool IsPakName(std::string_view name);

// The maps of `directory`, in the order the file system lists them.
MapScan ScanMapDirectory(const std::string& directory, const ScanOptions& options);

// The map entries of the PAK archive at `path` (entries below "maps/"). `found` is true once
// the archive's header was read.
MapScan ScanPakFile(const std::string& path, const ScanOptions& options);
// The same over any source; throws ReadError, keeping what was found in `entries`. Sets
// `*titlesCut` when a title was cut short by the budget.
void ScanPak(BinaryReader& reader, const ScanOptions& options, std::vector<MapEntry>& entries,
             bool* titlesCut = nullptr);

// The "pak*.pak" archives of `directory`, in the order the file system lists them. `found` is
// true when the directory exists and holds at least one; entries carry the archive names in
// `name` (as spelled on disk) and nothing in `description`.
MapScan FindPakFiles(const std::string& directory);

// The subdirectory `name` of `dir` however its case is spelled on disk (JoinPath when none).
std::string SubdirectoryIgnoringCase(const std::string& dir, std::string_view name);

}  // namespace fenmar::maps
