// The regular grid a curve is stored on, and how each of its steps takes its
// value from the rows of a file.
//
// A curve is a top, a step of 1 to 65535 whole index units, and a value for
// every step. The grid starts at the first row's index, rounded, and its step
// is the rows' median spacing rounded to whole index units, unless the user
// asks for another. Real files rarely fit such a grid to the index unit: a
// 0.1524 m step is 2999.994 index units, a 0.05 m step 984.25, and STEP 0
// files wander freely.
//
// So every step of the grid looks for the row nearest to it. A row within a
// tenth of a step gives its value as it is: a tenth of a step is far below
// what any logging tool resolves, and the values the file wrote survive
// (0.1524 m data stays exactly as written for 250000 samples). Farther than
// that, the step's value is the straight line between the rows either side
// of it, as the database itself reads between samples; across a gap of more
// than twice the median spacing it is missing, since nothing was measured
// there. Depths are never allowed to drift: a row placed on the grid is never
// more than a tenth of a step from where the file put it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace las {

struct LasGrid {
  int32_t top = 0;
  int32_t step = 0;
  int64_t count = 0;
};

struct LasPlan {
  std::vector<int64_t> from;   // the position a step's value comes from; -1: missing
  std::vector<double> weight;  // 0: that position's value as it is; else the share of the next
  int64_t interpolated = 0;    // steps whose value is interpolated
  int64_t gaps = 0;            // steps left missing in gaps of the data
  double moved = 0;            // the farthest a value taken as it is moved, in index units
};

// The median distance between neighbouring positions; 0 for fewer than two.
double MedianSpacing(const std::vector<double>& at);

// The grid of a step from the first position to the last one it reaches.
LasGrid GridFor(const std::vector<double>& at, int32_t step);

LasPlan PlanGrid(const std::vector<double>& at, const LasGrid& grid, double spacing);

// A curve's values on the grid: values[rows[position] * stride] are the
// curve's values at the positions.
std::vector<float> ApplyPlan(const LasPlan& plan, const double* values, size_t stride,
                             const std::vector<size_t>& rows);

}  // namespace las
