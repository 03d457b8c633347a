#pragma once
// Helpers of the store tests: a fresh store file, raw looks into the database, child
// processes and runs of the fenmar-reg tool.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "store/OpenStore.h"
#include "store/Store.h"

namespace fenmar::store::test {

// SQLite builds only (StoreTestSqlite.cpp):
// A store in a new SQLite file below `dir`.
std::unique_ptr<Store> OpenFresh(const fenmar::test::TempDir& dir,
                                 const std::string& name = "settings.sqlite");

// One-column answer of an SQL query on the database file (opened read-only, separately).
std::string QueryFile(const std::string& file, const std::string& sql);

// POSIX only (StoreTestPosix.cpp):
// Runs `body` in a forked child process; its result is the exit code (exceptions: 99).
// The parent must hold no open store while forking (SQLite connections must not cross a
// fork); start the tool instead when it must.
int StartChild(const std::function<int()>& body);  // returns the pid
// Waits for a child: its exit code, or 128 + signal number when it was killed.
int WaitChild(int pid);

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};
// Starts fenmar-reg with `args` and XDG_CONFIG_HOME set to `configHome` ("" leaves it
// alone), its output going to files in `scratch`; returns the pid.
int StartTool(const std::vector<std::string>& args, const std::string& configHome,
              const fenmar::test::TempDir& scratch);
// Waits for a started tool and collects its output.
ToolRun FinishTool(int pid, const fenmar::test::TempDir& scratch);
// Both at once.
ToolRun RunTool(const std::vector<std::string>& args, const std::string& configHome,
                const fenmar::test::TempDir& scratch);

// Every backend (StoreTestSupport.cpp):
// The bytes of a value ("" when absent).
std::string Bytes(Store& store, const std::string& path, const std::string& name);

}  // namespace fenmar::store::test
