// Exporting a data set of a log database as a LAS 2.0 file.
//
// The curves chosen (database_selection.h) are written on their common grid
// in the order chosen, each under its original mnemonic when its description
// holds its LAS curve line (curve_description.h), with the unit table's
// mnemonic for its unit code. The index is written in the unit its LAS
// header named, else in the unit the settings show (feet or metres;
// seconds for time), as exact decimals (decimal_grid.h). The data set's LAS
// header, when it keeps one, gives the rest: the ~W lines beyond STRT, STOP,
// STEP and NULL (turned round from LAS 1.2, which writes their values after
// the colon), the index's mnemonic, ~P and ~O. The ~W lines the standard
// requires and the header lacks are written empty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "libs/dorvex/dorvex.h"

namespace las {

struct LasExportOptions {
  std::vector<std::string> curves;  // empty: all
  std::string null = "-999.25";     // a number, written as given
  bool wrapped = false;
};

struct LasExportResult {
  std::string text;  // the LAS file
  size_t curves = 0;
  int64_t count = 0;  // depth steps
  std::string error;
};

// 0 with the file's text; kDorvexFailed with the reason.
int ExportLas(dorvex::DorvexLibrary& library, uint32_t database, const std::string& setPath,
              const LasExportOptions& options, LasExportResult* result);

}  // namespace las
