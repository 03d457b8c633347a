#include "addons/Installed.h"

#include <filesystem>
#include <map>

#include "platform/FileSystem.h"

namespace fenmar::addons {

namespace fs = std::filesystem;

namespace {

// As installed: same size, and the same content; `quick` takes the same time for the same
// content (an edit within the clock's resolution that keeps the size goes unseen: good
// enough for showing a state, not for deleting).
bool AsInstalled(const std::string& path, const RecordedFile& file, bool quick) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || static_cast<std::int64_t>(size) != file.size) {
        return false;
    }
    return (quick && ModifiedTicks(path) == file.modified) || Sha256OfFile(path) == file.sha256;
}

}  // namespace

// The entries of the folders looked at, by lower-cased name: judging 2,000 releases lists
// each folder once.
class FolderNames {
public:
    std::optional<std::string> Find(const std::string& dir, const std::string& name) {
        auto [it, added] = folders_.try_emplace(dir);
        if (added) {
            std::error_code ec;
            for (fs::directory_iterator entry(dir, ec), end; !ec && entry != end;
                 entry.increment(ec)) {
                const std::string actual = entry->path().filename().string();
                it->second.try_emplace(Lower(actual), actual);
            }
        }
        const auto found = it->second.find(Lower(name));
        if (found == it->second.end()) {
            return std::nullopt;
        }
        return platform::JoinPath(dir, found->second);
    }

private:
    static std::string Lower(std::string text) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return text;
    }
    std::map<std::string, std::map<std::string, std::string>> folders_;
};

namespace {

std::optional<std::string> FindPath(FolderNames& names, const std::string& quakeDir,
                                    const std::string& relative) {
    std::string dir = quakeDir;
    std::size_t at = 0;
    while (at <= relative.size()) {
        std::size_t slash = relative.find('/', at);
        if (slash == std::string::npos) {
            slash = relative.size();
        }
        const std::string part = relative.substr(at, slash - at);
        at = slash + 1;
        if (part.empty()) {
            continue;
        }
        std::optional<std::string> found = names.Find(dir, part);
        if (!found) {
            return std::nullopt;
        }
        dir = std::move(*found);
    }
    return dir;
}

bool StartMapPresent(FolderNames& names, const std::string& quakeDir, const std::string& baseDir,
                     const std::string& map) {
    const std::string last = baseDir.substr(baseDir.rfind('/') + 1);
    const std::string folder = platform::EqualsIgnoringAsciiCase(last, "maps")
                                   ? baseDir
                                   : (baseDir.empty() ? "maps" : baseDir + "/maps");
    const std::optional<std::string> found = FindPath(names, quakeDir, folder + "/" + map + ".bsp");
    return found && platform::FileExists(*found);
}

bool ByHand(FolderNames& names, const std::string& quakeDir, const AddOn& addOn) {
    if (addOn.zipBaseDir.find("..") != std::string::npos) {
        return false;
    }
    if (addOn.startMapsGiven || addOn.type != AddOnType::Mod) {
        for (const std::string& map : addOn.startMaps) {
            if (map.find_first_of("/\\:") != std::string::npos || map == ".." ||
                !StartMapPresent(names, quakeDir, addOn.zipBaseDir, map)) {
                return false;
            }
        }
        return !addOn.startMaps.empty();
    }
    const std::string first = addOn.zipBaseDir.substr(0, addOn.zipBaseDir.find('/'));
    if (first.empty() || platform::EqualsIgnoringAsciiCase(first, "id1")) {
        return false;
    }
    const std::optional<std::string> folder = FindPath(names, quakeDir, first);
    std::error_code ec;
    return folder && fs::is_directory(*folder, ec) && !fs::is_empty(*folder, ec) && !ec;
}

AddOnStatus Status(FolderNames& names, const std::string& quakeDir, const AddOn& addOn,
                   const InstallRecord* record) {
    AddOnStatus status;
    if (record == nullptr) {
        if (ByHand(names, quakeDir, addOn)) {
            status.state = AddOnState::Installed;
            status.byHand = true;
        }
        return status;
    }
    status.state = AddOnState::Installed;
    for (const RecordedFile& file : record->files) {
        if (!AsInstalled(platform::JoinPath(quakeDir, file.path), file, true)) {
            status.changedFiles.push_back(file.path);
            status.state = AddOnState::Changed;
        }
    }
    return status;
}

}  // namespace

std::string_view StateName(AddOnState state) {
    switch (state) {
        case AddOnState::Installed:
            return "installed";
        case AddOnState::Changed:
            return "changed";
        case AddOnState::NotInstalled:
            break;
    }
    return "-";
}

AddOnStatus StatusOf(const std::string& quakeDir, const AddOn& addOn, const InstallRecord* record) {
    FolderNames names;
    return Status(names, quakeDir, addOn, record);
}

InstalledAddOns::InstalledAddOns(std::string quakeDir)
    : quakeDir_(std::move(quakeDir)),
      records_(ReadInstallRecords(quakeDir_)),
      names_(std::make_unique<FolderNames>()) {}

InstalledAddOns::~InstalledAddOns() = default;
InstalledAddOns::InstalledAddOns(InstalledAddOns&&) noexcept = default;
InstalledAddOns& InstalledAddOns::operator=(InstalledAddOns&&) noexcept = default;

const InstallRecord* InstalledAddOns::Record(std::string_view id) const {
    for (const InstallRecord& record : records_) {
        if (platform::EqualsIgnoringAsciiCase(record.id, id)) {
            return &record;
        }
    }
    return nullptr;
}

AddOnStatus InstalledAddOns::StatusOf(const AddOn& addOn) const {
    return Status(*names_, quakeDir_, addOn, Record(addOn.id));
}

RemoveResult RemoveAddOn(const std::string& quakeDir, std::string_view id) {
    RemoveResult result;
    std::optional<InstallRecord> record = ReadInstallRecord(quakeDir, id);
    if (!record) {
        result.error = std::string(id) + " is not recorded as installed in " + quakeDir;
        return result;
    }
    std::vector<RecordedFile> left;
    std::error_code ec;
    for (auto it = record->files.rbegin(); it != record->files.rend(); ++it) {
        const std::string path = platform::JoinPath(quakeDir, it->path);
        if (!fs::exists(fs::symlink_status(path, ec))) {
            result.missing.push_back(it->path);
        } else if (!fs::is_regular_file(fs::symlink_status(path, ec)) ||
                   !AsInstalled(path, *it, false)) {
            result.kept.push_back(it->path);
        } else if (fs::remove(path, ec) && !ec) {
            result.removed.push_back(it->path);
        } else {
            left.insert(left.begin(), *it);
            if (result.error.empty()) {
                result.error = "Cannot delete " + path;
            }
        }
    }
    std::vector<std::string> folders;
    for (auto it = record->createdDirectories.rbegin(); it != record->createdDirectories.rend();
         ++it) {
        const std::string path = platform::JoinPath(quakeDir, *it);
        if (fs::is_directory(fs::symlink_status(path, ec)) && fs::is_empty(path, ec) && !ec &&
            fs::remove(path, ec) && !ec) {
            result.removedDirectories.push_back(*it);
        } else if (fs::exists(fs::symlink_status(path, ec))) {
            folders.insert(folders.begin(), *it);
        }
    }
    if (left.empty()) {
        DeleteInstallRecord(quakeDir, record->id);
    } else {
        // What could not be deleted stays recorded, so that removing can be tried again.
        record->files = std::move(left);
        record->createdDirectories = std::move(folders);
        WriteInstallRecord(quakeDir, *record);
    }
    return result;
}

}  // namespace fenmar::addons
