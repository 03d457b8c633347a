#include "maps/CacheDatabase.h"

#include <filesystem>
#include <system_error>

namespace fenmar::maps {

namespace {

struct Opened {
    sqlite3* db = nullptr;
    bool damaged = false;
};

Opened Open(const std::string& file, const std::function<int(sqlite3*)>& prepare) {
    Opened out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return out;
    }
    sqlite3_busy_timeout(db, 200);
    // A write-ahead log: no journal file made and removed per write, readers never blocked by
    // a second copy of the program writing; a crash loses at most the latest rows.
    sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    int rc = sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        rc = prepare(db);
    }
    if (rc != SQLITE_OK) {
        out.damaged = IsCacheDamage(rc);
        sqlite3_close(db);
        return out;
    }
    out.db = db;
    return out;
}

}  // namespace

bool IsCacheDamage(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

void RemoveCacheDatabase(const std::string& file) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(file + suffix), ignored);
    }
}

sqlite3* OpenCacheDatabase(const std::string& file, const std::function<int(sqlite3*)>& prepare) {
    if (file.empty()) {
        return nullptr;
    }
    std::error_code ignored;
    const std::filesystem::path path(file);
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    Opened opened = Open(file, prepare);
    if (opened.damaged) {
        RemoveCacheDatabase(file);
        opened = Open(file, prepare);
    }
    return opened.db;
}

}  // namespace fenmar::maps
