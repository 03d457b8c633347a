#include "platform/FileSystem.h"

#include <algorithm>

namespace fenmar::platform {

std::string JoinPath(std::string_view dir, std::string_view name) {
    std::string out(dir);
    if (!out.empty() && !IsSeparator(out.back())) {
        out += PathSeparator();
    }
    out += name;
    return out;
}

std::string ResolveIgnoringCase(std::string_view dir, std::string_view name) {
    if (auto found = FindEntryIgnoringCase(dir, name)) {
        return *found;
    }
    return JoinPath(dir, name);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return fold(x) == fold(y); });
}

bool IsAbsoluteOrClimbing(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    const auto anySep = [](char c) { return c == '/' || c == '\\'; };
    if (anySep(name.front())) {
        return true;
    }
    if (name.size() >= 2 && name[1] == ':') {
        return true;  // a drive letter
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !anySep(name[end])) {
            ++end;
        }
        if (name.substr(start, end - start) == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace fenmar::platform
