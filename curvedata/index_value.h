// Index values as the user sees them: depths and times typed into and shown
// in the interval fields.
//
// Positions are whole index units (6000 to the foot, 19685 to the metre, 100
// to the second); the user works in feet, metres or seconds. The factor
// between the two is chosen by the run mode and the library's metric setting
// and kept in the context, so every conversion in the program agrees with the
// unit label shown beside the fields. Numbers are read and written with "."
// whatever the locale: the desktop program runs under the user's locale,
// where the decimal point may be a comma, and a value shown must read back
// as the same value.
#pragma once

#include <cstdint>
#include <string>

namespace quillex {

struct Context;

// Chooses the index factor and the label unit from the run mode (non-zero:
// depth) and the library's metric setting, shows the label beside both
// interval fields and redisplays the interval in the new unit.
void SetIndexFactor(Context& context);

// A typed depth or time as an index value. Empty text, or text starting with
// "*", is IndexUnset. Otherwise the leading decimal number (sign, digits,
// point, exponent) times the factor, truncated toward zero; text that does
// not start with a decimal number reads as 0, as a user who typed "abc"
// always got. Results are kept strictly between IndexUnset and IndexLimit,
// so a huge number never wraps around or turns into a reserved value.
int32_t TextToIndex(const Context& context, const std::string& text);

// An index value as shown: "*" for IndexUnset, otherwise the value in
// displayed units with two decimals. Sets the factor first when it is unset.
std::string IndexToText(Context& context, int32_t index);

}  // namespace quillex
