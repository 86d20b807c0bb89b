// Numbers in LAS text: the data section's values and the header's STRT,
// STOP, STEP and NULL.
//
// The standard allows plain decimals only; real files also carry a leading
// "+" and exponents, which read as the numbers they plainly are. Anything
// else ("N/A", "1.2.3", "inf", "nan", a number with trailing characters) is
// no number, so that the caller makes it a missing value rather than data.
// Writing gives the shortest plain decimal (never an exponent, which the
// standard does not allow) that reads back as the same value. Neither
// depends on the locale.
#pragma once

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace las {

// Inline: the data section reads every value through it.
inline bool ReadLasNumber(std::string_view text, double* value) {
  const char* start = text.data();
  const char* end = start + text.size();
  if (start != end && *start == '+') ++start;
  // from_chars would take "inf" and "nan"; a digit, point or sign must lead.
  if (start == end || !((*start >= '0' && *start <= '9') || *start == '.' || *start == '-')) {
    return false;
  }
  double read = 0;
  auto [stop, error] = std::from_chars(start, end, read);
  if (error != std::errc() || stop != end || !std::isfinite(read)) return false;
  *value = read;
  return true;
}

std::string LasNumberText(double value);
std::string LasNumberText(float value);

}  // namespace las
