// Where the results report of a report run is kept: written to a temporary
// file, stored from it as the item "Quillex Report" at the destination, the
// file removed again whatever happened.
#pragma once

#include <string>

namespace quillex {

struct Context;

enum class ReportStore {
  kStored,      // in the database
  kNoDatabase,  // the destination's database could not be opened (told)
  kNotStored,   // the database refused it (told)
  kNoFile,      // no temporary file could be written (told); the report is not shown
};

ReportStore StoreReport(Context& context, const std::string& text);

}  // namespace quillex
