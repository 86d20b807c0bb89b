// Following a database that another process writes: the data version and
// refreshing a curve opened for reading.
//
// A run's output curves are not marked as recordings, so a reader that
// opened one early holds the samples committed by then and never looks
// again on its own. The plotting program asks DorvexDataVersion a few times
// a second and, only when it changed, refreshes its curves: each refresh is
// one query for the count and one for the chunks from the old end on, so a
// long curve costs nothing that was read before.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/library_state.h"
#include "libs/dorvex/sqlite_util.h"

namespace dorvex {

using namespace internal;
using sql::Statement;

int DorvexDataVersion(DorvexLibrary& library, uint32_t database, int64_t* version) {
  OpenDatabase* open = FindDatabase(library, database);
  if (open == nullptr) return kDorvexFailed;
  Statement read(open->db, "PRAGMA data_version");
  if (read.Step() != SQLITE_ROW) return kDorvexFailed;
  *version = read.Integer(0);
  return 0;
}

namespace {

// Copies the chunks from element `from` on into `bytes`, which holds room
// for `count` elements; false when the rows cannot be read.
bool ReadChunksFrom(sqlite3* db, int64_t item, int64_t from, int64_t count, size_t size,
                    std::vector<uint8_t>& bytes) {
  Statement read(db, "SELECT chunk, data FROM chunks WHERE item=?1 AND chunk>=?2 ORDER BY chunk");
  read.Bind(1, item).Bind(2, from / kChunkElements);
  int result;
  while ((result = read.Step()) == SQLITE_ROW) {
    int64_t first = read.Integer(0) * kChunkElements;
    auto [data, length] = read.BlobBytes(1);
    int64_t elements = std::min<int64_t>(static_cast<int64_t>(length / size), count - first);
    if (first < 0 || elements <= 0 || data == nullptr) continue;
    std::memcpy(bytes.data() + static_cast<size_t>(first) * size, data,
                static_cast<size_t>(elements) * size);
  }
  return result == SQLITE_DONE;
}

}  // namespace

int DorvexRefreshCurve(DorvexLibrary& library, uint32_t handle, int64_t* count) {
  OpenCurve* curve = FindCurve(library, handle);
  if (curve == nullptr) return kDorvexFailed;
  *count = curve->count;
  // A writer knows its own samples; only readers look again.
  if (curve->mode != kDorvexRead) return 0;
  sqlite3* db = FindDatabase(library, curve->database)->db;
  // One read transaction, so that the count and the chunks agree.
  if (!sql::Execute(db, "BEGIN")) return kDorvexFailed;
  Statement state(db, "SELECT count, open_end FROM items WHERE id=?1");
  state.Bind(1, curve->item);
  bool found = state.Step() == SQLITE_ROW;
  int64_t newCount = found ? state.Integer(0) : 0;
  bool openEnd = found && state.Integer(1) != 0;
  bool read = found;
  if (found && newCount > curve->count) {
    size_t size = static_cast<size_t>(curve->elementSize);
    // Readers of the same finished curve may share this cache; the grown
    // samples go into a cache of this handle's own.
    auto grown = curve->data.use_count() > 1
                     ? std::make_shared<std::vector<uint8_t>>(*curve->data)
                     : curve->data;
    grown->resize(static_cast<size_t>(newCount) * size);
    // The chunk that held the old end may have grown too: read from its start.
    read = ReadChunksFrom(db, curve->item, curve->count - curve->count % kChunkElements, newCount,
                          size, *grown);
    if (read) {
      curve->data = grown;
      curve->count = newCount;
    } else if (grown == curve->data) {
      grown->resize(static_cast<size_t>(curve->count) * size);
    }
  }
  if (read) curve->openEnd = openEnd;
  sql::Execute(db, "COMMIT");
  *count = curve->count;
  return read ? 0 : kDorvexFailed;
}

}  // namespace dorvex
