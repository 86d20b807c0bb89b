#include "formula/builtin_functions.h"

#include <strings.h>

#include <cmath>

#include "formula/evaluator.h"
#include "formula/filters.h"
#include "model/job.h"

namespace quillex {

namespace {

double Sqrt(Context&, const double* a) { return a[0] > 0.0 ? std::sqrt(a[0]) : 0.0; }
double Sin(Context&, const double* a) { return std::sin(a[0]); }
double Cos(Context&, const double* a) { return std::cos(a[0]); }
double Tan(Context&, const double* a) { return std::tan(a[0]); }
double Ln(Context&, const double* a) { return a[0] > 0.0 ? std::log(a[0]) : 0.0; }
double Log10(Context&, const double* a) { return a[0] > 0.0 ? std::log10(a[0]) : 0.0; }
double Abs(Context&, const double* a) { return std::fabs(a[0]); }

// The power function's errors are math errors, whose result is 0: a domain
// error (a negative base with a non-integral exponent) gives a NaN from
// numbers, a pole (0 to a negative power) or an overflow an infinity from
// finite numbers. They are told apart by the result rather than by the
// floating-point status flags, whose clearing costs more than the power
// itself. Underflow is not an error: its result is already as near 0 as a
// double gets; a NaN or an infinity given in passes through as the library
// makes it.
double Pow(Context& context, const double* a) {
  double result = std::pow(a[0], a[1]);
  if (std::isfinite(result)) return result;
  bool domain = std::isnan(result) && !std::isnan(a[0]) && !std::isnan(a[1]);
  bool infinite = std::isinf(result) && std::isfinite(a[0]) && std::isfinite(a[1]);
  if (!domain && !infinite) return result;
  int32_t type = domain ? kMathDomain : a[0] == 0.0 ? kMathSingularity : kMathOverflow;
  MathErrorRecord record{type, "pow", a[0], a[1], result};
  OnMathError(context, record);
  return record.result;
}

double Avg(int32_t count, const double* values, OutputDef*) {
  double sum = 0.0;
  for (int32_t i = 0; i < count; ++i) sum += values[i];
  return sum / count;
}

// Equal values and values that do not compare keep the current minimum.
double Min(int32_t count, const double* values, OutputDef*) {
  double current = values[0];
  for (int32_t i = 1; i < count; ++i) {
    if (values[i] < current) current = values[i];
  }
  return current;
}

// A later value replaces the current maximum when it is greater or the two
// do not compare, so a missing value late in the list wins.
double Max(int32_t count, const double* values, OutputDef*) {
  double current = values[0];
  for (int32_t i = 1; i < count; ++i) {
    if (current < values[i] || std::isunordered(current, values[i])) current = values[i];
  }
  return current;
}

// The interval functions keep their running value in the output. Outside a
// report run they have no output to keep it in and give the per-sample value,
// like AVG, MIN and MAX.
double Average(int32_t count, const double* values, OutputDef* output) {
  double mean = Avg(count, values, nullptr);
  if (output == nullptr) return mean;
  if (output->firstSample != 0) {
    output->result = mean;
    output->sampleCount += 1.0;
    output->firstSample = 0;
  } else {
    double c = output->sampleCount;
    output->result = (c - 1.0) * output->result / c + mean / c;
    output->sampleCount += 1.0;
  }
  return output->result;
}

double Minimum(int32_t count, const double* values, OutputDef* output) {
  double least = Min(count, values, nullptr);
  if (output == nullptr) return least;
  if (output->firstSample != 0) {
    output->result = least;
    output->firstSample = 0;
  } else if (least < output->result) {
    output->result = least;
  }
  return output->result;
}

double Maximum(int32_t count, const double* values, OutputDef* output) {
  double greatest = Max(count, values, nullptr);
  if (output == nullptr) return greatest;
  if (output->firstSample != 0) {
    output->result = greatest;
    output->firstSample = 0;
  } else if (greatest > output->result) {
    output->result = greatest;
  }
  return output->result;
}

}  // namespace

#define LIST_NAMES {"Curve1, Curve2, ..."}

const BuiltinFunction kBuiltinFunctions[] = {
    {"FILTSQUARE", "Apply linear filter to a curve for n samples", nullptr, nullptr, ApplyFilter,
     2, {"Curve", "Interval"}, 0, kFilterFunction, "Square"},
    {"FILTGAUS", "Apply gaussian filter to a curve for n samples", nullptr, nullptr, ApplyFilter,
     2, {"Curve", "Interval"}, 0, kFilterFunction, "Gaussian"},
    {"SQRT", "Returns a positive square root", Sqrt, nullptr, nullptr, 1, {"Value"}, 0,
     kScalarFunction, nullptr},
    {"SIN", "Returns the sine of the input value (in the range -1 to 1) ", Sin, nullptr, nullptr,
     1, {"Value"}, 0, kScalarFunction, nullptr},
    {"COS", "Returns the cosine of the input value (in the range -1 to 1) ", Cos, nullptr, nullptr,
     1, {"Value"}, 0, kScalarFunction, nullptr},
    {"TAN", "Returns the tangent of x, sin(x)/cos(x)", Tan, nullptr, nullptr, 1, {"Value"}, 0,
     kScalarFunction, nullptr},
    {"POW", "Power function, base to the exponent power", Pow, nullptr, nullptr, 2,
     {"Base", "Exponent"}, 0, kScalarFunction, nullptr},
    {"AVG", "Output a curve that is the average of selected curves", nullptr, Avg, nullptr, 1,
     LIST_NAMES, 0, kListFunction, nullptr},
    {"MIN", "Output a curve that is the minimum of selected curves", nullptr, Min, nullptr, 1,
     LIST_NAMES, 0, kListFunction, nullptr},
    {"MAX", "Output a curve that is the maximum of selected curves", nullptr, Max, nullptr, 1,
     LIST_NAMES, 0, kListFunction, nullptr},
    {"LN", "Returns the natural logorithm", Ln, nullptr, nullptr, 1, {"Value"}, 0,
     kScalarFunction, nullptr},
    {"LOG10", "Returns the log base 10", Log10, nullptr, nullptr, 1, {"Value"}, 0,
     kScalarFunction, nullptr},
    {"ABS", "Returns the absolute value of the number", Abs, nullptr, nullptr, 1, {"Value"}, 0,
     kScalarFunction, nullptr},
    {"AVERAGE", "Return the average value over the selected interval", nullptr, Average, nullptr,
     1, LIST_NAMES, 1, kListFunction, nullptr},
    {"MINIMUM", "Return the minimum value over the selected interval", nullptr, Minimum, nullptr,
     1, LIST_NAMES, 1, kListFunction, nullptr},
    {"MAXIMUM", "Return the maximum value over the selected interval", nullptr, Maximum, nullptr,
     1, LIST_NAMES, 1, kListFunction, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0, {}, 0, 0, nullptr},
};

const BuiltinFunction* LookupFunction(std::string_view name) {
  for (const BuiltinFunction* row = kBuiltinFunctions; row->name != nullptr; ++row) {
    std::string_view candidate(row->name);
    if (candidate.size() == name.size() &&
        strncasecmp(candidate.data(), name.data(), name.size()) == 0) {
      return row;
    }
  }
  return nullptr;
}

}  // namespace quillex
