// ValueScale: where a curve's value lies across its track.
//
// A track is drawn from its left edge (fraction 0) to its right edge
// (fraction 1); a scale maps a value to such a fraction, linearly or on a
// logarithm. A scale whose left value is larger than its right one is
// reversed (neutron porosity runs 0.45 to -0.15): nothing else marks it.
// Values beyond the ends give fractions beyond 0 and 1 and are clipped where
// they are drawn, so that a curve leaving its track is seen to leave it. A
// logarithmic scale gives minus infinity for a value of 0 or below.
#pragma once

#include <vector>

namespace tavlo {

enum class ScaleKind { kLinear, kLogarithmic };

struct ValueScale {
  ScaleKind kind = ScaleKind::kLinear;
  double left = 0;
  double right = 1;

  // Usable: distinct ends, and both above 0 for a logarithmic scale.
  bool IsValid() const;
  double Fraction(double value) const;
  // The value at a fraction across: the inverse of Fraction.
  double ValueAt(double fraction) const;
};

// Grid lines of a track, as fractions across it, thin and heavy apart.
struct TrackGrid {
  std::vector<double> thin;
  std::vector<double> heavy;
};

// Linear: `divisions` equal parts, the middle line heavy when there is one.
TrackGrid LinearGrid(int divisions);
// Logarithmic: a heavy line at every decade and thin ones at 2 to 9 times
// it, over the scale's range (either direction).
TrackGrid LogarithmicGrid(const ValueScale& scale);

}  // namespace tavlo
