// Checkpoints in the background.
//
// In WAL mode every commit appends pages to the log, and a checkpoint copies
// them into the database file, syncing both to disk. SQLite would do that in
// the committing thread, holding the writer up while the disk catches up, and
// a long run writes tens of megabytes. Instead, once the log holds
// kCheckpointPages pages, a thread of the library's own checkpoints it through
// a connection of its own: a passive checkpoint, which never blocks the
// writer, so the disk works while the run computes. Closing the database
// stops the thread first; the close of the last connection then checkpoints
// what is left and removes the log, as SQLite always does.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct sqlite3;

namespace dorvex {

namespace internal {

class Checkpointer {
 public:
  // Log pages (64 KiB each) after which a checkpoint is asked for.
  static constexpr int kCheckpointPages = 64;

  // Takes over the checkpoints of `db`, a connection to `file`.
  Checkpointer(sqlite3* db, std::string file);
  // Stops the thread, after the checkpoint under way if there is one. Later
  // commits of `db` leave the checkpoints to SQLite's close.
  ~Checkpointer();
  Checkpointer(const Checkpointer&) = delete;
  Checkpointer& operator=(const Checkpointer&) = delete;

 private:
  static int OnCommit(void* self, sqlite3* db, const char* name, int pages);
  void Request();
  void Loop();

  sqlite3* db_;  // the writer's connection, which outlives the checkpointer
  std::string file_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool requested_ = false;
  bool stopping_ = false;
  std::thread thread_;  // started at the first request
};

}  // namespace internal

}  // namespace dorvex
