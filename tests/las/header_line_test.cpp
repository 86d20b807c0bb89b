// Header lines split where the standard says, and where real files need it.
#include "libs/las/header_line.h"

#include <gtest/gtest.h>

namespace {

TEST(HeaderLine, SplitsAtTheDelimitersRealFilesUse) {
  struct Case {
    const char* why;
    const char* text;
    const char* mnemonic;
    const char* unit;
    const char* value;
    const char* description;
  } cases[] = {
      {"plain", "STRT.M 1670.0000 :START DEPTH", "STRT", "M", "1670.0000", "START DEPTH"},
      {"no blank before the colon", "STEP.M -0.1250:", "STEP", "M", "-0.1250", ""},
      {"no unit", "NULL.   -999.25 : NULL VALUE", "NULL", "", "-999.25", "NULL VALUE"},
      {"blanks before the dot", "FLD .  WILDCAT : FIELD", "FLD", "", "WILDCAT", "FIELD"},
      {"a dot in the unit", "AMF .ohm.m   : Mud resistivity", "AMF", "ohm.m", "",
       "Mud resistivity"},
      {"a dot and colons in the value", "WIT . L. Watney, 12:30 : Witness", "WIT", "",
       "L. Watney, 12:30", "Witness"},
      {"a time value", "TIME.  12:30:00 : Logged at", "TIME", "", "12:30:00", "Logged at"},
      {"a value ending in a colon", "CLAB . Province: :County Label", "CLAB", "",
       "Province:", "County Label"},
      {"a colon in the description", "DATE. 13-DEC-86 : Log date: morning", "DATE", "", "13-DEC-86",
       "Log date: morning"},
      {"LAS 1.2 value after the colon", "COMP.  COMPANY:   # ANY OIL COMPANY", "COMP", "",
       "COMPANY", "# ANY OIL COMPANY"},
      {"no dot", "WELL  SMITH 12.3 : Well", "WELL", "", "SMITH 12.3", "Well"},
      {"no dot, no colon", "WELL SMITH", "WELL", "", "SMITH", ""},
      {"a dot only in the description", "UWI  100 : Id. number", "UWI", "", "100", "Id. number"},
      {"API code", "DT  .US/M  60 520 32 00 : 2  SONIC", "DT", "US/M", "60 520 32 00", "2  SONIC"},
      {"tabs", "DT\t.US/M\t\t:\t2 SONIC", "DT", "US/M", "", "2 SONIC"},
      {"non-ASCII text", "LATI.deg 45\xE2\x88\x9E 39' N :LATITUDE", "LATI", "deg",
       "45\xE2\x88\x9E 39' N", "LATITUDE"},
  };
  for (const Case& c : cases) {
    LasHeaderLine line = SplitHeaderLine(c.text, 7);
    EXPECT_EQ(line.mnemonic, c.mnemonic) << c.why;
    EXPECT_EQ(line.unit, c.unit) << c.why;
    EXPECT_EQ(line.value, c.value) << c.why;
    EXPECT_EQ(line.description, c.description) << c.why;
    EXPECT_EQ(line.line, 7) << c.why;
  }
}

}  // namespace
