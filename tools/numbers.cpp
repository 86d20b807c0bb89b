#include "tools/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quillex {

namespace {

template <typename Number>
std::string Shortest(Number value) {
  if (std::isnan(value)) return "nan";
  char text[64];
  auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : "?";
}

}  // namespace

std::string ShortestFloat(float value) { return Shortest(value); }

std::string ShortestDouble(double value) { return Shortest(value); }

std::string ShortestIndex(int64_t index, int32_t factor) {
  double value = static_cast<double>(index) / factor;
  char text[64];
  for (int decimals = 0; decimals < 12; ++decimals) {
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    if (std::llround(std::strtod(text, nullptr) * factor) == index) return text;
  }
  return ShortestDouble(value);
}

}  // namespace quillex
