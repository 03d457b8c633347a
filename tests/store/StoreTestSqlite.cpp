// Helpers of the store tests that work on SQLite store files.

#include <sqlite3.h>

#include <stdexcept>

#include "StoreTestSupport.h"

namespace fenmar::store::test {

std::unique_ptr<Store> OpenFresh(const fenmar::test::TempDir& dir, const std::string& name) {
    OpenResult opened = OpenStoreAt((dir.Path() / name).string());
    if (!opened.problem.empty()) {
        throw std::runtime_error(opened.problem);
    }
    return std::move(opened.store);
}

std::string QueryFile(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return "<cannot open>";
    }
    sqlite3_busy_timeout(db, 5000);
    std::string answer;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        answer = std::string("<error: ") + sqlite3_errmsg(db) + ">";
    } else {
        int rc = 0;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!answer.empty()) {
                answer += "\n";
            }
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            answer += text != nullptr ? reinterpret_cast<const char*>(text) : "";
        }
        if (rc != SQLITE_DONE) {
            answer += std::string("<error: ") + sqlite3_errmsg(db) + ">";
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return answer;
}

}  // namespace fenmar::store::test
