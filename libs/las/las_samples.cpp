#include "libs/las/las_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "libs/las/index_positions.h"
#include "libs/las/las_lines.h"
#include "libs/las/las_number.h"

namespace las {

namespace {

constexpr int32_t kLargestStep = 65535;
// A grid may have this many steps for each row before it is taken for a
// mistake (a wide gap, a step far too fine) rather than data.
constexpr int64_t kStepsPerRow = 16;

// Seven significant digits, and never an exponent: numbers for people.
std::string Digits(double value) {
  if (value == 0 || !std::isfinite(value)) return LasNumberText(value);
  int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", std::clamp(6 - magnitude, 0, 15), value);
  std::string digits = text;
  if (digits.find('.') == std::string::npos) return digits;
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.back() == '.') digits.pop_back();
  return digits;
}

// Index units as a length or time in the file's unit: "0.1524 M".
std::string InUnit(double index, const LasIndexUnit& unit) {
  return Digits(index * static_cast<double>(unit.denominator) /
                static_cast<double>(unit.numerator)) +
         " " + unit.mnemonic;
}

const LasIndexUnit* IndexUnitOf(const LasFile& file, LasProblem* problem) {
  const LasHeaderLine& index = file.curves.front();
  const LasHeaderLine* start = file.FindWell("STRT");
  std::string text = !index.unit.empty() || start == nullptr ? index.unit : start->unit;
  const LasIndexUnit* unit = FindIndexUnit(text);
  if (unit != nullptr) return unit;
  *problem = {index.line, text.empty()
                              ? "the index " + index.mnemonic +
                                    " has no unit; it must "
                                    "be one of " +
                                    kIndexUnitChoice
                              : "the index unit '" + text + "' is none of " + kIndexUnitChoice};
  return nullptr;
}

// What the placement works from.
struct Placement {
  const LasFile& file;
  const LasSampleOptions& options;
  const LasIndexUnit& unit;
  LasPositions positions;
  double spacing = 0;  // the median spacing, index units
  LasCurveSet* set;
};

// The step a single row gets: the header's, as there is no spacing to go by.
bool LoneRowStep(const Placement& p, double* step, LasProblem* problem) {
  const LasHeaderLine* line = p.file.FindWell("STEP");
  double value = 0;
  if (line != nullptr && ReadLasNumber(FirstLasWord(line->value), &value) && value != 0) {
    *step = std::fabs(p.unit.ToIndex(value));
    return true;
  }
  *problem = {p.file.dataLine, "one data row and no STEP to tell the step by: give --step"};
  return false;
}

bool AskedStep(const Placement& p, int32_t* step, LasProblem* problem) {
  int64_t perUnit = p.unit.time ? 100 : p.options.depthIndexPerUnit;
  double wanted = std::round(p.options.step * static_cast<double>(perUnit));
  if (wanted >= 1 && wanted <= kLargestStep) {
    *step = static_cast<int32_t>(wanted);
    return true;
  }
  *problem = {0, "--step " + LasNumberText(p.options.step) + " comes to " + Digits(wanted) +
                     " index units; a curve's step must be 1 to 65535"};
  return false;
}

bool ChooseStep(Placement& p, int32_t* step, LasProblem* problem) {
  if (p.options.step > 0) return AskedStep(p, step, problem);
  double spacing = p.spacing;
  if (p.positions.at.size() == 1 && !LoneRowStep(p, &spacing, problem)) return false;
  double rounded = std::round(spacing);
  if (rounded > kLargestStep) {
    *problem = {p.file.dataLine, "the data's step, " + InUnit(spacing, p.unit) + ", is " +
                                     Digits(rounded) +
                                     " index units, more than the 65535 a "
                                     "curve's step holds: give a finer --step"};
    return false;
  }
  if (rounded < 1) {
    p.set->notes.push_back({p.file.dataLine, "the data's step, " + InUnit(spacing, p.unit) +
                                                 ", is finer than one index unit: stored at "
                                                 "one index unit"});
  }
  *step = std::max(1, static_cast<int32_t>(rounded));
  return true;
}

bool CheckGrid(const Placement& p, const LasGrid& grid, LasProblem* problem) {
  int64_t rows = static_cast<int64_t>(p.positions.at.size());
  double end = grid.top + static_cast<double>(grid.count - 1) * grid.step;
  if (grid.count > kStepsPerRow * rows + 1024) {
    *problem = {p.file.dataLine, "the data rows spread over " + std::to_string(grid.count) +
                                     " steps of " + std::to_string(grid.step) +
                                     " index units, "
                                     "more than 16 for each row: the data has a wide gap, or "
                                     "the step is far too fine"};
  } else if (!(end < kLasIndexLimit)) {
    *problem = {p.file.dataLine, "the data reaches beyond the database's range"};
  } else {
    return true;
  }
  return false;
}

std::string StepReason(const Placement& p, int32_t step) {
  if (p.options.step > 0) return "as --step asks";
  if (std::fabs(p.spacing - step) < 0.001) return "the data's median spacing";
  return "the data's median spacing, " + Digits(p.spacing) + " index units, rounded";
}

void NotePlan(const Placement& p, const LasPlan& plan, const LasGrid& grid) {
  std::string step = "a regular step of " + InUnit(grid.step, p.unit) + " (" +
                     std::to_string(grid.step) + " index units, " + StepReason(p, grid.step) + ")";
  std::string message;
  if (plan.interpolated > 0 || plan.gaps > 0) {
    message = "resampled to " + step + ": " + std::to_string(plan.interpolated) + " of " +
              std::to_string(grid.count) + " values interpolated between neighbouring rows, " +
              std::to_string(plan.gaps) + " left missing in gaps of the data";
  } else if (plan.moved > 0.5) {
    message = "placed on " + step + ": rows moved to the nearest step by at most " +
              InUnit(plan.moved, p.unit) + "; the values are as the file wrote them";
  } else {
    return;
  }
  p.set->notes.push_back({p.file.dataLine, message});
}

// A header value that should match the data: STRT, STOP or STEP.
void CompareWell(const Placement& p, const char* mnemonic, double data, const char* what) {
  const LasHeaderLine* line = p.file.FindWell(mnemonic);
  double value = 0;
  if (line == nullptr || line->value.empty()) return;
  std::string name = std::string(mnemonic) + " " + line->value;
  if (!ReadLasNumber(FirstLasWord(line->value), &value)) {
    p.set->notes.push_back({line->line, name + " is not a number"});
  } else if (std::fabs(p.unit.ToIndex(value) - p.unit.ToIndex(data)) > 0.5 &&
             !(std::string_view(mnemonic) == "STEP" && value == 0)) {
    p.set->notes.push_back(
        {line->line, name + " is not " + what + ", " + Digits(data) + "; the data wins"});
  }
}

void CompareHeader(const Placement& p) {
  const LasPositions& at = p.positions;
  size_t width = p.file.Width();
  size_t first = at.decreasing ? at.rows.back() : at.rows.front();
  size_t last = at.decreasing ? at.rows.front() : at.rows.back();
  CompareWell(p, "STRT", p.file.values[first * width], "the data's first index value");
  CompareWell(p, "STOP", p.file.values[last * width], "the data's last index value");
  if (at.at.size() < 2) return;
  double step = (at.decreasing ? -p.spacing : p.spacing) * static_cast<double>(p.unit.denominator) /
                static_cast<double>(p.unit.numerator);
  CompareWell(p, "STEP", step, "the data's step");
}

bool Place(Placement& p, LasProblem* problem) {
  LasCurveSet& set = *p.set;
  int32_t step = 0;
  if (!ChooseStep(p, &step, problem)) return false;
  set.grid = GridFor(p.positions.at, step);
  if (!CheckGrid(p, set.grid, problem)) return false;
  LasPlan plan = PlanGrid(p.positions.at, set.grid, p.spacing);
  for (size_t c = 1; c < p.file.Width(); ++c) {
    set.columns.push_back(
        ApplyPlan(plan, p.file.values.data() + c, p.file.Width(), p.positions.rows));
  }
  CompareHeader(p);
  NotePlan(p, plan, set.grid);
  return true;
}

}  // namespace

bool PlaceSamples(const LasFile& file, const LasSampleOptions& options, LasCurveSet* set,
                  LasProblem* problem) {
  *set = LasCurveSet();
  set->notes = file.notes;
  set->unit = IndexUnitOf(file, problem);
  if (set->unit == nullptr) return false;
  Placement placement{file, options, *set->unit, {}, 0, set};
  if (!FindPositions(file, *set->unit, &placement.positions, &set->notes, problem)) return false;
  placement.spacing = MedianSpacing(placement.positions.at);
  if (!Place(placement, problem)) return false;
  std::stable_sort(set->notes.begin(), set->notes.end(),
                   [](const LasProblem& a, const LasProblem& b) { return a.line < b.line; });
  return true;
}

}  // namespace las
