#include "model/sample_rate.h"

#include <cmath>
#include <cstdio>

namespace quillex {

double StepToRate(int32_t indexFactor, int32_t step) {
  return static_cast<double>(indexFactor) / (step == 0 ? kDefaultStep : step);
}

int32_t RateToStep(int32_t indexFactor, double rate) {
  if (!(rate > 0.0)) return kDefaultStep;
  double step = std::trunc(indexFactor / rate);
  // A rate so small that the step leaves 32 bits cannot be sampled at all.
  if (step > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(step);
}

std::string OutputListLine(int32_t indexFactor, const OutputDef& output) {
  char rate[64];
  std::snprintf(rate, sizeof rate, "%-5g ", StepToRate(indexFactor, output.step));
  std::string line = output.name;
  if (line.size() < 11) line.resize(11, ' ');
  return line + rate + output.formula;
}

}  // namespace quillex
