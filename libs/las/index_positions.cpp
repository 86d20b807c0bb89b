#include "libs/las/index_positions.h"

#include <cmath>
#include <string>

#include "libs/las/las_number.h"

namespace las {

namespace {

// Rows left out, and the first of them.
struct Skipped {
  int64_t count = 0;
  int32_t line = 0;
  void Add(int32_t at) {
    if (count++ == 0) line = at;
  }
};

// The first and the last row with an index value, in file order; false when
// no row has one.
bool IndexedEnds(const LasFile& file, size_t* first, size_t* last) {
  size_t width = file.Width();
  size_t rows = file.Rows();
  *first = 0;
  while (*first < rows && std::isnan(file.values[*first * width])) ++*first;
  *last = rows;
  while (*last > *first && std::isnan(file.values[(*last - 1) * width])) --*last;
  --*last;
  return *first < rows;
}

void NoteSkipped(const Skipped& skipped, const std::string& what, std::vector<LasProblem>* notes) {
  if (skipped.count == 0) return;
  notes->push_back({skipped.line, what + ": " + std::to_string(skipped.count) +
                                      " (the first at this line); left out"});
}

// Takes rows one by one in increasing order of their index.
struct Finder {
  const LasFile& file;
  const LasIndexUnit& unit;
  LasPositions& positions;
  Skipped unindexed;
  Skipped backward;

  bool Take(size_t row, LasProblem* problem) {
    double value = file.values[row * file.Width()];
    double at = unit.ToIndex(value);
    if (std::isnan(value)) {
      unindexed.Add(file.rowLines[row]);
    } else if (!(std::fabs(at) < kLasIndexLimit)) {
      *problem = {file.rowLines[row], "the index value " + LasNumberText(value) + " " +
                                          unit.mnemonic + " lies beyond the database's range"};
      return false;
    } else if (!positions.at.empty() && at <= positions.at.back()) {
      backward.Add(file.rowLines[row]);
    } else {
      positions.at.push_back(at);
      positions.rows.push_back(row);
    }
    return true;
  }
};

}  // namespace

bool FindPositions(const LasFile& file, const LasIndexUnit& unit, LasPositions* positions,
                   std::vector<LasProblem>* notes, LasProblem* problem) {
  size_t first = 0;
  size_t last = 0;
  if (!IndexedEnds(file, &first, &last)) {
    *problem = {file.dataLine, "no data row has an index value"};
    return false;
  }
  positions->decreasing = file.values[last * file.Width()] < file.values[first * file.Width()];
  Finder finder{file, unit, *positions, {}, {}};
  size_t rows = file.Rows();
  for (size_t n = 0; n < rows; ++n) {
    if (!finder.Take(positions->decreasing ? rows - 1 - n : n, problem)) return false;
  }
  NoteSkipped(finder.unindexed, "data rows without an index value", notes);
  NoteSkipped(finder.backward, "data rows that repeat or go back on the index value before them",
              notes);
  return true;
}

}  // namespace las
