#include "libs/las/decimal_grid.h"

#include <algorithm>

namespace las {

namespace {

constexpr int kMostDecimals = 18;

__int128 Power10(int places) {
  __int128 power = 1;
  for (int i = 0; i < places; ++i) power *= 10;
  return power;
}

// a / b rounded to the nearest whole number, b > 0 (ties away from zero).
__int128 RoundedQuotient(__int128 a, __int128 b) {
  __int128 half = b / 2;
  return a >= 0 ? (a + half) / b : -((-a + half) / b);
}

// Twice the distance between the decimal value*10^-places and the index, in
// units of 10^-places / (numerator/denominator): less than scale means less
// than half an index unit.
bool Near(__int128 decimal, __int128 index, const LasIndexUnit& unit, __int128 scale) {
  __int128 error = decimal * unit.numerator - index * unit.denominator * scale;
  if (error < 0) error = -error;
  return 2 * error < unit.denominator * scale;
}

bool Fits(int32_t top, int32_t step, int64_t count, const LasIndexUnit& unit, int places,
          LasDecimalGrid* grid) {
  __int128 scale = Power10(places);
  grid->decimals = places;
  grid->start = RoundedQuotient(__int128{top} * unit.denominator * scale, unit.numerator);
  grid->step = RoundedQuotient(__int128{step} * unit.denominator * scale, unit.numerator);
  __int128 last = count > 1 ? count - 1 : 0;
  return Near(grid->start, top, unit, scale) && Near(grid->step, step, unit, scale) &&
         Near(grid->start + last * grid->step, top + last * step, unit, scale);
}

std::string Digits(__int128 value) {
  std::string digits;
  do {
    digits += static_cast<char>('0' + static_cast<int>(value % 10));
    value /= 10;
  } while (value > 0);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

}  // namespace

bool FindDecimalGrid(int32_t top, int32_t step, int64_t count, const LasIndexUnit& unit,
                     LasDecimalGrid* grid) {
  for (int places = 0; places <= kMostDecimals; ++places) {
    if (Fits(top, step, count, unit, places, grid)) return true;
  }
  return false;
}

std::string DecimalText(const LasDecimalGrid& grid, int64_t k) {
  __int128 value = grid.start + k * grid.step;
  int places = std::max(grid.decimals, 1);
  if (grid.decimals == 0) value *= 10;
  bool negative = value < 0;
  std::string digits = Digits(negative ? -value : value);
  size_t fraction = static_cast<size_t>(places);
  if (digits.size() <= fraction) digits = std::string(fraction + 1 - digits.size(), '0') + digits;
  size_t whole = digits.size() - fraction;
  return (negative ? "-" : "") + digits.substr(0, whole) + "." + digits.substr(whole);
}

}  // namespace las
