#include "core/PathPicking.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/ExecutableTable.h"
#include "core/LiveProfile.h"
#include "platform/FileSystem.h"

namespace fenmar {

namespace {

bool SamePrefix(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    const std::string_view head = text.substr(0, prefix.size());
    return platform::FileNamesIgnoreCase() ? EqualsIgnoringAsciiCase(head, prefix) : head == prefix;
}

std::optional<std::string> LexicallyRelative(std::string_view path, std::string_view dir) {
    const std::string base = WithoutTrailingSeparators(dir);
    if (base.empty() || !SamePrefix(path, base)) {
        return std::nullopt;
    }
    std::string_view rest = path.substr(base.size());
    if (!platform::IsSeparator(base.back())) {
        if (rest.empty()) {
            return std::string();
        }
        if (!platform::IsSeparator(rest.front())) {
            return std::nullopt;  // "/games/quake2" is not below "/games/quake"
        }
    }
    while (!rest.empty() && platform::IsSeparator(rest.front())) {
        rest.remove_prefix(1);
    }
    return std::string(rest);
}

std::string Canonical(std::string_view path) {
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(std::filesystem::path(path), error);
    return error ? std::string(path) : canonical.string();
}

}  // namespace

std::string PathInStoredCase(std::string_view path) {
    return platform::FileNamesIgnoreCase() ? AsciiLower(path) : std::string(path);
}

std::string WithoutTrailingSeparators(std::string_view dir) {
    std::string out(dir);
    while (out.size() > 1 && platform::IsSeparator(out.back()) &&
           !(out.size() == 3 && out[1] == ':')) {
        out.pop_back();
    }
    return out;
}

std::optional<std::string> RelativeTo(std::string_view path, std::string_view dir) {
    if (auto relative = LexicallyRelative(path, dir)) {
        return relative;
    }
    // The same place reached another way (a link, "..", a doubled separator).
    const std::string canonicalPath = Canonical(path);
    const std::string canonicalDir = Canonical(dir);
    if (canonicalPath == path && canonicalDir == dir) {
        return std::nullopt;
    }
    return LexicallyRelative(canonicalPath, canonicalDir);
}

bool IsSameOrBelow(std::string_view path, std::string_view dir) {
    return RelativeTo(path, dir).has_value();
}

std::string FileNameOf(std::string_view path) {
    std::size_t start = path.size();
    while (start > 0 && !platform::IsSeparator(path[start - 1])) {
        --start;
    }
    return std::string(path.substr(start));
}

std::string WithoutExtension(std::string_view path) {
    const std::size_t nameStart = path.size() - FileNameOf(path).size();
    const std::size_t dot = path.find('.', nameStart);
    return std::string(dot == std::string_view::npos ? path : path.substr(0, dot));
}

std::optional<std::string> TrimChosenFile(std::string_view chosen, std::string_view initialDir,
                                          const TrimRules& rules) {
    std::string text;
    if (!rules.keepPath) {
        text = FileNameOf(chosen);
    } else if (rules.relative) {
        auto relative = RelativeTo(chosen, initialDir);
        if (!relative || relative->empty()) {
            return std::nullopt;
        }
        text = std::move(*relative);
    } else {
        text = chosen;
    }
    return rules.keepExtension ? text : WithoutExtension(text);
}

std::optional<std::string> PatchOfFolder(std::string_view folder, std::string_view quakePath) {
    auto relative = RelativeTo(folder, quakePath);
    if (!relative) {
        return std::nullopt;
    }
    return relative->empty() ? std::string(kNone) : *relative;
}

std::string PatternsAnyCase(std::string_view patterns) {
    std::vector<std::string> seen;
    std::string out;
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string_view::npos) {
            end = patterns.size();
        }
        const std::string_view one = patterns.substr(start, end - start);
        for (std::string variant : {AsciiLower(one), AsciiUpper(one)}) {
            if (variant.empty() || std::find(seen.begin(), seen.end(), variant) != seen.end()) {
                continue;
            }
            out += out.empty() ? "" : " ";
            out += variant;
            seen.push_back(std::move(variant));
        }
        start = end + 1;
    }
    return out;
}

}  // namespace fenmar
