// Reading numbers out of formula and test texts, the same whatever the
// locale: a desktop program runs under the user's locale, where the decimal
// point may be a comma, but formulas always use ".".
#pragma once

#include <string_view>

namespace quillex {

// The value of a decimal number text (digits, point, fraction, and an
// exponent where allowed); a text that holds no digits reads as 0, a value too
// large for a double as infinity. The text must not carry a sign.
double ReadDecimal(std::string_view text);

// The value of the longest leading number of a text, exponent notation read;
// 0 when the text does not begin with a number.
double ReadLeadingNumber(std::string_view text);

}  // namespace quillex
