// Which curves of a data set an export writes, and the one grid they share.
//
// A data set holds curves SET/NAME/PASS; an export takes, for each curve
// name, its highest pass (as a pass "*" does), in the order the database
// lists the items, or the names the user lists, in that order. A LAS file has
// one index for all its curves, so the chosen curves must share a kind
// (depth or time), a step and a grid; their extents may differ, and the file
// spans them all, with missing values where a curve has no samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "libs/dorvex/dorvex.h"
#include "libs/las/sample_grid.h"

namespace las {

struct LasSelection {
  std::vector<dorvex::DorvexItem> curves;
  std::vector<std::string> names;  // their curve names, as stored (items are passes)
  std::string headerPath;          // the stored LAS header of the highest pass; "" when none
  LasGrid grid;
  bool time = false;
};

// An empty names list takes every curve. False, with the reason, when the
// path is no data set or the curves cannot share a file.
bool SelectCurves(dorvex::DorvexLibrary& library, uint32_t database, const std::string& setPath,
                  const std::vector<std::string>& names, LasSelection* selection,
                  std::string* error);

}  // namespace las
