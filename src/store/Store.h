#pragma once
// The settings store: one per-user hierarchical key/value store, the registry's
// HKEY_CURRENT_USER on Windows and a SQLite file elsewhere. Key paths are relative to that
// root and separated by backslashes ("Software\\Corvanta\\Fenmar\\QuickSets"); names of
// keys and values compare without regard to case.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar::store {

// The root key of the program's settings.
inline constexpr std::string_view kFenmarRoot = "Software\\Corvanta\\Fenmar";

// Value types, with the registry's numbers. Only kRegSz and kRegDword are written by the
// program; the store keeps whatever type a plug-in writes.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// Longest name of one key (one path component), and deepest key path, as in the registry.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxKeyDepth = 512;

enum class Status {
    Ok,
    NotFound,         // the key or value asked for does not exist
    KeyDeleted,       // the key a value operation addresses does not exist (any more)
    InvalidArgument,  // a path that cannot name a key (a name over 255, deeper than 512)
    Failed,           // the store could not do it (busy beyond the timeout, I/O error, ...)
};

struct ValueData {
    std::uint32_t type = kRegNone;
    std::string bytes;  // the data exactly as written
};

struct NamedValue {
    std::string name;
    std::uint32_t type = kRegNone;
    std::string bytes;
};

// The store table's operations, by key path. Backends: SQLite (SqliteStore.h) and the
// Windows registry (Win32Store.cpp, Windows only).
class Store {
public:
    virtual ~Store() = default;

    // "open key": does the key exist? The empty path is the root, which always exists.
    virtual bool KeyExists(std::string_view path) = 0;
    // "create key": creates the key and any missing parents. `created` (optional) tells
    // whether the key itself was new.
    virtual Status CreateKey(std::string_view path, bool* created = nullptr) = 0;
    // "delete key": removes the key with all its subkeys and values (NotFound if absent).
    virtual Status DeleteKey(std::string_view path) = 0;
    virtual Status DeleteValue(std::string_view path, std::string_view name) = 0;
    // Subkey names sorted ignoring case, as the registry enumerates them.
    virtual Status EnumSubkeys(std::string_view path, std::vector<std::string>& out) = 0;
    // Values in the order they were first written (rewriting a value keeps its place).
    virtual Status EnumValues(std::string_view path, std::vector<NamedValue>& out) = 0;
    // "read value": the data and its type, without checking the type.
    virtual Status QueryValue(std::string_view path, std::string_view name, ValueData& out) = 0;
    // "write value": the key must exist (KeyDeleted otherwise).
    virtual Status SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                            std::string_view bytes) = 0;

    // Groups writes so that they land together or not at all, and other copies of the
    // program wait meanwhile. Transactions nest; only the outermost Commit makes the
    // changes visible. The registry backend has no transactions: its writes land at once.
    virtual bool BeginTransaction() = 0;
    virtual bool Commit() = 0;
    virtual void Rollback() = 0;

    // Where the store lives, for messages: the database file, or "HKEY_CURRENT_USER".
    virtual std::string Location() const = 0;
};

// Splits a key path into its components; empty components (doubled, leading or trailing
// backslashes) are skipped. Fails (returns false) when a component is longer than 255
// characters or there are more than 512 components.
bool SplitKeyPath(std::string_view path, std::vector<std::string>& components);
// The path in the form every backend uses: components joined by single backslashes.
std::string NormalizeKeyPath(std::string_view path);
// Path of the subkey `name` of `parent`.
std::string JoinKeyPath(std::string_view parent, std::string_view name);

// Names compared as the store compares them: upper-cased ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic letters of UTF-8 text (other bytes are kept as they are).
std::string FoldCase(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// An open key: a store and a path. Obtained from OpenKey/CreateKey; one that is not open
// (IsOpen() false) reads neutral values and loses writes. There is nothing to close: the
// object just goes out of scope.
class Key {
public:
    Key() = default;
    Key(Store& store, std::string path) : store_(&store), path_(std::move(path)) {}

    bool IsOpen() const { return store_ != nullptr; }
    explicit operator bool() const { return IsOpen(); }
    Store* GetStore() const { return store_; }
    const std::string& Path() const { return path_; }

private:
    Store* store_ = nullptr;
    std::string path_;
};

// Opens an existing key; the result is not open when the key does not exist.
Key OpenKey(Store& store, std::string_view path);
// Opens the key, creating it and missing parents; not open when that failed.
Key CreateKey(Store& store, std::string_view path);
// Subkey `name` of an open key (opened or created).
Key OpenSubkey(const Key& key, std::string_view name);
Key CreateSubkey(const Key& key, std::string_view name);

// One transaction of the store: begun on construction, rolled back on destruction unless
// Commit() was called. When it could not begin (Active() false: another copy of the
// program held the store beyond the busy timeout), writes still land, one by one.
class Transaction {
public:
    explicit Transaction(Store& store);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool Active() const { return active_; }
    // True when the changes were made durable; after a failed commit they are rolled back.
    bool Commit();
    void Rollback();

private:
    Store& store_;
    bool active_ = false;
};

}  // namespace fenmar::store
