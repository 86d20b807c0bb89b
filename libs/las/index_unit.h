// The units a LAS index may have, and what each is worth in index units.
//
// The database keeps positions as whole index units: 6000 to the foot,
// 19685 to the metre, 100 to the second. A LAS index is in feet, metres,
// seconds or milliseconds; any other unit is refused rather than guessed at.
// Each unit's worth is an exact ratio, so a millisecond (a tenth of an index
// unit) is as exact as a foot.
#pragma once

#include <cstdint>
#include <string_view>

namespace las {

struct LasIndexUnit {
  const char* mnemonic;  // as an exported file writes it: F, M, S or MS
  bool time;
  int64_t numerator;  // index units = value * numerator / denominator
  int64_t denominator;

  double ToIndex(double value) const {
    return denominator == 1
               ? value * static_cast<double>(numerator)
               : value * static_cast<double>(numerator) / static_cast<double>(denominator);
  }
};

// The unit a text names (F, FT, FEET, FOOT, M and the spellings of metres,
// S, SEC, MS, MSEC, in any case); nullptr when it names none of them.
const LasIndexUnit* FindIndexUnit(std::string_view text);

// What the unit list of a message says: "F, FT, FEET, M, S or MS".
extern const char kIndexUnitChoice[];

// The unit an export writes when the data brings none: seconds for time,
// else metres or feet.
const LasIndexUnit& DefaultIndexUnit(bool time, bool metric);

}  // namespace las
