#include "plot/value_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tavlo {

bool ValueScale::IsValid() const {
  if (!std::isfinite(left) || !std::isfinite(right) || left == right) return false;
  return kind == ScaleKind::kLinear || (left > 0 && right > 0);
}

double ValueScale::Fraction(double value) const {
  if (kind == ScaleKind::kLinear) return (value - left) / (right - left);
  if (value <= 0) return -std::numeric_limits<double>::infinity();
  return std::log(value / left) / std::log(right / left);
}

double ValueScale::ValueAt(double fraction) const {
  if (kind == ScaleKind::kLinear) return left + fraction * (right - left);
  return left * std::pow(right / left, fraction);
}

TrackGrid LinearGrid(int divisions) {
  TrackGrid grid;
  divisions = std::max(divisions, 1);
  for (int line = 1; line < divisions; ++line) {
    (2 * line == divisions ? grid.heavy : grid.thin).push_back(double(line) / divisions);
  }
  return grid;
}

TrackGrid LogarithmicGrid(const ValueScale& scale) {
  TrackGrid grid;
  if (scale.kind != ScaleKind::kLogarithmic || !scale.IsValid()) return grid;
  double low = std::min(scale.left, scale.right);
  double high = std::max(scale.left, scale.right);
  // A little slack, so that an end on a decade is not lost to rounding.
  for (double decade = std::pow(10.0, std::floor(std::log10(low)) - 1); decade <= high * 1.0001;
       decade *= 10) {
    for (int multiple = 1; multiple <= 9; ++multiple) {
      double value = decade * multiple;
      if (value < low * 0.9999 || value > high * 1.0001) continue;
      double fraction = scale.Fraction(value);
      if (fraction <= 1e-9 || fraction >= 1 - 1e-9) continue;  // the track's edges
      (multiple == 1 ? grid.heavy : grid.thin).push_back(fraction);
    }
  }
  return grid;
}

}  // namespace tavlo
