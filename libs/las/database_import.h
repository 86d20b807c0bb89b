// Importing a LAS file into a data set of a log database.
//
// Each LAS curve after the index becomes a curve item SET/NAME/PASS (names
// from curve_names.h), its description the file's ~C line, its unit code
// the unit table's for the file's unit text; the header, the text before ~A
// as the file wrote it, is kept as the stored file SET/_header_/PASS. Time
// indexes make time-based curves.
//
// An import is one batch: the curves and the header are committed together
// or not at all. The whole file is read and placed before the database is
// touched, so a file that is wrong costs no write; a failure inside the batch
// (a curve of that name and pass exists, a full disk) rolls it back, and the
// database is as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "libs/dorvex/dorvex.h"
#include "libs/las/las_file.h"
#include "libs/las/sample_grid.h"

namespace las {

struct LasImportOptions {
  int32_t pass = 1;
  double step = 0;  // the step asked for, in display units; 0: the data's
};

struct LasImportResult {
  std::vector<LasProblem> notes;  // what the import did to the file, and why
  LasProblem error;               // why it failed
  size_t curves = 0;
  LasGrid grid;
};

// 0 when the curves are in the database; kDorvexFailed, with the error,
// when nothing was written.
int ImportLas(dorvex::DorvexLibrary& library, uint32_t database, std::string_view text,
              const std::string& setPath, const LasImportOptions& options, LasImportResult* result);

}  // namespace las
