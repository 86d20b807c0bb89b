// The item hierarchy inside one database file, private to the library.
//
// Items are rows of one table: a parent, a name matched without regard to
// case, a level (1 to 6) and a kind. Paths are split at "/" with empty
// components skipped, so a leading "/" is optional.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace dorvex {

namespace internal {

// The longest path component the library stores.
constexpr size_t kComponentLimit = 10;
// Levels of the hierarchy: three of location, data set, curve, pass.
constexpr int kLevels = 6;

std::vector<std::string> SplitPath(const std::string& path);

// Creates the schema in an empty database file; false on any failure.
bool CreateSchema(sqlite3* db);
// True when the file holds this library's schema.
bool HasOurSchema(sqlite3* db);

// The item a path names: its id, 0 when there is none, -1 on a storage
// error. A component "*" names the child with the highest pass number.
int64_t FindItem(sqlite3* db, const std::vector<std::string>& components);

// Finds or creates the nodes of the first `count` components; returns the
// last one's id (0 for count 0), or -1 when one cannot be created. Must run
// inside a transaction.
int64_t EnsureNodes(sqlite3* db, const std::vector<std::string>& components, size_t count);

// Inserts a new item under a parent; returns its id or -1 (an existing name
// included).
int64_t InsertItem(sqlite3* db, int64_t parent, const std::string& name, int level, int kind);

}  // namespace internal

}  // namespace dorvex
