// The ~A section: a row of numbers for each depth step, index first.
//
// Values are separated by blanks, tabs or commas (two commas with nothing
// between them mark an empty field, which is missing). Unwrapped, every line
// is one row and must hold exactly one value per curve. Wrapped, a depth step
// runs over several lines and must begin at the start of one, so a step that
// is short of values is caught where it ends rather than shifting every
// value after it into the wrong curve. Comment lines and blank lines are
// skipped; a section after ~A ends the data.
//
// The declared NULL value, the customary NULL values -999.25, -9999 and
// -99999 (real files use them whatever their header declares), values that
// are no numbers, and values beyond the range of the floats a curve keeps
// are all read as missing (NaN), never as data.
#pragma once

#include "libs/las/las_file.h"
#include "libs/las/las_lines.h"

namespace las {

// Reads the lines after the ~A line into file->values and file->rowLines.
bool ReadDataSection(LasLines& lines, LasFile* file, LasProblem* problem);

}  // namespace las
