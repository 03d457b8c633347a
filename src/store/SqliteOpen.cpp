// Opening a SQLite store file, with the broken-file rule: a file that cannot be opened as a
// settings database is kept under a new name and a fresh store is started.

#include <ctime>
#include <filesystem>
#include <system_error>

#include "store/OpenStore.h"
#include "store/SqliteStore.h"

namespace fenmar::store {
namespace {

namespace fs = std::filesystem;

std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);  // one thread opens the store
    char buf[32] = "0";
    if (local != nullptr) {
        std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", local);
    }
    return buf;
}

// Renames `file` (and its journal) to an unused "<file>.broken-<time>[-n]"; "" on failure.
std::string MoveAside(const std::string& file) {
    std::error_code ec;
    const std::string base = file + ".broken-" + Timestamp();
    std::string target = base;
    for (int n = 1; fs::exists(target, ec) || fs::exists(target + "-wal", ec); ++n) {
        target = base + "-" + std::to_string(n);
    }
    fs::rename(file, target, ec);
    if (ec) {
        return {};
    }
    // The journal belongs to the broken file: it must never be replayed into a fresh one.
    for (const char* suffix : {"-wal", "-journal"}) {
        if (fs::exists(file + suffix, ec)) {
            fs::rename(file + suffix, target + suffix, ec);
        }
    }
    fs::remove(file + "-shm", ec);
    return target;
}

}  // namespace

std::unique_ptr<Store> OpenMemoryStore() {
    std::unique_ptr<SqliteStore> store;
    std::string error;
    SqliteStore::Open(":memory:", store, error);
    return store;
}

OpenResult OpenStoreAt(const std::string& file) {
    OpenResult result;
    result.file = file;
    std::error_code ec;
    const fs::path parent = fs::path(file).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent, ec);
    }

    std::unique_ptr<SqliteStore> store;
    std::string error;
    SqliteStore::OpenOutcome outcome = SqliteStore::Open(file, store, error);
    if (outcome == SqliteStore::OpenOutcome::NotADatabase) {
        // Look once more (another copy of the program may have replaced the file already),
        // then keep the file aside and start afresh.
        outcome = SqliteStore::Open(file, store, error);
        if (outcome == SqliteStore::OpenOutcome::NotADatabase) {
            result.movedAsideTo = MoveAside(file);
            if (result.movedAsideTo.empty()) {
                outcome = SqliteStore::OpenOutcome::Failed;
                error = "cannot rename the broken file (" + error + ")";
            } else {
                outcome = SqliteStore::Open(file, store, error);
            }
        }
    }
    if (outcome == SqliteStore::OpenOutcome::Ok) {
        result.store = std::move(store);
        return result;
    }
    result.problem = "cannot open the settings file " + file + ": " + error;
    result.store = OpenMemoryStore();
    return result;
}

}  // namespace fenmar::store
