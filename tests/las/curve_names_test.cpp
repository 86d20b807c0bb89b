// Item names for LAS mnemonics: short, unique without regard to case, and a
// mnemonic's own name when it has one.
#include "libs/las/curve_names.h"

#include <gtest/gtest.h>

namespace {

TEST(CurveNames, GiveEveryCurveAShortUniqueName) {
  struct Case {
    const char* why;
    std::vector<std::string> mnemonics;
    std::vector<std::string> names;
  } cases[] = {
      {"names that fit", {"GR", "DPHI_SAN", "RT90"}, {"GR", "DPHI_SAN", "RT90"}},
      {"too long", {"DPHI_SANDSTONE", "CONT_REGION"}, {"DPHI_SANDS", "CONT_REGIO"}},
      {"repeated", {"GR", "GR", "GR"}, {"GR", "GR_2", "GR_3"}},
      {"repeated in another case", {"gr", "GR"}, {"gr", "GR_2"}},
      {"long and alike", {"DPHI_SANDSTONE", "DPHI_SANDSHALE"}, {"DPHI_SANDS", "DPHI_SAN_2"}},
      {"an own name is never taken by a shortened one",
       {"ABCDEFGHIJK", "ABCDEFGHIJ"},
       {"ABCDEFGH_2", "ABCDEFGHIJ"}},
      {"characters a path cannot hold", {"N/A", "T*", "*", "a b"}, {"N_A", "T_", "_", "a_b"}},
      {"no mnemonic", {"", ""}, {"CURVE", "CURVE_2"}},
      {"the header's name is taken", {"_HEADER_"}, {"_HEADER__2"}},
      {"many repeats",
       std::vector<std::string>(11, "GR"),
       {"GR", "GR_2", "GR_3", "GR_4", "GR_5", "GR_6", "GR_7", "GR_8", "GR_9", "GR_10", "GR_11"}},
      {"long repeats",
       std::vector<std::string>(3, "ABCDEFGHIJKL"),
       {"ABCDEFGHIJ", "ABCDEFGH_2", "ABCDEFGH_3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(CurveItemNames(c.mnemonics), c.names) << c.why;
}

}  // namespace
