// The title cache in SQLite: one row per loose map, one per archive. Every failure of the
// database is swallowed: the cache then simply knows nothing.
#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "maps/MapCache.h"

namespace fenmar::maps {

namespace {

constexpr int kSchemaVersion = 1;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS map_titles("
    "  dir BLOB NOT NULL, name BLOB NOT NULL, size INTEGER NOT NULL,"
    "  modified INTEGER NOT NULL, title BLOB NOT NULL, PRIMARY KEY(dir, name)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS archive_titles("
    "  path BLOB PRIMARY KEY NOT NULL, size INTEGER NOT NULL, modified INTEGER NOT NULL,"
    "  min_size INTEGER NOT NULL, entries BLOB NOT NULL) WITHOUT ROWID;";

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr); }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt != nullptr; }
    void Bind(int i, std::string_view bytes) {
        sqlite3_bind_blob64(stmt, i, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }
    void Bind(int i, std::int64_t v) { sqlite3_bind_int64(stmt, i, v); }
    std::string Text(int i) {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        const int n = sqlite3_column_bytes(stmt, i);
        return p != nullptr && n > 0 ? std::string(p, static_cast<std::size_t>(n)) : std::string();
    }
    std::int64_t Int(int i) { return sqlite3_column_int64(stmt, i); }
};

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Opens the file and makes sure it holds our tables; nullptr on any failure.
sqlite3* OpenDatabase(const std::string& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 200);
    int version = -1;
    {
        Statement st(db, "PRAGMA user_version");
        if (st && sqlite3_step(st.stmt) == SQLITE_ROW) {
            version = static_cast<int>(st.Int(0));
        }
    }
    bool ok = version >= 0;
    if (ok && version != kSchemaVersion) {
        ok = Exec(db, "DROP TABLE IF EXISTS map_titles; DROP TABLE IF EXISTS archive_titles;") &&
             Exec(db, kSchema) && Exec(db, "PRAGMA user_version = 1");
    }
    // A write-ahead log: no journal file made and removed per write, readers never blocked by
    // a second copy of the program writing; a crash loses at most the latest titles.
    Exec(db, "PRAGMA journal_mode = WAL");
    ok = ok && Exec(db, "PRAGMA synchronous = NORMAL") && Exec(db, kSchema);
    if (!ok) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

}  // namespace

struct MapCache::Impl {
    sqlite3* db = nullptr;
    ~Impl() { sqlite3_close(db); }
};

MapCache::MapCache(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MapCache::~MapCache() = default;

std::unique_ptr<MapCache> MapCache::Open(const std::string& file) {
    if (file.empty()) {
        return nullptr;
    }
    std::error_code ignored;
    const std::filesystem::path path(file);
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    sqlite3* db = OpenDatabase(file);
    if (db == nullptr && std::filesystem::is_regular_file(path, ignored)) {
        // Not a database, or one damaged beyond use: a cache may be thrown away.
        std::filesystem::remove(path, ignored);
        db = OpenDatabase(file);
    }
    if (db == nullptr) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->db = db;
    return std::unique_ptr<MapCache>(new MapCache(std::move(impl)));
}

std::vector<CachedFile> MapCache::LoadDirectory(const std::string& directory) {
    std::vector<CachedFile> files;
    Statement st(impl_->db, "SELECT name, size, modified, title FROM map_titles WHERE dir = ?");
    if (!st) {
        return files;
    }
    st.Bind(1, directory);
    while (sqlite3_step(st.stmt) == SQLITE_ROW) {
        files.push_back({st.Text(0), st.Int(1), st.Int(2), st.Text(3)});
    }
    return files;
}

void MapCache::StoreDirectory(const std::string& directory, const std::vector<CachedFile>& files) {
    sqlite3* db = impl_->db;
    if (!Exec(db, "BEGIN IMMEDIATE")) {
        return;
    }
    bool ok = false;
    {
        Statement clear(db, "DELETE FROM map_titles WHERE dir = ?");
        Statement insert(db,
                         "INSERT OR REPLACE INTO map_titles(dir, name, size, modified, title) "
                         "VALUES (?, ?, ?, ?, ?)");
        if (clear && insert) {
            clear.Bind(1, directory);
            ok = sqlite3_step(clear.stmt) == SQLITE_DONE;
            for (const CachedFile& f : files) {
                if (!ok) {
                    break;
                }
                sqlite3_reset(insert.stmt);
                insert.Bind(1, directory);
                insert.Bind(2, f.name);
                insert.Bind(3, f.size);
                insert.Bind(4, f.modified);
                insert.Bind(5, f.title);
                ok = sqlite3_step(insert.stmt) == SQLITE_DONE;
            }
        }
    }
    Exec(db, ok ? "COMMIT" : "ROLLBACK");
}

std::optional<std::vector<MapEntry>> MapCache::LoadArchive(const std::string& path,
                                                           std::int64_t size, std::int64_t modified,
                                                           std::int32_t minBSPSize) {
    Statement st(impl_->db,
                 "SELECT entries FROM archive_titles WHERE path = ? AND size = ? AND "
                 "modified = ? AND min_size = ?");
    if (!st) {
        return std::nullopt;
    }
    st.Bind(1, path);
    st.Bind(2, size);
    st.Bind(3, modified);
    st.Bind(4, static_cast<std::int64_t>(minBSPSize));
    if (sqlite3_step(st.stmt) != SQLITE_ROW) {
        return std::nullopt;
    }
    return UnpackEntries(st.Text(0));
}

void MapCache::StoreArchive(const std::string& path, std::int64_t size, std::int64_t modified,
                            std::int32_t minBSPSize, const std::vector<MapEntry>& entries) {
    Statement st(impl_->db,
                 "INSERT OR REPLACE INTO archive_titles(path, size, modified, min_size, entries) "
                 "VALUES (?, ?, ?, ?, ?)");
    if (!st) {
        return;
    }
    st.Bind(1, path);
    st.Bind(2, size);
    st.Bind(3, modified);
    st.Bind(4, static_cast<std::int64_t>(minBSPSize));
    st.Bind(5, PackEntries(entries));
    sqlite3_step(st.stmt);
}

}  // namespace fenmar::maps
