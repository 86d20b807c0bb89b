// Removing items: an item and everything below it, samples and all.
#include <sqlite3.h>

#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/items.h"
#include "libs/dorvex/library_state.h"
#include "libs/dorvex/sqlite_util.h"

namespace dorvex {

using namespace internal;
using sql::Statement;
using sql::Transaction;

namespace {

// The item and everything below it, as a recursive query's rows.
constexpr const char* kBelow =
    "WITH RECURSIVE below(id) AS (SELECT ?1 UNION ALL "
    "SELECT items.id FROM items JOIN below ON items.parent = below.id) ";

bool HasOpenCurve(DorvexLibrary& library, uint32_t database, sqlite3* db, int64_t id) {
  for (const auto& curve : library.state->curves) {
    if (curve == nullptr || curve->database != database) continue;
    Statement inside(db, (std::string(kBelow) + "SELECT 1 FROM below WHERE id=?2").c_str());
    inside.Bind(1, id).Bind(2, curve->item);
    if (inside.Step() == SQLITE_ROW) return true;
  }
  return false;
}

}  // namespace

int DorvexDeleteItem(DorvexLibrary& library, uint32_t database, const std::string& path,
                     DorvexRemoved* removed) {
  OpenDatabase* open = FindDatabase(library, database);
  std::vector<std::string> components = SplitPath(path);
  if (open == nullptr || components.empty()) return kDorvexFailed;
  int64_t id = FindItem(open->db, components);
  if (id <= 0 || HasOpenCurve(library, database, open->db, id)) return kDorvexFailed;
  Transaction transaction(open->db);
  if (!transaction.began()) return kDorvexFailed;
  Statement count(open->db, (std::string(kBelow) +
                             "SELECT COUNT(*), COALESCE(SUM(kind=1), 0), "
                             "COALESCE(SUM(CASE WHEN kind=1 THEN count END), 0) "
                             "FROM items WHERE id IN below")
                                .c_str());
  count.Bind(1, id);
  if (count.Step() != SQLITE_ROW) return kDorvexFailed;
  DorvexRemoved tally{count.Integer(0), count.Integer(1), count.Integer(2)};
  Statement chunks(open->db,
                   (std::string(kBelow) + "DELETE FROM chunks WHERE item IN below").c_str());
  Statement items(open->db, (std::string(kBelow) + "DELETE FROM items WHERE id IN below").c_str());
  chunks.Bind(1, id);
  items.Bind(1, id);
  if (!chunks.Run() || !items.Run() || !transaction.Commit()) {
    NoteFailure(library, open->db);
    return kDorvexFailed;
  }
  if (removed != nullptr) *removed = tally;
  return 0;
}

}  // namespace dorvex
