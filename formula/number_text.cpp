#include "formula/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace quillex {

double ReadDecimal(std::string_view text) {
  double value = 0.0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for a double. A negative exponent, or no digit
    // other than 0 before the point, makes it small.
    size_t exponent = text.find_first_of("eE");
    if (exponent != std::string_view::npos) {
      return exponent + 1 < text.size() && text[exponent + 1] == '-' ? 0.0 : HUGE_VAL;
    }
    for (char c : text) {
      if (c == '.') break;
      if (c >= '1' && c <= '9') return HUGE_VAL;
    }
    return 0.0;
  }
  return error == std::errc() ? value : 0.0;
}

double ReadLeadingNumber(std::string_view text) {
  double value = 0.0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    return ReadDecimal(text.substr(0, static_cast<size_t>(end - text.data())));
  }
  return error == std::errc() ? value : 0.0;
}

}  // namespace quillex
