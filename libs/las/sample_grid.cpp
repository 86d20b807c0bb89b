#include "libs/las/sample_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace las {

namespace {

// How near a row must be to a step to give its value as it is: a tenth of a
// step, and never less than the half unit that rounding to whole index
// units moves every row anyway.
double Tolerance(int32_t step) { return std::max(0.5, step / 10.0); }

}  // namespace

double MedianSpacing(const std::vector<double>& at) {
  if (at.size() < 2) return 0;
  std::vector<double> spacing(at.size() - 1);
  for (size_t k = 0; k + 1 < at.size(); ++k) spacing[k] = at[k + 1] - at[k];
  auto middle = spacing.begin() + static_cast<std::ptrdiff_t>(spacing.size() / 2);
  std::nth_element(spacing.begin(), middle, spacing.end());
  return *middle;
}

LasGrid GridFor(const std::vector<double>& at, int32_t step) {
  LasGrid grid;
  grid.top = static_cast<int32_t>(std::llround(at.front()));
  grid.step = step;
  double reach = at.back() + Tolerance(step) - grid.top;
  grid.count = static_cast<int64_t>(std::floor(reach / step)) + 1;
  return grid;
}

// Walks the grid and the positions together, once.
LasPlan PlanGrid(const std::vector<double>& at, const LasGrid& grid, double spacing) {
  LasPlan plan;
  plan.from.resize(static_cast<size_t>(grid.count));
  plan.weight.resize(static_cast<size_t>(grid.count));
  double tolerance = Tolerance(grid.step);
  double widest = 2 * spacing;
  size_t k = 0;
  for (size_t j = 0; j < plan.from.size(); ++j) {
    double g = grid.top + static_cast<double>(j) * grid.step;
    while (k + 1 < at.size() && at[k + 1] <= g) ++k;
    size_t near = k + 1 < at.size() && at[k + 1] - g < std::fabs(at[k] - g) ? k + 1 : k;
    double distance = std::fabs(at[near] - g);
    if (distance <= tolerance) {
      plan.from[j] = static_cast<int64_t>(near);
      plan.moved = std::max(plan.moved, distance);
    } else if (k + 1 < at.size() && at[k] <= g && at[k + 1] - at[k] <= widest) {
      plan.from[j] = static_cast<int64_t>(k);
      plan.weight[j] = (g - at[k]) / (at[k + 1] - at[k]);
      ++plan.interpolated;
    } else {
      plan.from[j] = -1;
      ++plan.gaps;
    }
  }
  return plan;
}

std::vector<float> ApplyPlan(const LasPlan& plan, const double* values, size_t stride,
                             const std::vector<size_t>& rows) {
  constexpr float kMissing = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> curve(plan.from.size());
  for (size_t j = 0; j < curve.size(); ++j) {
    int64_t from = plan.from[j];
    if (from < 0) {
      curve[j] = kMissing;
      continue;
    }
    double a = values[rows[static_cast<size_t>(from)] * stride];
    double w = plan.weight[j];
    // A missing neighbour leaves the step missing: NaN carries through.
    double b = w == 0 ? a : values[rows[static_cast<size_t>(from) + 1] * stride];
    curve[j] = static_cast<float>(w == 0 ? a : a + w * (b - a));
  }
  return curve;
}

}  // namespace las
