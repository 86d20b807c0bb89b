#include "run/report.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/index_value.h"
#include "curvedata/stored_report.h"
#include "curvedata/unit_list.h"

namespace quillex {

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  int size = std::vsnprintf(nullptr, 0, format, arguments);
  va_end(arguments);
  std::vector<char> text(static_cast<size_t>(std::max(size, 0)) + 1);
  std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  return text.data();
}

// The interval line reads the first node of the first output; a first
// output without nodes shows its own processing range instead.
std::string IntervalLine(Context& context) {
  int32_t top = 0;
  int32_t bottom = 0;
  if (!context.job.outputs.empty()) {
    const OutputDef& first = *context.job.outputs.front();
    top = first.variables.empty() ? first.top : first.variables.front()->top;
    bottom = first.variables.empty() ? first.bottom : first.variables.front()->bottom;
  }
  return Format("%25s%s%s", " ", "Interval - ", IndexToText(context, top).c_str()) +
         Format("- %s %s\n\n", IndexToText(context, bottom).c_str(),
                IndexUnitLabel(context).c_str());
}

std::string OutputLines(Context& context, const OutputDef& output) {
  std::string text = Format("\n%-10s", output.name.c_str());
  bool first = true;
  for (const auto& node : output.variables) {
    if (node->name.empty()) break;
    std::string label = FormatSourceLabel(context, node->database, node->path);
    if (first) {
      text += Format("%-50s%-10.*f%-8s\n", label.c_str(), ResultDecimals(output.result),
                     output.result, UnitLabel(context, output.units).c_str());
    } else {
      text += Format("%10s%-50s\n", " ", label.c_str());
    }
    first = false;
  }
  return text;
}

}  // namespace

int ResultDecimals(double result) {
  int decimals = 1;
  double value = result;
  while (std::fabs(value) < 1.0 && value != 0.0 && decimals < 6) {
    value *= 10.0;
    ++decimals;
  }
  return decimals;
}

std::string ReportText(Context& context) {
  std::string text = Format("%25s%s\n\n", " ", "Quillex Results");
  text += IntervalLine(context);
  text += "Output    Source                                            Result\n";
  text += "------    ------                                            ------\n";
  for (const auto& output : context.job.outputs) text += OutputLines(context, *output);
  return text;
}

void WriteAndShowReport(Context& context) {
  std::string text = ReportText(context);
  if (StoreReport(context, text) != ReportStore::kNoFile) context.screen.ShowReport(text);
}

}  // namespace quillex
