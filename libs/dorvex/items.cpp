#include "libs/dorvex/items.h"

#include <sqlite3.h>

#include "libs/dorvex/library_state.h"
#include "libs/dorvex/sqlite_util.h"

namespace dorvex {

namespace internal {

using sql::Execute;
using sql::Statement;

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> components;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    if (slash > start) components.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return components;
}

bool CreateSchema(sqlite3* db) {
  // Curves keep their description verbatim in `record`; the columns beside it
  // are what queries and the sample cache need without decoding it. Stored
  // files keep their bytes in `data`. Pages of 64 KiB hold a whole chunk of
  // samples (16 KiB) in the tree itself: with the default 4 KiB each chunk
  // would spill into a chain of overflow pages, written one by one. The page
  // size must be set before the first table, and cannot change in WAL mode.
  const char* schema =
      "PRAGMA page_size=65536;"
      "PRAGMA journal_mode=WAL;"
      "BEGIN;"
      "CREATE TABLE items("
      "  id INTEGER PRIMARY KEY,"
      "  parent INTEGER NOT NULL,"
      "  name TEXT NOT NULL COLLATE NOCASE,"
      "  level INTEGER NOT NULL,"
      "  kind INTEGER NOT NULL,"
      "  record BLOB,"
      "  top INTEGER NOT NULL DEFAULT 0,"
      "  step INTEGER NOT NULL DEFAULT 0,"
      "  element_size INTEGER NOT NULL DEFAULT 0,"
      "  count INTEGER NOT NULL DEFAULT 0,"
      "  open_end INTEGER NOT NULL DEFAULT 0,"
      "  title TEXT,"
      "  data BLOB,"
      "  UNIQUE(parent, name));"
      "CREATE TABLE chunks("
      "  id INTEGER PRIMARY KEY,"
      "  item INTEGER NOT NULL,"
      "  chunk INTEGER NOT NULL,"
      "  data BLOB NOT NULL,"
      "  UNIQUE(item, chunk));"
      "PRAGMA application_id=1146246744;"
      "PRAGMA user_version=1;"
      "COMMIT;";
  static_assert(kApplicationId == 1146246744 && kSchemaVersion == 1);
  return Execute(db, schema);
}

bool HasOurSchema(sqlite3* db) {
  Statement version(db, "PRAGMA user_version");
  Statement application(db, "PRAGMA application_id");
  if (version.Step() != SQLITE_ROW || application.Step() != SQLITE_ROW) return false;
  return version.Integer(0) == kSchemaVersion && application.Integer(0) == kApplicationId;
}

namespace {

int64_t FindChild(sqlite3* db, int64_t parent, const std::string& name) {
  const char* sql = name == "*"
                        ? "SELECT id FROM items WHERE parent=?1 "
                          "ORDER BY CAST(name AS INTEGER) DESC, name DESC LIMIT 1"
                        : "SELECT id FROM items WHERE parent=?1 AND name=?2";
  Statement find(db, sql);
  find.Bind(1, parent);
  if (name != "*") find.Bind(2, name);
  int result = find.Step();
  if (result == SQLITE_ROW) return find.Integer(0);
  return result == SQLITE_DONE ? 0 : -1;
}

}  // namespace

int64_t FindItem(sqlite3* db, const std::vector<std::string>& components) {
  int64_t id = 0;
  for (const std::string& name : components) {
    id = FindChild(db, id, name);
    if (id <= 0) return id;
  }
  return id;
}

int64_t InsertItem(sqlite3* db, int64_t parent, const std::string& name, int level, int kind) {
  if (name.empty() || name.size() > kComponentLimit || name == "*") return -1;
  Statement insert(db, "INSERT INTO items(parent, name, level, kind) VALUES(?1, ?2, ?3, ?4)");
  insert.Bind(1, parent).Bind(2, name).Bind(3, level).Bind(4, kind);
  return insert.Run() ? sqlite3_last_insert_rowid(db) : -1;
}

int64_t EnsureNodes(sqlite3* db, const std::vector<std::string>& components, size_t count) {
  int64_t id = 0;
  for (size_t i = 0; i < count && i < components.size(); ++i) {
    int64_t child = FindChild(db, id, components[i]);
    if (child < 0) return -1;
    if (child == 0) child = InsertItem(db, id, components[i], static_cast<int>(i) + 1, kNode);
    if (child < 0) return -1;
    id = child;
  }
  return id;
}

}  // namespace internal

}  // namespace dorvex
