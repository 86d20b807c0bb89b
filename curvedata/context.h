// The process-wide state, in one object passed by reference.
//
// Everything the system keeps for the life of the process (the job, the run
// state, the filter instances, the index factor, the editor's state) lives
// here rather than in globals, so each test starts from a fresh context and
// two contexts never meet.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "curvedata/dorvex_sample_reader.h"
#include "libs/corutil/corutil.h"
#include "libs/dorvex/dorvex.h"
#include "libs/sift32/sift32.h"
#include "model/job.h"
#include "model/run_state.h"
#include "model/screen.h"

namespace quillex {

// A database a run reads from, kept open by name. The slot is free when its
// handle is 0, whatever name it still holds.
struct DatabaseSlot {
  std::string name;     // the database's base name
  uint32_t handle = 0;
};

// A run reads from at most this many databases at a time.
constexpr size_t kDatabaseSlots = 3;

// What the formula editor keeps while it is open.
struct EditorState {
  // Control ids of the variable grid's row windows, one entry a row.
  std::vector<int32_t> gridWindows;
};

struct Context {
  explicit Context(Screen& screen) : screen(screen) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  Screen& screen;
  dorvex::DorvexLibrary dorvex;   // databases, curves and unit conversions
  sift32::Sift32Library filters;  // the filter instances of every formula
  Job job;
  RunState run;
  // Index units per displayed unit: 6000 (feet), 19685 (metres) or 100 (time);
  // 0 until it is first set.
  int32_t indexFactor = 0;
  bool metric = false;    // depths shown in metres (the library's setting 3)
  // The kind of data the run reads: 1 depth, 0 time (kept as "Drive").
  int32_t runMode = 1;
  // The next input connected is the run's first: it decides depth or time.
  bool firstInput = false;
  std::array<DatabaseSlot, kDatabaseSlots> slots;
  uint32_t outputDatabase = 0;  // the run's output database, open for the run
  std::vector<corutil::UnitEntry> units;  // the unit list, loaded when the main window opens
  int32_t unitCount = 0;
  // Input variables read their samples from the log database; tests may put
  // a reader of their own here. Null: every variable read fails.
  DorvexSampleReader dorvexReader{dorvex};
  SampleReader* sampleReader = &dorvexReader;
  EditorState editor;
};

}  // namespace quillex
