// Numbers as the tools print them: short, and exact in what they say.
//
// A sample is a 32-bit float; printed through a double it shows digits the
// float never had (26.585 becomes 26.584999084472656). A depth is a whole
// number of index units; divided into feet or metres it shows a long
// fraction (984 units are 0.04998729997459995 m). Both are printed in the
// fewest digits that read back as the same float or the same index.
#pragma once

#include <cstdint>
#include <string>

namespace quillex {

// The shortest text that reads back as the same float; "nan" for a missing
// value.
std::string ShortestFloat(float value);

// The shortest text that reads back as the same double.
std::string ShortestDouble(double value);

// An index value in display units (`factor` index units to the unit) with
// the fewest decimals that read back, rounded to the nearest index unit, as
// the same index: 984 at 19685 a metre is "0.05", 1500 at 6000 a foot
// "0.25".
std::string ShortestIndex(int64_t index, int32_t factor);

}  // namespace quillex
