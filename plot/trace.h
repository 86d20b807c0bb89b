// Trace: the lines that draw one curve over a range of pixel rows.
//
// A long log has many samples to a pixel row: a curve of 10 million samples
// shown in 1,000 rows has 10,000 to each. Drawing a line per sample would
// cost a segment each and show nothing more, so samples are gathered by
// row: each row keeps the first, lowest, highest and last position across
// the track, and the trace passes through them in that order, which draws
// exactly the row's extent (the min/max envelope) and joins it to the next
// row where the curve really goes. Rows farther apart than samples are
// drawn sample to sample. A missing value (NaN) ends a line, so gaps show
// as gaps; a lone sample between two gaps is kept as a dot. The samples are
// read once, in order, and the result has at most four points a row.
#pragma once

#include <QPolygonF>
#include <cstdint>
#include <vector>

#include "plot/depth_axis.h"
#include "plot/value_scale.h"

namespace tavlo {

struct SampleRun {
  const float* values = nullptr;
  int64_t count = 0;
  int32_t top = 0;   // index of the first value
  int32_t step = 1;  // index units between values
};

struct Across {
  ValueScale scale;
  double left = 0;   // x of the track's left edge
  double width = 1;  // of the track
};

// The lines of a curve between rows `firstRow` and `lastRow` of the axis.
std::vector<QPolygonF> TraceCurve(const SampleRun& samples, const DepthAxis& axis,
                                  double firstRow, double lastRow, const Across& across);

}  // namespace tavlo
