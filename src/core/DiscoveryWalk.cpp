#include "core/DiscoveryWalk.h"

#include <algorithm>
#include <system_error>

#include "platform/FileSystem.h"

namespace fenmar::discovery {

namespace fs = std::filesystem;

// The entries of one directory, sorted by name; nothing when it cannot be read.
std::vector<fs::path> ListDirectory(const std::string& dir, Budget& budget) {
    std::vector<fs::path> entries;
    std::error_code error;
    fs::directory_iterator it(fs::path(dir), fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (!budget.Spend()) {
            break;
        }
        entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<Subdirectory> ListSubdirectories(const std::string& dir, Budget& budget,
                                             std::size_t& share, std::size_t perDirectory) {
    std::vector<Subdirectory> subs;
    std::error_code error;
    fs::directory_iterator it(fs::path(dir), fs::directory_options::skip_permission_denied, error);
    for (std::size_t listed = 0; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (share == 0 || listed == perDirectory || !budget.Spend()) {
            break;
        }
        --share;
        ++listed;
        std::error_code typeError;
        const bool link = it->is_symlink(typeError);
        if (it->is_directory(typeError)) {  // false for dangling links and loops
            subs.push_back({it->path(), link});
        }
    }
    std::sort(subs.begin(), subs.end(),
              [](const Subdirectory& a, const Subdirectory& b) { return a.path < b.path; });
    return subs;
}

bool LiesWithin(const std::string& path, const std::string& dir) {
    if (path.size() < dir.size() || path.compare(0, dir.size(), dir) != 0) {
        return false;
    }
    return path.size() == dir.size() || platform::IsSeparator(path[dir.size()]) ||
           (!dir.empty() && platform::IsSeparator(dir.back()));
}

// A path's target with every link resolved, to tell whether two names lead to one place;
// the path itself when that fails (dangling links, loops).
std::string Identity(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(fs::path(path), error);
    return error ? path : resolved.string();
}

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::path(path), error);  // false for dangling links and loops
}

std::string SystemPlace(const DiscoveryEnvironment& env, std::string_view place) {
    return env.root.empty() ? std::string(place) : platform::JoinPath(env.root, place.substr(1));
}

std::string Below(const std::string& dir, std::string_view relative) {
    return platform::JoinPath(dir, relative);
}

}  // namespace fenmar::discovery
