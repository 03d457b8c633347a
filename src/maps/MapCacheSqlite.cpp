// The title cache in SQLite: one row per loose map, one per archive. A failure of the database
// leaves the cache knowing nothing for that call; a file found damaged, on opening or by any
// later call, is replaced by an empty cache.
#include <sqlite3.h>

#include <algorithm>

#include "maps/CacheDatabase.h"
#include "maps/MapCache.h"
#include "platform/FileSystem.h"

namespace fenmar::maps {

namespace {

constexpr int kSchemaVersion = 2;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS map_titles("
    "  dir BLOB NOT NULL, name BLOB NOT NULL, size INTEGER NOT NULL, modified INTEGER NOT NULL,"
    "  changed INTEGER NOT NULL, identity INTEGER NOT NULL, title BLOB NOT NULL,"
    "  PRIMARY KEY(dir, name)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS archive_titles("
    "  dir BLOB NOT NULL, name BLOB NOT NULL, size INTEGER NOT NULL, modified INTEGER NOT NULL,"
    "  changed INTEGER NOT NULL, identity INTEGER NOT NULL, min_size INTEGER NOT NULL,"
    "  entries BLOB NOT NULL, PRIMARY KEY(dir, name)) WITHOUT ROWID;";

int Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Makes sure the file holds our tables: those of another version are made anew.
int Prepare(sqlite3* db) {
    int version = -1;
    int rc = SQLITE_OK;
    {
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(st);
            if (rc == SQLITE_ROW) {
                version = sqlite3_column_int(st, 0);
                rc = SQLITE_OK;
            }
        }
        sqlite3_finalize(st);
    }
    if (rc == SQLITE_OK && version != kSchemaVersion) {
        rc = Exec(db, "DROP TABLE IF EXISTS map_titles; DROP TABLE IF EXISTS archive_titles;");
        if (rc == SQLITE_OK) {
            rc = Exec(db, kSchema);
        }
        if (rc == SQLITE_OK) {
            rc = Exec(db, "PRAGMA user_version = 2");
        }
    }
    return rc == SQLITE_OK ? Exec(db, kSchema) : rc;
}

}  // namespace

namespace {

// The open file; every result passes through Note, which remembers signs of damage.
struct Database {
    std::string file;
    sqlite3* db = nullptr;
    bool damaged = false;

    int Note(int rc) {
        damaged = damaged || IsCacheDamage(rc);
        return rc;
    }
    // Called once a call's statements are finalized.
    void ReplaceIfDamaged() {
        if (!damaged) {
            return;
        }
        damaged = false;
        sqlite3_close(db);
        RemoveCacheDatabase(file);
        db = OpenCacheDatabase(file, Prepare);
    }
};

struct Statement {
    Database* owner = nullptr;
    sqlite3_stmt* stmt = nullptr;
    Statement(Database& impl, const char* sql) : owner(&impl) {
        impl.Note(sqlite3_prepare_v2(impl.db, sql, -1, &stmt, nullptr));
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt != nullptr; }
    int Step() { return owner->Note(sqlite3_step(stmt)); }
    void Reset() { sqlite3_reset(stmt); }
    void Bind(int i, std::string_view bytes) {
        sqlite3_bind_blob64(stmt, i, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }
    void Bind(int i, std::int64_t v) { sqlite3_bind_int64(stmt, i, v); }
    // The key's four numbers at i .. i+3.
    void Bind(int i, const FileKey& key) {
        Bind(i, key.size);
        Bind(i + 1, key.modified);
        Bind(i + 2, key.changed);
        Bind(i + 3, static_cast<std::int64_t>(key.identity));
    }
    std::string Text(int i) {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        const int n = sqlite3_column_bytes(stmt, i);
        return p != nullptr && n > 0 ? std::string(p, static_cast<std::size_t>(n)) : std::string();
    }
    std::int64_t Int(int i) { return sqlite3_column_int64(stmt, i); }
    FileKey Key(int i) {
        return {Int(i), Int(i + 1), Int(i + 2), static_cast<std::uint64_t>(Int(i + 3))};
    }
};

// The summaries and pictures kept beside the titles (MapDetailCache) go with the titles of the
// same maps. The table exists only once that cache was opened: without it there is nothing to do.
void DropDetails(Database& db, const std::string& container) {
    Statement st(db, "DELETE FROM map_details WHERE container = ?");
    if (st) {
        st.Bind(1, container);
        st.Step();
    }
}

void DropArchiveDetails(Database& db, const std::string& dir, const std::string& name) {
    DropDetails(db, CachePath(platform::JoinPath(dir, name)));
}

}  // namespace

struct MapCache::Impl : Database {
    ~Impl() { sqlite3_close(db); }
};

MapCache::MapCache(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MapCache::~MapCache() = default;

std::unique_ptr<MapCache> MapCache::Open(const std::string& file) {
    sqlite3* db = OpenCacheDatabase(file, Prepare);
    if (db == nullptr) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->file = file;
    impl->db = db;
    return std::unique_ptr<MapCache>(new MapCache(std::move(impl)));
}

std::vector<CachedFile> MapCache::LoadDirectory(const std::string& directory) {
    std::vector<CachedFile> files;
    if (impl_->db == nullptr) {
        return files;
    }
    {
        Statement st(*impl_,
                     "SELECT name, size, modified, changed, identity, title FROM map_titles "
                     "WHERE dir = ?");
        if (st) {
            st.Bind(1, CachePath(directory));
            while (st.Step() == SQLITE_ROW) {
                files.push_back({st.Text(0), st.Key(1), st.Text(5)});
            }
        }
    }
    if (impl_->damaged) {
        files.clear();  // what a damaged file gave cannot be trusted
        impl_->ReplaceIfDamaged();
    }
    return files;
}

void MapCache::StoreDirectory(const std::string& directory, const std::vector<CachedFile>& files,
                              bool whole) {
    sqlite3* db = impl_->db;
    if (db == nullptr || impl_->Note(Exec(db, "BEGIN IMMEDIATE")) != SQLITE_OK) {
        impl_->ReplaceIfDamaged();
        return;
    }
    const std::string dir = CachePath(directory);
    bool ok = false;
    {
        Statement clear(*impl_, "DELETE FROM map_titles WHERE dir = ?");
        Statement insert(*impl_,
                         "INSERT OR REPLACE INTO map_titles(dir, name, size, modified, changed, "
                         "identity, title) VALUES (?, ?, ?, ?, ?, ?, ?)");
        if (clear && insert) {
            clear.Bind(1, dir);
            ok = !whole || clear.Step() == SQLITE_DONE;
            for (const CachedFile& f : files) {
                if (!ok) {
                    break;
                }
                insert.Reset();
                insert.Bind(1, dir);
                insert.Bind(2, f.name);
                insert.Bind(3, f.key);
                insert.Bind(7, f.title);
                ok = insert.Step() == SQLITE_DONE;
            }
        }
        if (ok && whole) {
            Statement details(*impl_,
                              "DELETE FROM map_details WHERE container = ?1 AND entry NOT IN "
                              "(SELECT name FROM map_titles WHERE dir = ?1)");
            if (details) {
                details.Bind(1, dir);
                details.Step();
            }
        }
    }
    impl_->Note(Exec(db, ok ? "COMMIT" : "ROLLBACK"));
    impl_->ReplaceIfDamaged();
}

std::optional<std::vector<MapEntry>> MapCache::LoadArchive(const std::string& directory,
                                                           const std::string& name,
                                                           const FileKey& key,
                                                           std::int32_t minBSPSize) {
    if (impl_->db == nullptr) {
        return std::nullopt;
    }
    std::optional<std::vector<MapEntry>> entries;
    {
        Statement st(*impl_,
                     "SELECT entries FROM archive_titles WHERE dir = ? AND name = ? AND size = ? "
                     "AND modified = ? AND changed = ? AND identity = ? AND min_size = ?");
        if (st) {
            st.Bind(1, CachePath(directory));
            st.Bind(2, name);
            st.Bind(3, key);
            st.Bind(7, static_cast<std::int64_t>(minBSPSize));
            if (st.Step() == SQLITE_ROW) {
                entries = UnpackEntries(st.Text(0));
            }
        }
    }
    if (impl_->damaged) {
        impl_->ReplaceIfDamaged();
        return std::nullopt;
    }
    return entries;
}

void MapCache::StoreArchive(const std::string& directory, const std::string& name,
                            const FileKey& key, std::int32_t minBSPSize,
                            const std::vector<MapEntry>& entries) {
    if (impl_->db == nullptr) {
        return;
    }
    {
        Statement st(*impl_,
                     "INSERT OR REPLACE INTO archive_titles(dir, name, size, modified, changed, "
                     "identity, min_size, entries) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        if (st) {
            st.Bind(1, CachePath(directory));
            st.Bind(2, name);
            st.Bind(3, key);
            st.Bind(7, static_cast<std::int64_t>(minBSPSize));
            st.Bind(8, PackEntries(entries));
            st.Step();
        }
    }
    impl_->ReplaceIfDamaged();
}

void MapCache::PruneArchives(const std::string& directory,
                             const std::vector<std::string>& present) {
    if (impl_->db == nullptr) {
        return;
    }
    const std::string dir = CachePath(directory);
    {
        std::vector<std::string> gone;
        Statement names(*impl_, "SELECT name FROM archive_titles WHERE dir = ?");
        if (names) {
            names.Bind(1, dir);
            while (names.Step() == SQLITE_ROW) {
                std::string name = names.Text(0);
                if (std::find(present.begin(), present.end(), name) == present.end()) {
                    gone.push_back(std::move(name));
                }
            }
        }
        Statement remove(*impl_, "DELETE FROM archive_titles WHERE dir = ? AND name = ?");
        for (const std::string& name : gone) {
            if (!remove || impl_->damaged) {
                break;
            }
            remove.Reset();
            remove.Bind(1, dir);
            remove.Bind(2, name);
            remove.Step();
            DropArchiveDetails(*impl_, dir, name);
        }
    }
    impl_->ReplaceIfDamaged();
}

void MapCache::PruneVanished() {
    if (impl_->db == nullptr) {
        return;
    }
    // The distinct directories, one index step each rather than a walk over every row.
    constexpr const char* kDirectories =
        "WITH RECURSIVE d(dir) AS (SELECT MIN(dir) FROM %1 UNION ALL "
        "SELECT (SELECT MIN(dir) FROM %1 WHERE dir > d.dir) FROM d WHERE d.dir IS NOT NULL) "
        "SELECT dir FROM d WHERE dir IS NOT NULL";
    for (const std::string_view table : {"map_titles", "archive_titles"}) {
        std::string sql = kDirectories;
        for (std::size_t at = sql.find("%1"); at != std::string::npos; at = sql.find("%1")) {
            sql.replace(at, 2, table);
        }
        {
            std::vector<std::string> gone;
            Statement dirs(*impl_, sql.c_str());
            if (dirs) {
                while (dirs.Step() == SQLITE_ROW) {
                    std::string dir = dirs.Text(0);
                    if (!platform::DirectoryExists(dir)) {
                        gone.push_back(std::move(dir));
                    }
                }
            }
            const bool archives = table == "archive_titles";
            const std::string remove = "DELETE FROM " + std::string(table) + " WHERE dir = ?";
            Statement st(*impl_, remove.c_str());
            Statement names(*impl_, "SELECT name FROM archive_titles WHERE dir = ?");
            for (const std::string& dir : gone) {
                if (!st || impl_->damaged) {
                    break;
                }
                if (!archives) {
                    DropDetails(*impl_, dir);
                } else if (names) {
                    names.Reset();
                    names.Bind(1, dir);
                    std::vector<std::string> inside;
                    while (names.Step() == SQLITE_ROW) {
                        inside.push_back(names.Text(0));
                    }
                    for (const std::string& name : inside) {
                        DropArchiveDetails(*impl_, dir, name);
                    }
                }
                st.Reset();
                st.Bind(1, dir);
                st.Step();
            }
        }
        impl_->ReplaceIfDamaged();
        if (impl_->db == nullptr) {
            return;
        }
    }
}

}  // namespace fenmar::maps
