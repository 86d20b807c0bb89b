#include "libs/dorvex/sqlite_util.h"

namespace dorvex {

namespace sql {

Statement::Statement(sqlite3* db, const char* sql) {
  if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::Bind(int column, int64_t value) {
  if (statement_ != nullptr) sqlite3_bind_int64(statement_, column, value);
  return *this;
}

Statement& Statement::Bind(int column, const std::string& text) {
  if (statement_ != nullptr) {
    sqlite3_bind_text(statement_, column, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
  }
  return *this;
}

Statement& Statement::BindBlob(int column, const void* data, size_t size) {
  if (statement_ != nullptr) {
    sqlite3_bind_blob64(statement_, column, data, size, SQLITE_TRANSIENT);
  }
  return *this;
}

Statement& Statement::BindBlobInPlace(int column, const void* data, size_t size) {
  if (statement_ != nullptr) sqlite3_bind_blob64(statement_, column, data, size, SQLITE_STATIC);
  return *this;
}

int Statement::Step() { return statement_ == nullptr ? SQLITE_ERROR : sqlite3_step(statement_); }

void Statement::Reset() {
  if (statement_ != nullptr) {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
}

bool Statement::Run() {
  int result = Step();
  while (result == SQLITE_ROW) result = Step();
  return result == SQLITE_DONE;
}

int64_t Statement::Integer(int column) const { return sqlite3_column_int64(statement_, column); }

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_, column);
  return text == nullptr ? std::string()
                         : std::string(reinterpret_cast<const char*>(text),
                                       static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
}

std::vector<uint8_t> Statement::Blob(int column) const {
  const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(statement_, column));
  int size = sqlite3_column_bytes(statement_, column);
  return data == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(data, data + size);
}

std::pair<const uint8_t*, size_t> Statement::BlobBytes(int column) const {
  const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(statement_, column));
  return {data, static_cast<size_t>(sqlite3_column_bytes(statement_, column))};
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

// Inside a batch (a transaction already open on the connection) each
// operation becomes a savepoint of it, so that the batch commits or rolls
// back as a whole.
Transaction::Transaction(sqlite3* db) : db_(db) {
  nested_ = sqlite3_get_autocommit(db) == 0;
  began_ = Execute(db, nested_ ? "SAVEPOINT operation" : "BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (!began_ || done_) return;
  if (nested_) {
    Execute(db_, "ROLLBACK TO operation");
    Execute(db_, "RELEASE operation");
  } else {
    Execute(db_, "ROLLBACK");
  }
}

bool Transaction::Commit() {
  if (!began_ || done_) return false;
  done_ = Execute(db_, nested_ ? "RELEASE operation" : "COMMIT");
  return done_;
}

bool Execute(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace sql

}  // namespace dorvex
