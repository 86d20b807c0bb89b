// The inside of a DorvexLibrary, private to the library.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "libs/dorvex/checkpointer.h"
#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/fault_vfs.h"

struct sqlite3;

namespace dorvex {

namespace internal {

// The schema this library writes; a file with any other user_version or
// application_id is not one of our databases and is refused.
constexpr int kSchemaVersion = 1;
constexpr int kApplicationId = 0x44525658;  // "DRVX"

// Samples are kept in rows of this many elements: large enough that a long
// curve is a few hundred rows, small enough that committing a few new samples
// rewrites little.
constexpr int64_t kChunkElements = 4096;

// What kind of item a row of the item table is.
enum ItemKind : int { kNode = 0, kCurveItem = 1, kFileItem = 2 };

struct OpenDatabase {
  sqlite3* db = nullptr;
  std::string file;
  std::unique_ptr<Checkpointer> checkpointer;  // stopped before db is closed
};

struct OpenCurve {
  uint32_t database = 0;
  int64_t item = 0;
  int32_t mode = kDorvexRead;
  uint8_t info[kDorvexCurveInfoSize] = {};
  int32_t top = 0;
  int32_t step = 0;         // index units between elements; 0 = one value
  int32_t elementSize = 4;
  bool openEnd = false;     // still being recorded
  int64_t count = 0;        // elements recorded
  // Every element from `base` on, cached. Curves opened for reading share the
  // cache of the same finished item: a run opens one input for each variable
  // that reads it. A curve written from its top down lets the chunks it has
  // committed go (base is then above 0, on a chunk boundary); any other use
  // of it loads them back first.
  std::shared_ptr<std::vector<uint8_t>> data = std::make_shared<std::vector<uint8_t>>();
  int64_t base = 0;
  // Writing: the elements not yet committed, and when the last commit was.
  int64_t dirtyFrom = -1;
  int64_t dirtyTo = -1;
  int64_t committedCount = 0;
  bool openEndCommitted = false;
  std::chrono::steady_clock::time_point lastCommit;
  std::chrono::steady_clock::time_point lastRefresh;
  uint32_t writesSinceClock = 0;
};

}  // namespace internal

struct DorvexLibrary::State {
  std::string home;  // ends in "/"; empty until DorvexInitialize
  int32_t metricDepth = 0;
  int32_t unitSystem = 0;
  // Handle h is slot h - 1; a closed handle leaves a null slot behind so that
  // handles are never reused while a caller may still hold them.
  std::vector<std::unique_ptr<internal::OpenDatabase>> databases;
  std::vector<std::unique_ptr<internal::OpenCurve>> curves;
  std::unique_ptr<UnitTable> units = std::make_unique<UnitTable>();
  std::string lastError;  // DorvexLastError
  // Set by DorvexInjectFaults: the file system the connections then use.
  std::unique_ptr<internal::FaultVfs> faults;
};

namespace internal {

inline OpenDatabase* FindDatabase(DorvexLibrary& library, uint32_t handle) {
  auto& slots = library.state->databases;
  return handle != 0 && handle <= slots.size() ? slots[handle - 1].get() : nullptr;
}

inline OpenCurve* FindCurve(DorvexLibrary& library, uint32_t handle) {
  auto& slots = library.state->curves;
  return handle != 0 && handle <= slots.size() ? slots[handle - 1].get() : nullptr;
}

// Commits what a curve has buffered; false when the database refused it
// (the reason noted for DorvexLastError).
bool CommitCurve(DorvexLibrary& library, OpenCurve& curve);

// The file `name` in `folder`, found as DorvexDatabaseFile says.
std::string FindDatabaseFile(const std::string& folder, const std::string& name);

// Notes why an operation failed, for DorvexLastError: a SQLite result code,
// or the last one of a connection (none: the file could not be opened).
void NoteFailure(DorvexLibrary& library, int code);
void NoteFailure(DorvexLibrary& library, sqlite3* db);

}  // namespace internal

}  // namespace dorvex
