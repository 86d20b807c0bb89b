// Where the rows of a data section lie on the database's index: each row's
// index value in index units, in increasing order.
//
// A file may run either way; a decreasing one is taken from its last row up,
// so that every curve is stored increasing. Rows without an index value, and
// rows that repeat or go back on the row before (real files repeat their
// last depth), cannot be placed: they are left out with a note, one row
// of a run of equal depths being kept.
#pragma once

#include <cstddef>
#include <vector>

#include "libs/dorvex/index_limits.h"
#include "libs/las/index_unit.h"
#include "libs/las/las_file.h"

namespace las {

// The database keeps its open-range markers at plus and minus this index;
// positions stay strictly between them.
constexpr double kLasIndexLimit = dorvex::kIndexLimit;

struct LasPositions {
  std::vector<double> at;    // index units, strictly increasing
  std::vector<size_t> rows;  // the file row each came from
  bool decreasing = false;   // the file runs from its largest index down
};

bool FindPositions(const LasFile& file, const LasIndexUnit& unit, LasPositions* positions,
                   std::vector<LasProblem>* notes, LasProblem* problem);

}  // namespace las
