#include "store/SqliteStore.h"

#include <sqlite3.h>

#include <string>

namespace fenmar::store {
namespace {

constexpr std::int64_t kRootId = 1;

// One use of a cached statement: bound, stepped, and reset when the use ends.
class Use {
public:
    explicit Use(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~Use() {
        if (stmt_ != nullptr) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    bool Ready() const { return stmt_ != nullptr; }
    void Int(int i, std::int64_t v) { sqlite3_bind_int64(stmt_, i, v); }
    // The bytes must stay alive until the use ends (no copy is made).
    void Text(int i, std::string_view v) {
        sqlite3_bind_text(stmt_, i, v.empty() ? "" : v.data(), static_cast<int>(v.size()), nullptr);
    }
    void Blob(int i, std::string_view v) {
        sqlite3_bind_blob(stmt_, i, v.empty() ? "" : v.data(), static_cast<int>(v.size()), nullptr);
    }
    int Step() { return sqlite3_step(stmt_); }
    std::int64_t ColumnInt(int c) { return sqlite3_column_int64(stmt_, c); }
    std::string ColumnBytes(int c) {
        const void* p = sqlite3_column_blob(stmt_, c);
        const int n = sqlite3_column_bytes(stmt_, c);
        if (p == nullptr || n <= 0) {
            return {};
        }
        return std::string(static_cast<const char*>(p), static_cast<std::size_t>(n));
    }

private:
    sqlite3_stmt* stmt_;
};

const char* const kCreateSchema =
    "CREATE TABLE IF NOT EXISTS keys("
    "  id INTEGER PRIMARY KEY,"
    "  parent INTEGER NOT NULL,"
    "  name TEXT NOT NULL,"
    "  fold TEXT NOT NULL,"
    "  path TEXT NOT NULL UNIQUE,"
    "  UNIQUE(parent, fold));"
    "CREATE TABLE IF NOT EXISTS vals("
    "  key INTEGER NOT NULL,"
    "  fold TEXT NOT NULL,"
    "  name TEXT NOT NULL,"
    "  seq INTEGER NOT NULL,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY(key, fold)) WITHOUT ROWID;"
    "CREATE INDEX IF NOT EXISTS vals_order ON vals(key, seq);"
    "INSERT OR IGNORE INTO keys(id, parent, name, fold, path) VALUES(1, 0, '', '', '');";

// The folded full path of a key: how the keys table finds it in one step.
std::string FoldedPath(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            path += '\\';
        }
        path += FoldCase(parts[i]);
    }
    return path;
}

bool IsNotADatabase(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

}  // namespace

SqliteStore::OpenOutcome SqliteStore::Open(const std::string& file,
                                           std::unique_ptr<SqliteStore>& out, std::string& error) {
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        error = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        return OpenOutcome::Failed;
    }
    std::unique_ptr<SqliteStore> store(new SqliteStore(db, file));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);

    const auto fail = [&](int code) {
        error = sqlite3_errmsg(db);
        return IsNotADatabase(code) ? OpenOutcome::NotADatabase : OpenOutcome::Failed;
    };

    // Is it a database at all, and is it ours?
    std::int64_t tables = 0;
    std::int64_t ours = 0;
    std::int64_t appId = 0;
    {
        Use probe(
            store->Statement("SELECT (SELECT count(*) FROM sqlite_master),"
                             " (SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                             "  AND name IN ('keys', 'vals'))"));
        if (!probe.Ready()) {
            return fail(sqlite3_errcode(db));
        }
        rc = probe.Step();
        if (rc != SQLITE_ROW) {
            return fail(rc);
        }
        tables = probe.ColumnInt(0);
        ours = probe.ColumnInt(1);
    }
    {
        Use app(store->Statement("PRAGMA application_id"));
        if (!app.Ready() || (rc = app.Step()) != SQLITE_ROW) {
            return fail(app.Ready() ? rc : sqlite3_errcode(db));
        }
        appId = app.ColumnInt(0);
    }
    if (tables > 0 && (ours != 2 || appId != kApplicationId)) {
        error = "not a Fenmar settings database";
        return OpenOutcome::NotADatabase;
    }
    {
        Use check(store->Statement("PRAGMA quick_check(1)"));
        if (!check.Ready()) {
            return fail(sqlite3_errcode(db));
        }
        rc = check.Step();
        if (rc != SQLITE_ROW) {
            return fail(rc);
        }
        const std::string verdict = check.ColumnBytes(0);
        if (verdict != "ok") {
            error = "damaged database: " + verdict;
            return OpenOutcome::NotADatabase;
        }
    }

    // WAL: readers never block the writer, a killed writer leaves the last commit intact.
    // NORMAL synchronisation is safe against crashes of the program in WAL mode.
    store->Exec("PRAGMA journal_mode=WAL");
    store->Exec("PRAGMA synchronous=NORMAL");

    if (tables == 0) {
        if (!store->BeginTransaction()) {
            return fail(sqlite3_errcode(db));
        }
        const std::string pragmas = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                    ";PRAGMA user_version=" + std::to_string(kSchemaVersion);
        if (!store->Exec(kCreateSchema) || !store->Exec(pragmas.c_str())) {
            const int code = sqlite3_errcode(db);
            const OpenOutcome outcome = fail(code);
            store->Rollback();
            return outcome;
        }
        if (!store->Commit()) {
            return fail(sqlite3_errcode(db));
        }
    }
    out = std::move(store);
    return OpenOutcome::Ok;
}

SqliteStore::~SqliteStore() {
    while (depth_ > 0) {
        Rollback();
    }
    for (auto& [sql, stmt] : statements_) {
        sqlite3_finalize(stmt);
    }
    sqlite3_close_v2(db_);
}

sqlite3_stmt* SqliteStore::Statement(const char* sql) {
    auto it = statements_.find(sql);
    if (it != statements_.end()) {
        return it->second;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    statements_.emplace(sql, stmt);
    return stmt;
}

bool SqliteStore::Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Status SqliteStore::Resolve(std::string_view path, std::int64_t& id) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts)) {
        return Status::InvalidArgument;
    }
    return FindKeyId(FoldedPath(parts, parts.size()), id);
}

Status SqliteStore::ResolveForValue(std::string_view path, std::int64_t& id) {
    const Status found = Resolve(path, id);
    return found == Status::NotFound ? Status::KeyDeleted : found;
}

Status SqliteStore::FindKeyId(const std::string& folded, std::int64_t& id) {
    Use find(Statement("SELECT id FROM keys WHERE path = ?1"));
    if (!find.Ready()) {
        return Status::Failed;
    }
    find.Text(1, folded);
    const int rc = find.Step();
    if (rc == SQLITE_DONE) {
        return Status::NotFound;
    }
    if (rc != SQLITE_ROW) {
        return Status::Failed;
    }
    id = find.ColumnInt(0);
    return Status::Ok;
}

bool SqliteStore::BeginTransaction() {
    bool ok = false;
    if (depth_ == 0) {
        ok = Exec("BEGIN IMMEDIATE");
    } else {
        ok = Exec(("SAVEPOINT fenmar" + std::to_string(depth_)).c_str());
    }
    if (ok) {
        ++depth_;
    }
    return ok;
}

bool SqliteStore::Commit() {
    if (depth_ == 0) {
        return false;
    }
    --depth_;
    if (depth_ > 0) {
        return Exec(("RELEASE fenmar" + std::to_string(depth_)).c_str());
    }
    if (sqlite3_get_autocommit(db_) != 0) {
        return false;  // SQLite already rolled the transaction back after an error
    }
    if (Exec("COMMIT")) {
        return true;
    }
    Exec("ROLLBACK");
    return false;
}

void SqliteStore::Rollback() {
    if (depth_ == 0) {
        return;
    }
    --depth_;
    if (depth_ > 0) {
        const std::string name = "fenmar" + std::to_string(depth_);
        Exec(("ROLLBACK TO " + name).c_str());
        Exec(("RELEASE " + name).c_str());
    } else if (sqlite3_get_autocommit(db_) == 0) {
        Exec("ROLLBACK");
    }
}

namespace {
// Runs `body` in a transaction (a savepoint inside an open one): kept when it yields Ok.
template <typename Body>
Status InTransaction(Store& store, Body&& body) {
    if (!store.BeginTransaction()) {
        return Status::Failed;
    }
    const Status status = body();
    if (status != Status::Ok) {
        store.Rollback();
        return status;
    }
    return store.Commit() ? Status::Ok : Status::Failed;
}
}  // namespace

bool SqliteStore::KeyExists(std::string_view path) {
    std::int64_t id = 0;
    return Resolve(path, id) == Status::Ok;
}

Status SqliteStore::CreateKey(std::string_view path, bool* created) {
    if (created != nullptr) {
        *created = false;
    }
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts)) {
        return Status::InvalidArgument;
    }
    bool made = false;
    const Status status = InTransaction(*this, [&] {
        std::int64_t id = kRootId;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::string prefix = FoldedPath(parts, i + 1);
            const Status found = FindKeyId(prefix, id);
            if (found == Status::Ok) {
                made = false;
                continue;
            }
            if (found != Status::NotFound) {
                return Status::Failed;
            }
            const std::string fold = FoldCase(parts[i]);
            Use insert(
                Statement("INSERT INTO keys(parent, name, fold, path) VALUES(?1, ?2, ?3, ?4)"));
            if (!insert.Ready()) {
                return Status::Failed;
            }
            insert.Int(1, id);
            insert.Text(2, parts[i]);
            insert.Text(3, fold);
            insert.Text(4, prefix);
            if (insert.Step() != SQLITE_DONE) {
                return Status::Failed;
            }
            id = sqlite3_last_insert_rowid(db_);
            made = true;
        }
        return Status::Ok;
    });
    if (status == Status::Ok && created != nullptr) {
        *created = made;
    }
    return status;
}

Status SqliteStore::DeleteKey(std::string_view path) {
    return InTransaction(*this, [&] {
        std::vector<std::string> parts;
        if (!SplitKeyPath(path, parts)) {
            return Status::InvalidArgument;
        }
        if (parts.empty()) {
            return Status::InvalidArgument;  // the root itself cannot be deleted
        }
        std::int64_t id = 0;
        const Status found = Resolve(path, id);
        if (found != Status::Ok) {
            return found;
        }
        // The key and every key whose path starts with its path and a backslash: those
        // sort between "<path>\" and "<path>]" (']' follows '\').
        const std::string folded = FoldedPath(parts, parts.size());
        const std::string low = folded + "\\";
        const std::string high = folded + "]";
        Use values(
            Statement("DELETE FROM vals WHERE key IN (SELECT id FROM keys"
                      " WHERE path = ?1 OR (path >= ?2 AND path < ?3))"));
        Use keys(Statement("DELETE FROM keys WHERE path = ?1 OR (path >= ?2 AND path < ?3)"));
        if (!values.Ready() || !keys.Ready()) {
            return Status::Failed;
        }
        for (Use* use : {&values, &keys}) {
            use->Text(1, folded);
            use->Text(2, low);
            use->Text(3, high);
        }
        if (values.Step() != SQLITE_DONE || keys.Step() != SQLITE_DONE) {
            return Status::Failed;
        }
        return Status::Ok;
    });
}

Status SqliteStore::DeleteValue(std::string_view path, std::string_view name) {
    return InTransaction(*this, [&] {
        std::int64_t id = 0;
        if (const Status found = ResolveForValue(path, id); found != Status::Ok) {
            return found;
        }
        const std::string fold = FoldCase(name);
        Use del(Statement("DELETE FROM vals WHERE key = ?1 AND fold = ?2"));
        if (!del.Ready()) {
            return Status::Failed;
        }
        del.Int(1, id);
        del.Text(2, fold);
        if (del.Step() != SQLITE_DONE) {
            return Status::Failed;
        }
        return sqlite3_changes(db_) > 0 ? Status::Ok : Status::NotFound;
    });
}

template <typename Row>
Status SqliteStore::ListRows(std::string_view path, const char* sql, Row row) {
    std::int64_t id = 0;
    const Status found = Resolve(path, id);
    if (found != Status::Ok) {
        return found;
    }
    Use list(Statement(sql));
    if (!list.Ready()) {
        return Status::Failed;
    }
    list.Int(1, id);
    int rc = 0;
    while ((rc = list.Step()) == SQLITE_ROW) {
        row(list);
    }
    return rc == SQLITE_DONE ? Status::Ok : Status::Failed;
}

Status SqliteStore::EnumSubkeys(std::string_view path, std::vector<std::string>& out) {
    out.clear();
    return ListRows(path, "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold",
                    [&out](Use& row) { out.push_back(row.ColumnBytes(0)); });
}

Status SqliteStore::EnumValues(std::string_view path, std::vector<NamedValue>& out) {
    out.clear();
    return ListRows(
        path, "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY seq", [&out](Use& row) {
            out.push_back({row.ColumnBytes(0), static_cast<std::uint32_t>(row.ColumnInt(1)),
                           row.ColumnBytes(2)});
        });
}

Status SqliteStore::QueryValue(std::string_view path, std::string_view name, ValueData& out) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts)) {
        return Status::InvalidArgument;
    }
    const std::string folded = FoldedPath(parts, parts.size());
    const std::string fold = FoldCase(name);
    {
        Use get(
            Statement("SELECT vals.type, vals.data FROM keys JOIN vals ON vals.key = keys.id"
                      " WHERE keys.path = ?1 AND vals.fold = ?2"));
        if (!get.Ready()) {
            return Status::Failed;
        }
        get.Text(1, folded);
        get.Text(2, fold);
        const int rc = get.Step();
        if (rc == SQLITE_ROW) {
            out.type = static_cast<std::uint32_t>(get.ColumnInt(0));
            out.bytes = get.ColumnBytes(1);
            return Status::Ok;
        }
        if (rc != SQLITE_DONE) {
            return Status::Failed;
        }
    }
    std::int64_t id = 0;
    const Status found = Resolve(path, id);
    if (found == Status::Ok) {
        return Status::NotFound;  // the key is there, the value is not
    }
    return found == Status::NotFound ? Status::KeyDeleted : found;
}

Status SqliteStore::SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                             std::string_view bytes) {
    return InTransaction(*this, [&] {
        std::int64_t id = 0;
        if (const Status found = ResolveForValue(path, id); found != Status::Ok) {
            return found;
        }
        const std::string fold = FoldCase(name);
        // A new value goes after the others; a rewritten one keeps its place and its name.
        Use put(Statement(
            "INSERT INTO vals(key, fold, name, seq, type, data) VALUES(?1, ?2, ?3,"
            " (SELECT coalesce(max(seq), 0) + 1 FROM vals WHERE key = ?1), ?4, ?5)"
            " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data"));
        if (!put.Ready()) {
            return Status::Failed;
        }
        put.Int(1, id);
        put.Text(2, fold);
        put.Text(3, name);
        put.Int(4, type);
        put.Blob(5, bytes);
        return put.Step() == SQLITE_DONE ? Status::Ok : Status::Failed;
    });
}

}  // namespace fenmar::store
