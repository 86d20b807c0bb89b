#include "plot/plot_model.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

bool PlotModel::Extent(double* top, double* bottom) const {
  bool any = false;
  for (const auto& track : data) {
    for (const LogCurve* curve : track) {
      if (curve == nullptr || curve->samples.empty()) continue;
      *top = any ? std::min<double>(*top, curve->top) : curve->top;
      *bottom = any ? std::max(*bottom, curve->Bottom()) : curve->Bottom();
      any = true;
    }
  }
  return any;
}

QString ScaleText(double scale, bool timeBased) {
  // A scale worked out to fit a height is shown whole: 1:1234, not 1:1234.57.
  QString number = scale >= 10 ? QString::number(std::round(scale)) : QString::number(scale, 'g', 3);
  return timeBased ? number + " S/IN" : "1:" + number;
}

}  // namespace tavlo
