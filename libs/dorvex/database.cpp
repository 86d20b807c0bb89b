// Databases: opening, creating, closing, and the items that are not curves.
#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/items.h"
#include "libs/dorvex/library_state.h"
#include "libs/dorvex/sqlite_util.h"

namespace dorvex {

using namespace internal;
using sql::Statement;
using sql::Transaction;

namespace {

// Another process may hold the write lock for a commit; wait that long for it.
constexpr int kBusyMilliseconds = 5000;

sqlite3* OpenFile(DorvexLibrary& library, const std::string& file, int flags) {
  sqlite3* db = nullptr;
  const char* vfs = library.state->faults ? library.state->faults->name() : nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, flags, vfs) != SQLITE_OK) {
    NoteFailure(library, db);
    sqlite3_close_v2(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyMilliseconds);
  sqlite3_extended_result_codes(db, 1);
  return db;
}

bool IsRegularFile(const std::string& file) {
  struct stat status;
  return ::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

uint32_t AddDatabase(DorvexLibrary& library, sqlite3* db, const std::string& file) {
  auto open = std::make_unique<OpenDatabase>();
  open->db = db;
  open->file = file;
  open->checkpointer = std::make_unique<Checkpointer>(db, file);
  library.state->databases.push_back(std::move(open));
  return static_cast<uint32_t>(library.state->databases.size());
}

}  // namespace

int DorvexOpenDatabase(DorvexLibrary& library, const std::string& file, int32_t /*flags*/,
                       uint32_t* database) {
  *database = 0;
  if (file.empty() || !IsRegularFile(file)) return kDorvexFailed;
  sqlite3* db = OpenFile(library, file, SQLITE_OPEN_READWRITE);
  if (db == nullptr) return kDorvexFailed;
  if (!HasOurSchema(db)) {  // also fails for a file that is not a database
    sqlite3_close_v2(db);
    return kDorvexFailed;
  }
  sql::Execute(db, "PRAGMA synchronous=NORMAL");
  *database = AddDatabase(library, db, file);
  return 0;
}

void DorvexCloseDatabase(DorvexLibrary& library, uint32_t database) {
  OpenDatabase* open = FindDatabase(library, database);
  if (open == nullptr) return;
  for (size_t i = 0; i < library.state->curves.size(); ++i) {
    OpenCurve* curve = library.state->curves[i].get();
    if (curve != nullptr && curve->database == database) {
      // Whoever wrote the curve and wants to know whether its last samples
      // were stored closes it first; here the database goes anyway.
      static_cast<void>(DorvexCloseCurve(library, static_cast<uint32_t>(i + 1)));
    }
  }
  open->checkpointer.reset();
  sqlite3_close_v2(open->db);
  library.state->databases[database - 1].reset();
}

int DorvexCreateDatabase(DorvexLibrary& library, const std::string& file) {
  struct stat status;
  if (file.empty() || ::stat(file.c_str(), &status) == 0) return kDorvexFailed;
  sqlite3* db = OpenFile(library, file,
                         SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE);
  if (db == nullptr) return kDorvexFailed;
  bool created = CreateSchema(db);
  if (!created) NoteFailure(library, db);
  sqlite3_close_v2(db);
  if (!created) {
    // Leave no half-made file behind.
    std::remove(file.c_str());
    std::remove((file + "-wal").c_str());
    std::remove((file + "-shm").c_str());
    return kDorvexFailed;
  }
  return 0;
}

int DorvexCreateNode(DorvexLibrary& library, uint32_t database, const std::string& path,
                     int32_t size, const void* buffer, int32_t level, int32_t /*flag*/) {
  OpenDatabase* open = FindDatabase(library, database);
  std::vector<std::string> components = SplitPath(path);
  // Levels count components from 0: level 3 is a data set.
  if (open == nullptr || components.empty() || level < 0 || level >= kLevels ||
      static_cast<size_t>(level) + 1 != components.size()) {
    return 0;
  }
  Transaction transaction(open->db);
  if (!transaction.began()) return 0;
  int64_t parent = EnsureNodes(open->db, components, components.size() - 1);
  if (parent < 0 || FindItem(open->db, components) != 0) return 0;
  int64_t id = InsertItem(open->db, parent, components.back(), level + 1, kNode);
  if (id < 0) return 0;
  if (buffer != nullptr && size > 0) {
    Statement record(open->db, "UPDATE items SET record=?1 WHERE id=?2");
    record.BindBlob(1, buffer, static_cast<size_t>(size)).Bind(2, id);
    if (!record.Run()) return 0;
  }
  return transaction.Commit() ? 1 : 0;
}

int DorvexStoreFile(DorvexLibrary& library, uint32_t database, int32_t /*flags*/,
                    const std::string& file, const std::string& path, const std::string& title) {
  OpenDatabase* open = FindDatabase(library, database);
  std::vector<std::string> components = SplitPath(path);
  if (open == nullptr || components.empty() || components.size() > kLevels) return kDorvexFailed;
  std::ifstream in(file, std::ios::binary);
  if (!in) return kDorvexFailed;
  std::stringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return kDorvexFailed;
  Transaction transaction(open->db);
  if (!transaction.began()) return kDorvexFailed;
  int64_t parent = EnsureNodes(open->db, components, components.size() - 1);
  if (parent < 0) return kDorvexFailed;
  // A node made for it (a numbered result) takes the file; a curve never does.
  int64_t id = FindItem(open->db, components);
  if (id == 0) {
    id = InsertItem(open->db, parent, components.back(), static_cast<int>(components.size()),
                    kFileItem);
  } else if (id > 0) {
    Statement kind(open->db, "SELECT kind FROM items WHERE id=?1");
    kind.Bind(1, id);
    if (kind.Step() != SQLITE_ROW || kind.Integer(0) == kCurveItem) return kDorvexFailed;
  }
  std::string data = bytes.str();
  Statement store(open->db, "UPDATE items SET kind=2, title=?1, data=?2 WHERE id=?3");
  store.Bind(1, title).BindBlob(2, data.data(), data.size()).Bind(3, id);
  if (id < 0 || !store.Run() || !transaction.Commit()) {
    NoteFailure(library, open->db);
    return kDorvexFailed;
  }
  return 0;
}

int DorvexReadFile(DorvexLibrary& library, uint32_t database, const std::string& path,
                   std::string* title, std::string* bytes) {
  OpenDatabase* open = FindDatabase(library, database);
  if (open == nullptr) return kDorvexFailed;
  int64_t id = FindItem(open->db, SplitPath(path));
  Statement read(open->db, "SELECT title, data FROM items WHERE id=?1 AND kind=2");
  read.Bind(1, id);
  if (id <= 0 || read.Step() != SQLITE_ROW) return kDorvexFailed;
  *title = read.Text(0);
  std::vector<uint8_t> data = read.Blob(1);
  bytes->assign(data.begin(), data.end());
  return 0;
}

size_t DorvexLibrary::OpenDatabaseCount() const {
  size_t count = 0;
  for (const auto& open : state->databases) count += open != nullptr ? 1 : 0;
  return count;
}

size_t DorvexLibrary::OpenCurveCount() const {
  size_t count = 0;
  for (const auto& open : state->curves) count += open != nullptr ? 1 : 0;
  return count;
}

int DorvexBeginBatch(DorvexLibrary& library, uint32_t database) {
  OpenDatabase* open = FindDatabase(library, database);
  if (open == nullptr || sqlite3_get_autocommit(open->db) == 0) return kDorvexFailed;
  return sql::Execute(open->db, "BEGIN IMMEDIATE") ? 0 : kDorvexFailed;
}

int DorvexEndBatch(DorvexLibrary& library, uint32_t database, bool commit) {
  OpenDatabase* open = FindDatabase(library, database);
  if (open == nullptr || sqlite3_get_autocommit(open->db) != 0) return kDorvexFailed;
  if (commit && sql::Execute(open->db, "COMMIT")) return 0;
  if (commit) NoteFailure(library, open->db);
  sql::Execute(open->db, "ROLLBACK");
  return commit ? kDorvexFailed : 0;
}

}  // namespace dorvex
