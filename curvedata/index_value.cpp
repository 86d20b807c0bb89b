#include "curvedata/index_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "curvedata/context.h"
#include "model/controls.h"
#include "model/message_box.h"

namespace quillex {

namespace {

constexpr int32_t kFeetFactor = 6000;
constexpr int32_t kMetreFactor = 19685;
constexpr int32_t kSecondFactor = 100;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars leaves the value alone when a number lies beyond double range.
// Whether it was too large or too small follows from its decimal magnitude:
// the places from its first non-zero digit to the point, plus the exponent.
double BeyondRange(std::string_view number) {
  size_t e = std::min(number.find_first_of("eE"), number.size());
  std::string_view mantissa = number.substr(0, e);
  auto point = static_cast<int64_t>(std::min(mantissa.find('.'), mantissa.size()));
  int64_t places = point - static_cast<int64_t>(mantissa.find_first_of("123456789"));
  std::string_view digits = number.substr(std::min(e + 1, number.size()));
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int64_t exponent = 0;
  if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec ==
      std::errc::result_out_of_range) {
    exponent = digits.front() == '-' ? -(int64_t{1} << 60) : int64_t{1} << 60;
  }
  return places + exponent > 0 ? HUGE_VAL : 0.0;
}

// The leading decimal number of a trimmed text, or 0. Only digits with an
// optional point make a number, so "inf", "nan" and hexadecimal read as 0.
double ReadLeadingDecimal(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  bool negative = first < last && *first == '-';
  if (first < last && (*first == '-' || *first == '+')) ++first;
  bool digitFirst = first < last && IsDigit(*first);
  bool pointFirst = last - first >= 2 && *first == '.' && IsDigit(first[1]);
  if (!digitFirst && !pointFirst) return 0.0;
  double value = 0.0;
  auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::result_out_of_range) value = BeyondRange({first, end});
  return negative ? -value : value;
}

// Every typed value lands strictly between the reserved values, however
// large: a range end typed by the user never reads as "unset" or "open".
int32_t IntoOpenRange(double value) {
  if (std::isnan(value)) return 0;
  if (value <= IndexUnset) return IndexUnset + 1;
  if (value >= IndexLimit) return IndexLimit - 1;
  return static_cast<int32_t>(value);
}

}  // namespace

void SetIndexFactor(Context& context) {
  context.metric = dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kMetricDepth).number == 1;
  bool depth = context.runMode != 0;
  context.indexFactor = !depth ? kSecondFactor : context.metric ? kMetreFactor : kFeetFactor;
  int32_t labelUnit = !depth ? dorvex::kUnitSeconds : context.metric ? dorvex::kUnitMetres : dorvex::kUnitFeet;
  std::string label = dorvex::DorvexUnitLabel(context.dorvex, labelUnit);
  context.screen.SetText(control::kFromUnits, label);
  context.screen.SetText(control::kToUnits, label);
  context.screen.SetText(control::kIntervalFrom, IndexToText(context, context.job.intervalFrom));
  context.screen.SetText(control::kIntervalTo, IndexToText(context, context.job.intervalTo));
}

int32_t TextToIndex(const Context& context, const std::string& text) {
  std::string trimmed = text;
  TrimSpaces(trimmed);
  if (trimmed.empty() || trimmed.front() == '*') return IndexUnset;
  // Truncated as the product falls: 1.15 s is 114.99999999999999 hundredths
  // in binary, so index 114.
  return IntoOpenRange(std::trunc(ReadLeadingDecimal(trimmed) * context.indexFactor));
}

// to_chars, unlike printf, writes "." under every locale.
std::string IndexToText(Context& context, int32_t index) {
  if (context.indexFactor == 0) SetIndexFactor(context);
  if (index == IndexUnset) return "*";
  char text[48];
  double shown = static_cast<double>(index) / context.indexFactor;
  char* end = std::to_chars(text, text + sizeof text, shown, std::chars_format::fixed, 2).ptr;
  return std::string(text, end);
}

}  // namespace quillex
