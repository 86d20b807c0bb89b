// From a LAS file as read to curves on the database's grid: which unit the
// index is in, where the rows lie, which step the curves get, and each
// curve's value at every step (sample_grid.h says how).
//
// Where the header's STRT, STOP or STEP disagree with the data, the data
// wins: real files often stop early, or keep a STRT from before the data was
// cut. Every such disagreement, every row left out and every resampling is
// told in the notes, so an import can say what it did to the file.
#pragma once

#include <cstdint>
#include <vector>

#include "libs/las/index_unit.h"
#include "libs/las/las_file.h"
#include "libs/las/sample_grid.h"

namespace las {

struct LasSampleOptions {
  double step = 0;                   // the step asked for, in display units; 0: the data's
  int64_t depthIndexPerUnit = 6000;  // index units to the display depth unit (feet or metres)
};

struct LasCurveSet {
  const LasIndexUnit* unit = nullptr;
  LasGrid grid;
  std::vector<std::vector<float>> columns;  // a curve after the index each, on the grid
  std::vector<LasProblem> notes;            // the file's notes, then the placement's
};

bool PlaceSamples(const LasFile& file, const LasSampleOptions& options, LasCurveSet* set,
                  LasProblem* problem);

}  // namespace las
