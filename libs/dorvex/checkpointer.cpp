#include "libs/dorvex/checkpointer.h"

#include <sqlite3.h>

#include <system_error>

namespace dorvex {

namespace internal {

Checkpointer::Checkpointer(sqlite3* db, std::string file) : db_(db), file_(std::move(file)) {
  // The hook replaces SQLite's own, which checkpoints in the committing
  // thread once the log holds 1000 pages.
  sqlite3_wal_hook(db, &Checkpointer::OnCommit, this);
}

Checkpointer::~Checkpointer() {
  sqlite3_wal_hook(db_, nullptr, nullptr);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

int Checkpointer::OnCommit(void* self, sqlite3*, const char*, int pages) {
  if (pages >= kCheckpointPages) static_cast<Checkpointer*>(self)->Request();
  return SQLITE_OK;
}

void Checkpointer::Request() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requested_ = true;
  }
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread(&Checkpointer::Loop, this);
    } catch (const std::system_error&) {
      // No thread to be had: checkpoint here, as SQLite would have.
      sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
      return;
    }
  }
  wake_.notify_one();
}

void Checkpointer::Loop() {
  sqlite3* db = nullptr;
  // A connection finds the file in WAL mode only once it has read it.
  if (sqlite3_open_v2(file_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
      sqlite3_exec(db, "PRAGMA user_version", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db);
    db = nullptr;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return requested_ || stopping_; });
    if (stopping_) break;
    requested_ = false;
    lock.unlock();
    // A failure (another checkpoint under way, a full disk) leaves the pages
    // in the log, for the next checkpoint or the last close.
    if (db != nullptr) {
      sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    }
    lock.lock();
  }
  lock.unlock();
  sqlite3_close_v2(db);
}

}  // namespace internal

}  // namespace dorvex
