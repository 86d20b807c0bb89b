// Writing LAS 2.0 files.
//
// What is written is valid LAS 2.0 whatever the text it is given: lines end
// in CR LF; only printable ASCII is written (any other character, a UTF-8
// sequence counting as one, becomes a space, as the standard asks readers to
// take it); mnemonics lose blanks, dots and colons, units blanks and colons,
// and descriptions their colons (made ";"), so that every header line splits
// at its own delimiters. The ~V section is written here; index values come
// from a decimal grid, so they are exact (decimal_grid.h); curve values are
// the shortest decimals that read back as the same float. Wrapped output puts
// the index on a line of its own and the values on lines of at most 80
// characters, CR LF included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "libs/las/decimal_grid.h"
#include "libs/las/header_line.h"

namespace las {

struct LasOutput {
  std::vector<LasHeaderLine> well;    // STRT, STOP, STEP and NULL first
  std::vector<LasHeaderLine> curves;  // the index first
  std::vector<LasHeaderLine> parameters;
  std::vector<std::string> other;  // the ~O section's lines; none: no ~O section
  LasDecimalGrid index;
  int64_t count = 0;                        // depth steps
  std::vector<std::vector<float>> columns;  // a curve each after the index; NaN: missing
  std::string null = "-999.25";
  bool wrapped = false;
};

std::string WriteLas(const LasOutput& output);

}  // namespace las
