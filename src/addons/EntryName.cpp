#include "addons/Download.h"
#include "addons/ZipEntries.h"

namespace fenmar::addons {

std::string CleanEntryName(std::string_view raw, bool& directory, std::string& error,
                           const UnpackLimits& limits) {
    error.clear();
    std::string name(raw);
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    directory = !name.empty() && name.back() == '/';
    if (name.empty()) {
        error = "an entry without a name";
        return {};
    }
    if (name.front() == '/') {
        error = "an absolute name: " + name;
        return {};
    }
    if (name.find(':') != std::string::npos) {
        error = "a drive letter or ':' in a name: " + name;
        return {};
    }
    std::string clean;
    std::size_t depth = 0;
    std::size_t at = 0;
    while (at <= name.size()) {
        std::size_t slash = name.find('/', at);
        if (slash == std::string::npos) {
            slash = name.size();
        }
        const std::string_view part = std::string_view(name).substr(at, slash - at);
        at = slash + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            error = "a name that climbs out of its folder: " + name;
            return {};
        }
        if (!IsPlainFileName(part)) {
            error = "a name no system can hold safely: " + name;
            return {};
        }
        if (!clean.empty()) {
            clean += '/';
        }
        clean += part;
        ++depth;
    }
    if (depth > limits.maxDepth + 1 || clean.size() > limits.maxNameBytes) {
        error = "a name too long or too deep: " + name.substr(0, 80);
        return {};
    }
    return clean;
}

}  // namespace fenmar::addons
