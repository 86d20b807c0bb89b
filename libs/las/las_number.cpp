#include "libs/las/las_number.h"

#include <charconv>
#include <cmath>

namespace las {

namespace {

template <typename Number>
std::string Text(Number value) {
  char text[400];  // the longest fixed-format double, 309 digits and a fraction, fits
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return error == std::errc() ? std::string(text, end) : std::string("0");
}

}  // namespace

std::string LasNumberText(double value) { return Text(value); }
std::string LasNumberText(float value) { return Text(value); }

}  // namespace las
