// A LAS file as read: its header lines by section, and its data section as
// numbers, a row for each depth step.
//
// The reader keeps what it met, not what it made of it: values exactly as
// the file wrote them (the header's STRT, STOP and STEP included, which the
// data may contradict), and the header text verbatim, so that a database
// keeps the well's description as the file gave it. Deciding where samples
// go is left to the sample placement (las_samples.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "libs/las/header_line.h"

namespace las {

// Something wrong, or tolerated, at a line of a file (0: the file as a whole).
struct LasProblem {
  int32_t line = 0;
  std::string message;
};

struct LasFile {
  std::string version;  // the VERS value as written; "" when there is none
  bool wrapped = false;
  std::vector<LasHeaderLine> versionLines;
  std::vector<LasHeaderLine> well;
  std::vector<LasHeaderLine> curves;  // the index first
  std::vector<LasHeaderLine> parameters;
  std::vector<std::string> other;  // the ~O section's lines as written
  std::string header;              // the text before the ~A line, verbatim
  int32_t dataLine = 0;            // the ~A line
  bool hasNull = false;
  double null = 0;
  // Row-major, curves.size() values a row with the index first; missing
  // values are NaN.
  std::vector<double> values;
  std::vector<int32_t> rowLines;  // the line where each row begins
  std::vector<LasProblem> notes;  // what was read with tolerance

  size_t Width() const { return curves.size(); }
  size_t Rows() const { return rowLines.size(); }
  // LAS 1.2 writes the ~W values of the well's description after the colon.
  bool IsVersion12() const;
  const LasHeaderLine* FindWell(std::string_view mnemonic) const;
};

}  // namespace las
