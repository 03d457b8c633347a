#include "addons/Install.h"

#include <QCryptographicHash>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "addons/Download.h"
#include "addons/InstallRecord.h"
#include "addons/Installed.h"
#include "addons/ZipReader.h"
#include "platform/FileSystem.h"

namespace fenmar::addons {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string Full(const std::string& quakeDir, const std::string& relative) {
    return platform::JoinPath(quakeDir, relative);
}

// Maps the zip's folder names onto the folders on disk, ignoring case; remembers what it
// found so that each folder is listed once.
class DiskNames {
public:
    explicit DiskNames(std::string quakeDir) : quakeDir_(std::move(quakeDir)) {}

    // The path as the disk spells what exists of it; `exists` for the last component, and
    // folders to be created appended to `created` (parents first, once). "" with `error`
    // when something on the way is not a folder.
    std::string Resolve(const std::string& relative, bool lastIsFolder, bool& exists,
                        std::vector<std::string>& created, std::string& error) {
        std::string resolved;
        bool parentExists = true;
        std::size_t at = 0;
        exists = false;
        while (at <= relative.size()) {
            std::size_t slash = relative.find('/', at);
            const bool last = slash == std::string::npos;
            if (last) {
                slash = relative.size();
            }
            const std::string part = relative.substr(at, slash - at);
            at = slash + 1;
            const std::string parent = resolved;
            const std::string key = Lower(parent) + '/' + Lower(part);
            const auto known = known_.find(key);
            std::string name = part;
            bool here = false;
            bool folder = false;
            if (known != known_.end()) {
                name = known->second.name;
                here = known->second.exists;
                folder = known->second.folder;
            } else if (parentExists) {
                const std::string dir = parent.empty() ? quakeDir_ : Full(quakeDir_, parent);
                std::optional<std::string> found;
                std::error_code ec;
                if (fs::exists(fs::symlink_status(Full(dir, part), ec))) {
                    found = Full(dir, part);
                } else {
                    found = platform::FindEntryIgnoringCase(dir, part);
                }
                if (found) {
                    here = true;
                    name = fs::path(*found).filename().string();
                    folder = fs::is_directory(*found, ec);
                }
                known_[key] = {name, here, folder};
            }
            resolved = parent.empty() ? name : parent + '/' + name;
            if (!last || lastIsFolder) {
                if (here && !folder) {
                    error = resolved + " is in the way of a folder the add-on needs";
                    return {};
                }
                if (!here && createdSet_.insert(Lower(resolved)).second) {
                    created.push_back(resolved);
                    known_[key] = {name, false, true};
                }
                parentExists = parentExists && here;
            } else {
                if (here && folder) {
                    error = resolved + " is a folder where the add-on has a file";
                    return {};
                }
                exists = here;
            }
            if (last) {
                break;
            }
        }
        return resolved;
    }

private:
    struct Known {
        std::string name;
        bool exists = false;
        bool folder = false;
    };
    std::string quakeDir_;
    std::map<std::string, Known> known_;
    std::set<std::string> createdSet_;
};

bool Unchanged(const std::string& path, const RecordedFile& file) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || static_cast<std::int64_t>(size) != file.size) {
        return false;
    }
    return Sha256OfFile(path) == file.sha256;
}

std::string TemporaryName(const std::string& target, std::string_view kind) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    const fs::path path(target);
    for (;;) {
        const std::string name = "." + path.filename().string() + ".fenmar-" +
                                 std::to_string(random() % 1000000000) + std::string(kind);
        const std::string candidate = (path.parent_path() / name).string();
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) {
            return candidate;
        }
    }
}

// Everything an install changed, so that a failure can put it back.
class Undo {
public:
    ~Undo() {
        if (!done_) {
            Rollback();
        }
    }
    void CreatedFolder(std::string path) { folders_.push_back(std::move(path)); }
    void Temporary(std::string path) { temporaries_.push_back(std::move(path)); }
    void Placed(std::string target, std::string backup) {
        placed_.emplace_back(std::move(target), std::move(backup));
    }
    void Keep() {
        done_ = true;
        std::error_code ec;
        for (const auto& [target, backup] : placed_) {
            if (!backup.empty()) {
                fs::remove(backup, ec);
            }
        }
    }
    void Rollback() {
        done_ = true;
        std::error_code ec;
        for (auto it = placed_.rbegin(); it != placed_.rend(); ++it) {
            fs::remove(it->first, ec);
            if (!it->second.empty()) {
                fs::rename(it->second, it->first, ec);
            }
        }
        for (const std::string& temporary : temporaries_) {
            fs::remove(temporary, ec);
        }
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
            fs::remove(*it, ec);  // only if empty
        }
    }

private:
    bool done_ = false;
    std::vector<std::string> folders_;
    std::vector<std::string> temporaries_;
    std::vector<std::pair<std::string, std::string>> placed_;
};

struct Written {
    std::string temporary;
    std::string sha256;
};

}  // namespace

bool InstallPlan::AllPresent() const {
    for (const PlannedFile& file : files) {
        if (!file.exists) {
            return false;
        }
    }
    return !files.empty();
}

InstallPlan PlanInstall(const std::string& quakeDir, const AddOn& addOn, const std::string& zipPath,
                        const UnpackLimits& limits) {
    InstallPlan plan;
    plan.quakeDir = quakeDir;
    plan.zipPath = zipPath;
    plan.id = addOn.id;
    if (!ZipSupported()) {
        plan.error = std::string(kZipUnsupported);
        return plan;
    }
    if (!IsPlainFileName(addOn.id)) {
        plan.error = "The add-on id is not a plain file name: " + addOn.id;
        return plan;
    }
    if (!platform::DirectoryExists(quakeDir)) {
        plan.error = "The Quake directory does not exist: " + quakeDir;
        return plan;
    }
    std::string base;
    if (!addOn.zipBaseDir.empty()) {
        bool folder = false;
        std::string error;
        base = CleanEntryName(addOn.zipBaseDir + "/", folder, error, limits);
        if (!error.empty()) {
            plan.error = "The catalogue's folder for " + addOn.id + " is unsafe: " + error;
            return plan;
        }
    }
    const ZipListing listing = InspectZip(zipPath, limits);
    if (!listing.Ok()) {
        plan.error = "The zip of " + addOn.id + " is refused: " + listing.error;
        return plan;
    }
    const std::optional<InstallRecord> own = ReadInstallRecord(quakeDir, addOn.id);
    const std::vector<InstallRecord> records = ReadInstallRecords(quakeDir);
    DiskNames disk(quakeDir);
    for (const ZipEntry& entry : listing.entries) {
        const std::string relative = base.empty() ? entry.name : base + '/' + entry.name;
        const std::string first = relative.substr(0, relative.find('/'));
        if (platform::EqualsIgnoringAsciiCase(first, kRecordFolder)) {
            plan.error = "The zip of " + addOn.id + " writes into Fenmar's own records";
            return plan;
        }
        bool exists = false;
        std::string error;
        const std::string resolved =
            disk.Resolve(relative, entry.directory, exists, plan.newDirectories, error);
        if (!error.empty()) {
            plan.error = "Cannot install " + addOn.id + ": " + error;
            return plan;
        }
        if (entry.directory) {
            continue;
        }
        plan.files.push_back({resolved, entry.index, entry.size, exists});
        plan.totalBytes += entry.size;
        if (!exists) {
            continue;
        }
        const auto lists = [&](const InstallRecord& record) -> const RecordedFile* {
            for (const RecordedFile& file : record.files) {
                if (Lower(file.path) == Lower(resolved)) {
                    return &file;
                }
            }
            return nullptr;
        };
        if (own) {
            const RecordedFile* file = lists(*own);
            if (file != nullptr && Unchanged(Full(quakeDir, resolved), *file)) {
                continue;
            }
        }
        Conflict conflict{resolved, {}};
        for (const InstallRecord& record : records) {
            if (lists(record) != nullptr) {
                conflict.owner = record.id;
            }
        }
        plan.conflicts.push_back(std::move(conflict));
    }
    return plan;
}

InstallResult Install(const InstallPlan& plan, bool allowOverwrite,
                      const InstallProgress& progress) {
    InstallResult result;
    if (!plan.Ok()) {
        result.error = plan.error;
        return result;
    }
    if (!plan.conflicts.empty() && !allowOverwrite) {
        result.error = std::to_string(plan.conflicts.size()) +
                       " file(s) would be overwritten that are not " + plan.id + "'s own, " +
                       plan.conflicts.front().path + " first";
        return result;
    }
    detail::ZipReader zip(plan.zipPath);
    if (!zip.IsOpen()) {
        result.error = "Cannot open the zip of " + plan.id + ": " + zip.Error();
        return result;
    }
    Undo undo;
    std::error_code ec;
    for (const std::string& folder : plan.newDirectories) {
        const std::string full = Full(plan.quakeDir, folder);
        if (fs::create_directory(full, ec)) {
            undo.CreatedFolder(full);
        } else if (ec || !fs::is_directory(full, ec)) {
            result.error = "Cannot create the folder " + full;
            return result;
        }
    }
    // Inflate everything beside its place.
    std::vector<Written> written;
    written.reserve(plan.files.size());
    std::uint64_t done = 0;
    for (const PlannedFile& file : plan.files) {
        const std::string target = Full(plan.quakeDir, file.path);
        Written item{TemporaryName(target, ".part"), {}};
        undo.Temporary(item.temporary);
        std::ofstream out(item.temporary, std::ios::binary | std::ios::trunc);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        bool cancelled = false;
        const bool ok =
            out && zip.Extract(file.zipIndex, file.size, [&](const char* data, std::size_t count) {
                out.write(data, static_cast<std::streamsize>(count));
                hash.addData(QByteArrayView(data, static_cast<qsizetype>(count)));
                done += count;
                if (progress && !progress(done, plan.totalBytes)) {
                    cancelled = true;
                    return false;
                }
                return static_cast<bool>(out);
            });
        out.close();
        if (cancelled) {
            result.cancelled = true;
            result.error = "The install of " + plan.id + " was cancelled";
            return result;
        }
        if (!ok || out.fail()) {
            result.error = "Cannot unpack " + file.path + " of " + plan.id + ": " +
                           (zip.Error().empty() ? "cannot write " + item.temporary : zip.Error());
            return result;
        }
        item.sha256 = hash.result().toHex().toStdString();
        written.push_back(std::move(item));
    }
    // Rename everything in; a file that appeared meanwhile is not overwritten unasked.
    std::set<std::string> conflicting;
    for (const Conflict& conflict : plan.conflicts) {
        conflicting.insert(conflict.path);
    }
    InstallRecord record;
    record.id = plan.id;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const PlannedFile& file = plan.files[i];
        const std::string target = Full(plan.quakeDir, file.path);
        std::string backup;
        if (fs::exists(fs::symlink_status(target, ec))) {
            if (!file.exists && !allowOverwrite) {
                result.error = target + " appeared while " + plan.id + " was unpacked";
                return result;
            }
            backup = TemporaryName(target, ".old");
            fs::rename(target, backup, ec);
            if (ec) {
                result.error = "Cannot replace " + target;
                return result;
            }
        }
        fs::rename(written[i].temporary, target, ec);
        undo.Placed(target, backup);
        if (ec) {
            result.error = "Cannot put " + target + " in place";
            return result;
        }
        record.files.push_back({file.path, written[i].sha256, static_cast<std::int64_t>(file.size),
                                ModifiedTicks(target)});
    }
    // The record: this install's files and folders, and what an earlier install of the same
    // release left that is still as it put it.
    std::set<std::string> listed;
    for (const RecordedFile& file : record.files) {
        listed.insert(Lower(file.path));
    }
    if (const std::optional<InstallRecord> earlier = ReadInstallRecord(plan.quakeDir, plan.id)) {
        record.createdDirectories = earlier->createdDirectories;
        for (const RecordedFile& file : earlier->files) {
            if (listed.count(Lower(file.path)) == 0 &&
                Unchanged(Full(plan.quakeDir, file.path), file)) {
                record.files.insert(record.files.begin(), file);
            }
        }
    }
    for (const std::string& folder : plan.newDirectories) {
        record.createdDirectories.push_back(folder);
    }
    record.sequence = NextSequence(plan.quakeDir);
    std::string error;
    if (!WriteInstallRecord(plan.quakeDir, record, &error)) {
        result.error = error;
        return result;
    }
    undo.Keep();
    for (const PlannedFile& file : plan.files) {
        result.files.push_back(file.path);
    }
    return result;
}

}  // namespace fenmar::addons
