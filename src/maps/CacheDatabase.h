#pragma once
// Opening the SQLite file the map caches live in (built only where SQLite is found). The file
// is a cache: whatever cannot be used is done without, and a damaged file is replaced.

#include <sqlite3.h>

#include <functional>
#include <string>

namespace fenmar::maps {

// True for results that say the file is no database or its pages do not hold together: it
// cannot be mended, only replaced. Every other failure (busy, locked, no permission, no
// memory, a full disk, too many open files) says nothing about the file.
bool IsCacheDamage(int rc);

// Removes the database and the files SQLite keeps beside it: a log left behind would be
// played into a new database.
void RemoveCacheDatabase(const std::string& file);

// The database in `file` (its directory is created) with the settings every cache shares,
// after `prepare` (which makes its tables and returns a SQLite result) succeeded on it; nullptr
// when it cannot be opened now. A file found damaged is removed and made anew, once.
sqlite3* OpenCacheDatabase(const std::string& file, const std::function<int(sqlite3*)>& prepare);

}  // namespace fenmar::maps
