#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "maps/MapCache.h"
#include "platform/FileSystem.h"

namespace fenmar::maps {

namespace {

void PutLength(std::string& out, std::size_t n) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((n >> (8 * i)) & 0xFF);
    }
}

bool TakeText(std::string_view& in, std::string& out) {
    if (in.size() < 4) {
        return false;
    }
    std::size_t n = 0;
    for (int i = 0; i < 4; ++i) {
        n |= static_cast<std::size_t>(static_cast<unsigned char>(in[static_cast<std::size_t>(i)]))
             << (8 * i);
    }
    in.remove_prefix(4);
    if (n > in.size()) {
        return false;
    }
    out.assign(in.substr(0, n));
    in.remove_prefix(n);
    return true;
}

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool IsAbsolute(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
           (path.size() > 2 && path[1] == ':');
}

}  // namespace

FileKey KeyOf(const platform::FileInfo& file) {
    return {file.size, file.modified, file.changed, file.identity};
}

std::string CachePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        absolute = path;
    }
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path()) {
        absolute = absolute.parent_path();  // "dir/" and "dir" are one directory
    }
    return absolute.string();
}

std::string PackEntries(const std::vector<MapEntry>& entries) {
    std::string out;
    for (const MapEntry& e : entries) {
        PutLength(out, e.name.size());
        out += e.name;
        PutLength(out, e.description.size());
        out += e.description;
    }
    return out;
}

std::optional<std::vector<MapEntry>> UnpackEntries(std::string_view bytes) {
    std::vector<MapEntry> entries;
    while (!bytes.empty()) {
        MapEntry e;
        if (!TakeText(bytes, e.name) || !TakeText(bytes, e.description)) {
            return std::nullopt;
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string DefaultCacheFile() {
    std::string base = FromEnvironment("XDG_CACHE_HOME");
    if (!IsAbsolute(base)) {
        const std::string home = FromEnvironment("HOME");
        base =
            IsAbsolute(home) ? platform::JoinPath(home, ".cache") : FromEnvironment("LOCALAPPDATA");
    }
    if (!IsAbsolute(base)) {
        return {};
    }
    return platform::JoinPath(platform::JoinPath(base, "fenmar"), "maps.sqlite");
}

}  // namespace fenmar::maps
