#pragma once
// What an install put into a Quake directory, kept inside that directory: one small text file
// per release, "<Quake>/.fenmar-addons/<id>.txt", replaced whole (written beside and renamed
// in). Paths are relative to the Quake directory, '/'-separated, as the disk spells them.
//
//   fenmar-addon 1
//   id <id>
//   sequence <n>                 (orders installs: newest is highest)
//   dir <path>                   (a folder the install created)
//   file <sha256> <size> <modified> <path>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar::addons {

inline constexpr std::string_view kRecordFolder = ".fenmar-addons";

struct RecordedFile {
    std::string path;
    std::string sha256;  // lower-case hex of the content as installed
    std::int64_t size = 0;
    std::int64_t modified = 0;  // last write time as installed, in the system's ticks
};

struct InstallRecord {
    std::string id;
    std::int64_t sequence = 0;
    std::vector<std::string> createdDirectories;  // parents before children
    std::vector<RecordedFile> files;              // in the order they were installed
};

std::string RecordPath(const std::string& quakeDir, std::string_view id);
std::optional<InstallRecord> ReadInstallRecord(const std::string& quakeDir, std::string_view id);
// Every readable record of the directory, oldest install first.
std::vector<InstallRecord> ReadInstallRecords(const std::string& quakeDir);
bool WriteInstallRecord(const std::string& quakeDir, const InstallRecord& record,
                        std::string* error = nullptr);
bool DeleteInstallRecord(const std::string& quakeDir, std::string_view id);
// The next sequence number for this directory (above every record's).
std::int64_t NextSequence(const std::string& quakeDir);

// SHA-256 of a file, lower-case hex; "" when it cannot be read.
std::string Sha256OfFile(const std::string& path);
// The file's last write time in the system's ticks, 0 when it cannot be read.
std::int64_t ModifiedTicks(const std::string& path);

}  // namespace fenmar::addons
