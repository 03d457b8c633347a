#pragma once
// A store that lives in a map in memory, with the SQLite store's rules. Builds without SQLite
// (Windows builds where it is not installed, the 32-bit x86 test build) use it where the
// others open a database.

#include <memory>

#include "store/Store.h"

namespace fenmar::store {

std::unique_ptr<Store> MakeMemoryStore();

}  // namespace fenmar::store
