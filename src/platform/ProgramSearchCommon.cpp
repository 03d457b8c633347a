#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/ProgramSearch.h"

namespace fenmar::platform {

namespace {
template <typename Fn>
void ForEachListEntry(std::string_view list, char separator, Fn&& fn) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(separator, start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        if (end > start && fn(list.substr(start, end - start))) {
            return;
        }
        start = end + 1;
    }
}

bool HasSeparator(std::string_view name) {
    for (char c : name) {
        if (IsSeparator(c) || c == '/') {
            return true;
        }
    }
    return false;
}

bool HasExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    return dot != std::string_view::npos && dot > 0;
}
}  // namespace

std::optional<std::string> GetEnvironment(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): read at start-up only
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> FindProgramOnPath(std::string_view name, std::string_view pathList,
                                             std::string_view pathExt) {
    if (name.empty() || HasSeparator(name) || name == "." || name == "..") {
        return std::nullopt;
    }
    const bool tryExtensions = FileNamesIgnoreCase() && !pathExt.empty() && !HasExtension(name);
    std::optional<std::string> found;
    ForEachListEntry(pathList, PathListSeparator(), [&](std::string_view dir) {
        if (tryExtensions) {
            ForEachListEntry(pathExt, ';', [&](std::string_view ext) {
                std::string candidate = JoinPath(dir, std::string(name) + std::string(ext));
                if (IsRunnableFile(candidate)) {
                    found = std::move(candidate);
                }
                return found.has_value();
            });
            if (found) {
                return true;
            }
        }
        std::string candidate = JoinPath(dir, name);
        if (IsRunnableFile(candidate)) {
            found = std::move(candidate);
        }
        return found.has_value();
    });
    return found;
}

std::optional<std::string> FindProgramOnPath(std::string_view name) {
    const auto path = GetEnvironment("PATH");
    const auto ext = GetEnvironment("PATHEXT");
    return FindProgramOnPath(name, path.value_or(std::string()), ext.value_or(std::string()));
}

}  // namespace fenmar::platform
