#pragma once
// Named executables: the name a player sees mapped to the file started in the Quake directory.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar {

struct ExecutableEntry {
    std::string name;  // kept as typed; unique ignoring case
    std::string file;  // relative to the Quake directory
};

// Upper-cases ASCII letters only; other bytes (accented letters) stay as they are.
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// Orders texts ignoring ASCII case, then by the bytes themselves; the order of sorted lists.
bool LessIgnoringCase(std::string_view a, std::string_view b);

class ExecutableTable {
public:
    ExecutableTable();  // the built-in rows
    static std::vector<ExecutableEntry> BuiltInRows();

    const std::vector<ExecutableEntry>& Entries() const { return entries_; }
    // Replaces every row (stored settings); keeps the rows sorted by name.
    void Assign(std::vector<ExecutableEntry> rows);
    // Adds a row unless a row of that name (ignoring case) exists; false when refused.
    bool Add(ExecutableEntry entry);
    bool Remove(std::string_view name);                                // ignoring case
    std::optional<ExecutableEntry> Find(std::string_view name) const;  // ignoring case
    void Clear() { entries_.clear(); }

private:
    void Sort();
    std::vector<ExecutableEntry> entries_;
};

// The file of the first row whose name equals `name` ignoring ASCII case; "quake.exe" if none.
std::string ExecutableFileOf(const ExecutableTable& table, std::string_view name);

}  // namespace fenmar
