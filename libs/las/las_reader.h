// Reading LAS 1.2 and 2.0 files, wrapped or not.
//
// A file is read whole and in one pass: the header's sections line by line
// (section names in any case and length: ~A, ~ASCII, ~Curve Information
// Block), then the data section row by row. The reader refuses only what
// leaves no sound reading: no ~A section, no curves, only an index, rows
// that do not match the curve count, a LAS 3 file. Everything it tolerates
// (values that are no numbers, customary NULL values the header does not
// declare, a section after ~A) it reads as missing values or skips, and says
// so in the file's notes.
#pragma once

#include <string_view>

#include "libs/las/las_file.h"

namespace las {

// False, with the problem, when the text is no LAS file this reader can take.
bool ReadLas(std::string_view text, LasFile* file, LasProblem* problem);

// Only the sections before ~A: a header kept apart from its data, as a
// database keeps it. The ~A section, if any, is not read.
bool ReadLasHeader(std::string_view text, LasFile* file, LasProblem* problem);

}  // namespace las
