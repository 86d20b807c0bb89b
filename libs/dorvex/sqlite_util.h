// Small RAII wrappers over the SQLite C API, private to the library.
//
// A Statement finalizes itself; a Transaction rolls back in its destructor
// unless Commit succeeded, so every early return leaves the database as it
// was. Destructors never throw.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace dorvex {

namespace sql {

class Statement {
 public:
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return statement_ != nullptr; }
  Statement& Bind(int column, int64_t value);
  Statement& Bind(int column, const std::string& text);
  Statement& BindBlob(int column, const void* data, size_t size);
  // Binds without a copy: the bytes must stay as they are until the column
  // is bound again or the statement is gone.
  Statement& BindBlobInPlace(int column, const void* data, size_t size);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  // Makes the statement ready to run again with new bindings.
  void Reset();
  // Runs to completion; true when it ended in SQLITE_DONE.
  bool Run();
  int64_t Integer(int column) const;
  std::string Text(int column) const;
  std::vector<uint8_t> Blob(int column) const;
  // The bytes of a blob column without a copy, valid until the next step.
  std::pair<const uint8_t*, size_t> BlobBytes(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3_stmt* statement_ = nullptr;
};

class Transaction {
 public:
  explicit Transaction(sqlite3* db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool began() const { return began_; }
  bool Commit();

 private:
  sqlite3* db_;
  bool nested_ = false;
  bool began_ = false;
  bool done_ = false;
};

bool Execute(sqlite3* db, const char* sql);

}  // namespace sql

}  // namespace dorvex
