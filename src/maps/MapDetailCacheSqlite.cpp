// The summaries and pictures in SQLite, one row per map. Every failure of the database is
// swallowed: the cache then simply knows nothing; a damaged file is replaced on opening.
#include <sqlite3.h>

#include "maps/CacheDatabase.h"
#include "maps/MapDetailCache.h"

namespace fenmar::maps {

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS map_details("
    "  container BLOB NOT NULL, entry BLOB NOT NULL, size INTEGER NOT NULL,"
    "  modified INTEGER NOT NULL, changed INTEGER NOT NULL, identity INTEGER NOT NULL,"
    "  summary BLOB NOT NULL, preview BLOB,"
    "  PRIMARY KEY(container, entry)) WITHOUT ROWID;";

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
    std::string_view Bytes(int i) {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        const int n = sqlite3_column_bytes(stmt, i);
        return p != nullptr && n > 0 ? std::string_view(p, static_cast<std::size_t>(n))
                                     : std::string_view();
    }
};

// The row's key: the container by the path the title rows use, and the whole file key.
void BindKey(Statement& st, const MapKey& key) {
    st.Bind(1, CachePath(key.container));
    st.Bind(2, key.entry);
    st.Bind(3, key.file.size);
    st.Bind(4, key.file.modified);
    st.Bind(5, key.file.changed);
    st.Bind(6, static_cast<std::int64_t>(key.file.identity));
}

}  // namespace

struct MapDetailCache::Impl {
    sqlite3* db = nullptr;
    ~Impl() { sqlite3_close(db); }
};

MapDetailCache::MapDetailCache(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MapDetailCache::~MapDetailCache() = default;

std::unique_ptr<MapDetailCache> MapDetailCache::Open(const std::string& file) {
    sqlite3* db = OpenCacheDatabase(file, [](sqlite3* opened) {
        return sqlite3_exec(opened, kSchema, nullptr, nullptr, nullptr);
    });
    if (db == nullptr) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->db = db;
    return std::unique_ptr<MapDetailCache>(new MapDetailCache(std::move(impl)));
}

std::optional<MapDetails> MapDetailCache::Load(const MapKey& key) {
    Statement st(impl_->db,
                 "SELECT summary, preview FROM map_details WHERE container = ? AND entry = ? "
                 "AND size = ? AND modified = ? AND changed = ? AND identity = ?");
    if (!st) {
        return std::nullopt;
    }
    BindKey(st, key);
    if (sqlite3_step(st.stmt) != SQLITE_ROW) {
        return std::nullopt;
    }
    auto summary = UnpackSummary(st.Bytes(0));
    if (!summary) {
        return std::nullopt;
    }
    MapDetails details;
    details.summary = std::move(*summary);
    if (sqlite3_column_type(st.stmt, 1) != SQLITE_NULL) {
        details.preview = UnpackRaster(st.Bytes(1));  // damaged: drawn again when asked for
    }
    return details;
}

void MapDetailCache::Store(const MapKey& key, const MapDetails& details) {
    // A picture already stored for the same file stays when only the summary is new.
    Statement st(
        impl_->db,
        "INSERT INTO map_details(container, entry, size, modified, changed, identity, "
        "summary, preview) VALUES (?, ?, ?, ?, ?, ?, ?, ?) "
        "ON CONFLICT(container, entry) DO UPDATE SET "
        "preview = CASE WHEN excluded.preview IS NOT NULL THEN excluded.preview "
        "  WHEN size = excluded.size AND modified = excluded.modified "
        "  AND changed = excluded.changed AND identity = excluded.identity THEN preview END,"
        "size = excluded.size, modified = excluded.modified, changed = excluded.changed,"
        "identity = excluded.identity, summary = excluded.summary");
    if (!st) {
        return;
    }
    BindKey(st, key);
    st.Bind(7, PackSummary(details.summary));
    if (details.preview) {
        st.Bind(8, PackRaster(*details.preview));
    }
    sqlite3_step(st.stmt);
}

}  // namespace fenmar::maps
