// Listing and checking databases, for the tools and the browser.
#include <cstring>
#include <sqlite3.h>

#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/items.h"
#include "libs/dorvex/library_state.h"
#include "libs/dorvex/sqlite_util.h"

namespace dorvex {

using namespace internal;
using sql::Statement;

namespace {

DorvexItem ItemFromRow(const Statement& row, const std::string& parentPath) {
  DorvexItem item;
  item.name = row.Text(1);
  item.path = parentPath + "/" + item.name;
  item.level = static_cast<int32_t>(row.Integer(2));
  item.kind = static_cast<int32_t>(row.Integer(3));
  item.top = static_cast<int32_t>(row.Integer(4));
  item.step = static_cast<int32_t>(row.Integer(5));
  item.elementSize = static_cast<int32_t>(row.Integer(6));
  item.count = row.Integer(7);
  item.recording = row.Integer(8) != 0;
  item.title = row.Text(9);
  std::vector<uint8_t> record = row.Blob(10);
  if (record.size() == sizeof(CurveInfo)) {
    CurveInfo info;
    std::memcpy(&info, record.data(), sizeof info);
    item.units = info.units;
    item.timeBased = IsTimeBased(info);
  }
  int64_t last = item.count > 0 ? item.count - 1 : 0;
  item.bottom = static_cast<int32_t>(item.top + last * item.step);
  return item;
}

constexpr const char* kItemColumns =
    "SELECT id, name, level, kind, top, step, element_size, count, open_end, title, record "
    "FROM items ";

// Depth first, in name order: each item is followed by everything below it.
bool ListChildren(sqlite3* db, int64_t parent, const std::string& parentPath,
                  std::vector<DorvexItem>* items) {
  std::vector<std::pair<int64_t, DorvexItem>> children;
  {
    Statement read(db, (std::string(kItemColumns) + "WHERE parent=?1 ORDER BY name").c_str());
    read.Bind(1, parent);
    int result;
    while ((result = read.Step()) == SQLITE_ROW) {
      children.emplace_back(read.Integer(0), ItemFromRow(read, parentPath));
    }
    if (result != SQLITE_DONE) return false;
  }
  for (auto& [id, item] : children) {
    std::string path = item.path;
    items->push_back(std::move(item));
    if (!ListChildren(db, id, path, items)) return false;
  }
  return true;
}

// The stored path of an item, components as stored.
std::string StoredPath(sqlite3* db, int64_t id) {
  std::string path;
  while (id > 0) {
    Statement up(db, "SELECT parent, name FROM items WHERE id=?1");
    up.Bind(1, id);
    if (up.Step() != SQLITE_ROW) return path;
    path = "/" + up.Text(1) + path;
    id = up.Integer(0);
  }
  return path;
}

}  // namespace

int DorvexListItems(DorvexLibrary& library, uint32_t database, const std::string& path,
                    std::vector<DorvexItem>* items) {
  items->clear();
  OpenDatabase* open = FindDatabase(library, database);
  if (open == nullptr) return kDorvexFailed;
  std::vector<std::string> components = SplitPath(path);
  int64_t id = FindItem(open->db, components);
  if (id < 0 || (id == 0 && !components.empty())) return kDorvexFailed;
  std::string stored;
  if (id > 0) {
    stored = StoredPath(open->db, id);
    Statement self(open->db, (std::string(kItemColumns) + "WHERE id=?1").c_str());
    self.Bind(1, id);
    if (self.Step() != SQLITE_ROW) return kDorvexFailed;
    items->push_back(ItemFromRow(self, stored.substr(0, stored.rfind('/'))));
  }
  return ListChildren(open->db, id, stored, items) ? 0 : kDorvexFailed;
}

namespace {

// Each row of the query names an item by id; it is reported by its path.
void CheckRows(sqlite3* db, const char* sql, const std::string& what,
               std::vector<std::string>* problems) {
  Statement check(db, sql);
  if (!check.ok()) {
    problems->push_back("cannot check " + what + ": " + sqlite3_errmsg(db));
    return;
  }
  while (check.Step() == SQLITE_ROW) {
    std::string path = StoredPath(db, check.Integer(0));
    problems->push_back(what + ": " + (path.empty() ? "item " + check.Text(0) : path));
  }
}

}  // namespace

int DorvexCheckDatabase(DorvexLibrary& library, const std::string& file,
                        std::vector<std::string>* problems) {
  problems->clear();
  uint32_t database = 0;
  if (DorvexOpenDatabase(library, file, 0, &database) != 0) {
    problems->push_back(file + ": not a database of this system, or cannot be opened");
    return kDorvexFailed;
  }
  sqlite3* db = FindDatabase(library, database)->db;
  {
    Statement integrity(db, "PRAGMA integrity_check");
    while (integrity.Step() == SQLITE_ROW) {
      if (integrity.Text(0) != "ok") problems->push_back("storage: " + integrity.Text(0));
    }
  }
  // Rules of the library's own: items hang from existing parents, samples
  // belong to curves, every curve has exactly the chunks its count needs.
  CheckRows(db,
            "SELECT id FROM items WHERE parent<>0 AND parent NOT IN (SELECT id FROM items)",
            "item without a parent", problems);
  CheckRows(db,
            "SELECT DISTINCT item FROM chunks WHERE item NOT IN (SELECT id FROM items WHERE kind=1)",
            "samples of no curve", problems);
  CheckRows(db,
            "SELECT i.id FROM items i WHERE i.kind=1 AND "
            "(SELECT count(*) FROM chunks c WHERE c.item=i.id) <> (i.count + 4095) / 4096",
            "curve with missing or extra sample chunks", problems);
  CheckRows(db,
            "SELECT DISTINCT i.id FROM items i JOIN chunks c ON c.item=i.id WHERE i.kind=1 AND "
            "length(c.data) <> min(4096, i.count - c.chunk * 4096) * i.element_size",
            "curve with a sample chunk of the wrong size", problems);
  CheckRows(db, "SELECT id FROM items WHERE kind=1 AND length(record)<>244",
            "curve without a 244-byte description", problems);
  static_assert(kChunkElements == 4096);
  DorvexCloseDatabase(library, database);
  return problems->empty() ? 0 : kDorvexFailed;
}

}  // namespace dorvex
