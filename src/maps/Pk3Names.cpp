#include <algorithm>

#include "maps/Pk3Scan.h"

namespace fenmar::maps {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsPk3Name(std::string_view name) {
    if (name.size() < 5) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - 4);
    return Lower(tail[0]) == '.' && Lower(tail[1]) == 'p' && Lower(tail[2]) == 'k' &&
           tail[3] == '3';
}

std::string Pk3MapName(std::string_view entryName) {
    std::string name(entryName);
    std::transform(name.begin(), name.end(), name.begin(), Lower);
    constexpr std::string_view kPrefix = "maps/";
    constexpr std::string_view kSuffix = ".bsp";
    if (name.size() <= kPrefix.size() + kSuffix.size() || name.compare(0, 5, kPrefix) != 0 ||
        name.compare(name.size() - 4, 4, kSuffix) != 0) {
        return {};
    }
    const bool unsafe = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == ':' || c == 0x7F;
    });
    if (unsafe) {
        return {};
    }
    // Every part below "maps/" must be a plain name: no "", "." or "..".
    std::string_view rest = std::string_view(name).substr(kPrefix.size());
    for (std::size_t start = 0;;) {
        const std::size_t slash = rest.find('/', start);
        const std::string_view part = rest.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") {
            return {};
        }
        if (slash == std::string_view::npos) {
            break;
        }
        start = slash + 1;
    }
    // As for PAK entries: the name up to its first '.'.
    std::string mapName(rest.substr(0, rest.find('.')));
    return mapName.empty() || mapName.back() == '/' ? std::string() : mapName;
}

}  // namespace fenmar::maps
