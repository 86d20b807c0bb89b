// The automatic layout: a plot made from the curves' names and units when
// no presentation says how, as log analysts arrange the common curves:
// gamma ray, caliper and SP in track 1, the depth track, resistivities on a
// logarithmic scale in track 2, porosities and density in track 3, anything
// else in further tracks, three to a track.
//
// The same knowledge gives a presentation's curves their customary scale
// and colour when the file leaves them out: GR 0 to 150 GAPI, resistivities
// 0.2 to 2000 on four decades, neutron porosity reversed 0.45 to -0.15,
// bulk density 1.95 to 2.95 and so on. A curve it does not know is fitted
// to its data (FittedScale) once that is read.
#pragma once

#include <QString>
#include <vector>

#include "libs/dorvex/units.h"
#include "plot/presentation.h"

namespace tavlo {

struct CurveSummary {
  QString name;   // the curve's item name (mnemonic)
  QString units;  // the unit's mnemonic ("" for none)
  dorvex::UnitDimension dimension = dorvex::UnitDimension::kUnknown;
};

// The customary style of a curve named by a presentation reference (the
// mnemonic is its last component that is not a pass number), or one fitted
// to the data; `units` tells porosity in percent from fractions.
CurveStyle KnownCurveStyle(const QString& reference, const QString& units = QString());

// The mnemonic of a curve reference: "LOGS/GR/2" is GR.
QString MnemonicOf(const QString& reference);

Presentation AutomaticLayout(const std::vector<CurveSummary>& curves);

// A scale over [low, high] with round ends, for curves nobody gave a scale;
// 0 to 1 when the data gives no range.
ValueScale FittedScale(double low, double high);

}  // namespace tavlo
