// The results report of a report run: one value per output over the
// processing interval, with the sources its formula read.
//
//                          Quillex Results
//
//                          Interval - 1000.00- 2000.00 ft
//
//   Output    Source                                            Result
//   ------    ------                                            ------
//
//   GRAVG     WELL: /A/B/C/SET1/GR                              64.3      GAPI
//
// The text is stored in the destination's database as "Quillex Report" and
// shown to the user; the temporary file it is written to is always removed.
#pragma once

#include <string>

namespace quillex {

struct Context;

// The number of decimals a result is shown with: 1, or for a value below 1
// in size as many as bring its first digit before the point, at most 6.
int ResultDecimals(double result);

// The report's text.
std::string ReportText(Context& context);

// Writes the report to a temporary file, stores it in the destination's
// database, shows it and removes the file.
void WriteAndShowReport(Context& context);

}  // namespace quillex
