#pragma once
// The SQLite backend of the store. One database file holds two tables:
//   keys(id, parent, name, fold, path)       the key tree; id 1 is the root, fold is the
//                                             upper-cased name, unique below one parent,
//                                             path the folded full path (unique)
//   vals(key, fold, name, seq, type, data)   values; seq keeps the order of first writing
// The database runs in WAL mode with a busy timeout, and every change runs in a
// transaction (BEGIN IMMEDIATE), so two copies of the program can write at once, waiting
// for each other, and a killed writer leaves the previous state intact.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "store/Store.h"

struct sqlite3;
struct sqlite3_stmt;

namespace fenmar::store {

// How long a write waits for another copy of the program to finish its transaction.
inline constexpr int kBusyTimeoutMs = 10000;
// "FNMR": marks a database as a Fenmar settings store (PRAGMA application_id).
inline constexpr std::int32_t kApplicationId = 0x464E4D52;
inline constexpr int kSchemaVersion = 1;

class SqliteStore final : public Store {
public:
    enum class OpenOutcome { Ok, NotADatabase, Failed };
    // Opens (creating when missing) the database `file` (":memory:" for one in memory).
    static OpenOutcome Open(const std::string& file, std::unique_ptr<SqliteStore>& out,
                            std::string& error);

    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    bool KeyExists(std::string_view path) override;
    Status CreateKey(std::string_view path, bool* created) override;
    Status DeleteKey(std::string_view path) override;
    Status DeleteValue(std::string_view path, std::string_view name) override;
    Status EnumSubkeys(std::string_view path, std::vector<std::string>& out) override;
    Status EnumValues(std::string_view path, std::vector<NamedValue>& out) override;
    Status QueryValue(std::string_view path, std::string_view name, ValueData& out) override;
    Status SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                    std::string_view bytes) override;
    bool BeginTransaction() override;
    bool Commit() override;
    void Rollback() override;
    std::string Location() const override { return file_; }

private:
    SqliteStore(sqlite3* db, std::string file) : db_(db), file_(std::move(file)) {}
    sqlite3_stmt* Statement(const char* sql);
    bool Exec(const char* sql);
    // The id of the key at `path`: Ok, NotFound, InvalidArgument or Failed.
    Status Resolve(std::string_view path, std::int64_t& id);
    // The same for a value operation: a missing key is one deleted under the caller
    // (KeyDeleted).
    Status ResolveForValue(std::string_view path, std::int64_t& id);
    // The id of the key whose folded path is `folded` (`id` untouched unless Ok): Ok, NotFound
    // or Failed.
    Status FindKeyId(const std::string& folded, std::int64_t& id);
    // Runs `sql` (its parameter 1: the id of the key at `path`) and hands every row to `row`.
    template <typename Row>
    Status ListRows(std::string_view path, const char* sql, Row row);

    sqlite3* db_;
    std::string file_;
    int depth_ = 0;  // open transaction levels
    std::map<const char*, sqlite3_stmt*> statements_;
};

}  // namespace fenmar::store
