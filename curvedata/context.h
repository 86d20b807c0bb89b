// The process-wide state, in one object passed by reference.
//
// Everything the system keeps for the life of the process (the job, the run
// state, the filter instances, the index factor, the editor's state) lives
// here rather than in globals, so each test starts from a fresh context and
// two contexts never meet.
#pragma once

#include <cstdint>
#include <vector>

#include "curvedata/dorvex_sample_reader.h"
#include "curvedata/screen.h"
#include "job/job.h"
#include "job/run_state.h"
#include "libs/corutil/corutil.h"
#include "libs/dorvex/dorvex.h"
#include "libs/sift32/sift32.h"

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
  DorvexLibrary dorvex;   // databases, curves and unit conversions
  Sift32Library filters;  // the filter instances of every formula
  Job job;
  RunState run;
  // Index units per displayed unit: 6000 (feet), 19685 (metres) or 100 (time);
  // 0 until it is first set.
  int32_t indexFactor = 0;
  bool metric = false;    // depths shown in metres (the library's setting 3)
  // The kind of data the run reads: 1 depth, 0 time (kept as "Drive").
  int32_t runMode = 1;
  std::vector<UnitEntry> units;  // the unit list, loaded when the main window opens
  int32_t unitCount = 0;
  // Input variables read their samples from the log database; tests may put
  // a reader of their own here. Null: every variable read fails.
  DorvexSampleReader dorvexReader{dorvex};
  SampleReader* sampleReader = &dorvexReader;
  EditorState editor;
};
