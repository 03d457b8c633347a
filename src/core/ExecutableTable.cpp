#include "core/ExecutableTable.h"

#include <algorithm>

#include "platform/FileSystem.h"

namespace fenmar {

namespace {
char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), UpperAscii);
    return out;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return UpperAscii(x) == UpperAscii(y);
           });
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    const auto folded = [](char c) { return static_cast<unsigned char>(LowerAscii(c)); };
    const auto n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (folded(a[i]) != folded(b[i])) {
            return folded(a[i]) < folded(b[i]);
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

ExecutableTable::ExecutableTable() : entries_(BuiltInRows()) {
    Sort();
}

std::vector<ExecutableEntry> ExecutableTable::BuiltInRows() {
    return {
        {"DOS-Quake", "quake.exe"},
        {"DOS-Quake (TCP/IP)", "q95.bat"},
        {"GL-Quake", "glquake.exe"},
        {"GL-QuakeWorld-client", "glqwcl.exe"},
        {"QuakeWorld-client", "qwcl.exe"},
        {"QuakeWorld-server", "qwsv.exe"},
        {platform::FromUtf8("V\u00e9rit\u00e9 Quake"), "vquake.exe"},
        {"WinQuake", "winquake.exe"},
    };
}

void ExecutableTable::Sort() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const ExecutableEntry& a, const ExecutableEntry& b) {
                         return LessIgnoringCase(a.name, b.name);
                     });
}

void ExecutableTable::Assign(std::vector<ExecutableEntry> rows) {
    entries_ = std::move(rows);
    Sort();
}

bool ExecutableTable::Add(ExecutableEntry entry) {
    if (Find(entry.name)) {
        return false;
    }
    entries_.push_back(std::move(entry));
    Sort();
    return true;
}

bool ExecutableTable::Remove(std::string_view name) {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const ExecutableEntry& e) {
        return EqualsIgnoringAsciiCase(e.name, name);
    });
    if (it == entries_.end()) {
        return false;
    }
    entries_.erase(it);
    return true;
}

std::optional<ExecutableEntry> ExecutableTable::Find(std::string_view name) const {
    for (const auto& e : entries_) {
        if (EqualsIgnoringAsciiCase(e.name, name)) {
            return e;
        }
    }
    return std::nullopt;
}

std::string ExecutableFileOf(const ExecutableTable& table, std::string_view name) {
    const auto entry = table.Find(name);
    return entry ? entry->file : std::string("quake.exe");
}

}  // namespace fenmar
