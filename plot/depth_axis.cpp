#include "plot/depth_axis.h"

#include <cmath>
#include <cstdio>

namespace tavlo {

DisplayUnit Feet() { return {6000, "FT"}; }
DisplayUnit Metres() { return {19685, "M"}; }
DisplayUnit Seconds() { return {100, "S"}; }

namespace {

constexpr double kIndexPerSecond = 100;

// The round values 1, 2, 5, 10, 20, ... times powers of ten, from the
// smallest one at least `least` on.
double RoundAtLeast(double least) {
  double power = std::pow(10.0, std::floor(std::log10(least)));
  for (;; power *= 10) {
    for (double mantissa : {1.0, 2.0, 5.0}) {
      if (mantissa * power >= least * (1 - 1e-9)) return mantissa * power;
    }
  }
}

// The smallest round multiple of `step` at least `least`.
double RoundMultipleAtLeast(double step, double least) {
  double value = RoundAtLeast(least);
  while (std::fabs(std::remainder(value, step)) > step * 1e-6) value = RoundAtLeast(value * 1.01);
  return value;
}

}  // namespace

double PixelsPerIndex(double scale, bool timeBased, double pixelsPerInch) {
  if (!(scale > 0)) scale = timeBased ? 100 : 240;
  double indexPerInch = timeBased ? scale * kIndexPerSecond : scale * kIndexPerInchOfDepth;
  return pixelsPerInch / indexPerInch;
}

double ScaleOf(double pixelsPerIndex, bool timeBased, double pixelsPerInch) {
  double indexPerInch = pixelsPerInch / pixelsPerIndex;
  return indexPerInch / (timeBased ? kIndexPerSecond : kIndexPerInchOfDepth);
}

DepthGrid ChooseDepthGrid(double pixelsPerUnit) {
  DepthGrid grid;
  if (!(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit)) return grid;
  grid.thin = RoundAtLeast(5 / pixelsPerUnit);
  grid.heavy = RoundMultipleAtLeast(grid.thin, 5 * grid.thin);
  grid.labelled = RoundMultipleAtLeast(grid.heavy, std::max(grid.heavy, 40 / pixelsPerUnit));
  return grid;
}

std::string DepthLabel(double value, double labelledStep) {
  int decimals = 0;
  while (decimals < 6 && std::fabs(labelledStep * std::pow(10.0, decimals) -
                                   std::round(labelledStep * std::pow(10.0, decimals))) > 1e-6) {
    ++decimals;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::vector<double> GridValues(double from, double to, double step) {
  std::vector<double> values;
  if (!(step > 0) || !(to >= from) || (to - from) / step > 100000) return values;
  for (double k = std::ceil(from / step - 1e-9); k * step <= to + step * 1e-9; k += 1) {
    values.push_back(k * step);
  }
  return values;
}

}  // namespace tavlo
