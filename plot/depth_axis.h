// DepthAxis: where an index value lies down the plot, and the depth grid.
//
// Index values are physical (6000 to the foot, 19685 to the metre, 100 to
// the second); the plot shows them in the display unit of the settings or
// of the run. The axis maps a range of index values linearly onto a range
// of pixel rows, depth growing downwards. The grid has three weights of
// line: thin, heavy and labelled, at round steps of the display unit chosen
// from the pixels a unit takes, so that thin lines stay a few pixels apart
// and labels never crowd, at any zoom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavlo {

struct DisplayUnit {
  double indexPerUnit = 6000;  // index values per foot, metre or second
  std::string label = "FT";
};

DisplayUnit Feet();
DisplayUnit Metres();
DisplayUnit Seconds();

// Index values in an inch of depth: 500 both ways (6000 / 12 and 19685 /
// 39.37), so a scale 1:N reads the same in feet and in metres.
constexpr double kIndexPerInchOfDepth = 500;
// Screens and exports count 96 pixels to the inch.
constexpr double kPixelsPerInch = 96;

// Pixels per index value at a display scale: 1:scale for depths (an inch of
// plot shows `scale` inches of hole), `scale` seconds to the inch for times.
double PixelsPerIndex(double scale, bool timeBased, double pixelsPerInch = kPixelsPerInch);
// The scale that shows `pixelsPerIndex`: the inverse of PixelsPerIndex.
double ScaleOf(double pixelsPerIndex, bool timeBased, double pixelsPerInch = kPixelsPerInch);

class DepthAxis {
 public:
  DepthAxis() = default;
  // Index `topIndex` at row `topRow`, `pixelsPerIndex` rows per index unit.
  DepthAxis(double topIndex, double topRow, double pixelsPerIndex)
      : topIndex_(topIndex), topRow_(topRow), pixelsPerIndex_(pixelsPerIndex) {}

  double Row(double index) const { return topRow_ + (index - topIndex_) * pixelsPerIndex_; }
  double IndexAt(double row) const { return topIndex_ + (row - topRow_) / pixelsPerIndex_; }
  double pixelsPerIndex() const { return pixelsPerIndex_; }

 private:
  double topIndex_ = 0;
  double topRow_ = 0;
  double pixelsPerIndex_ = 1;
};

// Grid steps in display units.
struct DepthGrid {
  double thin = 1;
  double heavy = 5;
  double labelled = 10;
};

// The steps for `pixelsPerUnit` pixels to a display unit: the thin step the
// smallest round value (1, 2 or 5 times a power of ten) at least 5 pixels
// long, the heavy one the smallest round multiple of it at least five times
// as long, the labelled one the smallest round multiple of that at least 40
// pixels long.
DepthGrid ChooseDepthGrid(double pixelsPerUnit);

// A depth label: as few decimals as the labelled step needs.
std::string DepthLabel(double value, double labelledStep);

// The grid lines of one weight between two depths (display units), as
// multiples of the step.
std::vector<double> GridValues(double from, double to, double step);

}  // namespace tavlo
