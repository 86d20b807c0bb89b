// Index values written as exact decimals that read back to the same index.
//
// The database keeps a curve as whole index units; a file must say where its
// samples are in feet, metres or seconds. A step of 3000 index units is
// exactly 0.5 ft, but 3000/19685 m is no finite decimal, and printing the
// double nearest to it gives float noise (0.15240030480060960...) that is
// neither exact nor what anyone wrote.
//
// So an export writes a decimal grid instead: STRT and STEP as decimals of
// the fewest places such that STEP, and every depth STRT + k STEP computed
// exactly in decimal, lies less than half an index unit from its index. Every
// depth written then rounds back to its own index, STOP is exactly the last
// of them, and STEP is exactly the difference between any two neighbours, as
// the standard asks. Feet come out as they went in (0.5, 2587.0); metres
// need as many places as the length of the curve asks for (0.1524003 for
// 5000 samples at 3000 index units). The error of STRT + k STEP grows
// linearly in k, so checking the first and the last depth checks them all,
// and the search costs nothing however long the curve.
#pragma once

#include <cstdint>
#include <string>

#include "libs/las/index_unit.h"

namespace las {

struct LasDecimalGrid {
  int decimals = 0;
  __int128 start = 0;  // STRT times 10^decimals
  __int128 step = 0;   // STEP times 10^decimals
};

// False only when no grid of up to 18 places fits, which no curve of the
// database's index range needs.
bool FindDecimalGrid(int32_t top, int32_t step, int64_t count, const LasIndexUnit& unit,
                     LasDecimalGrid* grid);

// The k-th index value of the grid as text, with at least one decimal.
std::string DecimalText(const LasDecimalGrid& grid, int64_t k);

}  // namespace las
