// One line of the ~V, ~W, ~C and ~P sections: MNEM.UNIT VALUE : DESCRIPTION.
//
// The line is split where the LAS 2.0 standard says: at the first dot, the
// first blank after it, and the last colon. Real files bend each of these,
// and a reader that refused them would refuse many of them, so the split
// bends too:
// - a colon with a blank before it wins over later colons without one, so
//   "DATE. 13-DEC-86 : Log date: morning" keeps the colon of its
//   description, while "CLAB. Province: :County label" and
//   "TIME. 12:30:00 : Time" keep the colons of their values;
// - a line without a colon has no description;
// - the dot must come before that colon, and nothing but the mnemonic may
//   stand before it: "WELL  SMITH 12.3 : Well" has no unit, and its value
//   is "SMITH 12.3";
// - blanks around the mnemonic ("FLD . WILDCAT") belong to no field.
// Text is kept byte for byte, whatever its encoding.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace las {

struct LasHeaderLine {
  std::string mnemonic;
  std::string unit;
  std::string value;
  std::string description;
  int32_t line = 0;  // where it stands in its file; 0 for lines made by a program
};

LasHeaderLine SplitHeaderLine(std::string_view text, int32_t line);

}  // namespace las
