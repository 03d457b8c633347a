#pragma once
// Opening the store: the default one of the user (the registry on Windows, a SQLite file in
// the configuration directory elsewhere), or a SQLite file at a given path (tests, tools).

#include <memory>
#include <string>

#include "store/Store.h"

namespace fenmar::store {

struct OpenResult {
    // Never null. A build without SQLite opens no file: OpenStoreAt gives a memory store
    // and `problem` says so.
    std::unique_ptr<Store> store;
    std::string file;  // the database file ("" for the registry)
    // Non-empty when the file could not be opened as a settings database: it was kept under
    // this name and a fresh store started. Tell the user once.
    std::string movedAsideTo;
    // Non-empty when the file could not be used at all (the reason). `store` then lives in
    // memory only: everything written is lost at the end of the run.
    std::string problem;
};

// $XDG_CONFIG_HOME/fenmar (when that variable holds an absolute path), else
// $HOME/.config/fenmar.
std::string DefaultStoreDirectory();
// DefaultStoreDirectory() + "/settings.sqlite".
std::string DefaultStorePath();

// The user's store; the directory and file are created on first use.
OpenResult OpenDefaultStore();
// A SQLite store in `file` (its directory is created when missing).
OpenResult OpenStoreAt(const std::string& file);
// A store that lives in memory only.
std::unique_ptr<Store> OpenMemoryStore();

}  // namespace fenmar::store
