// Corutil: the small utilities the logging programs share, file names and
// the unit list.
//
// The unit list is a copy of the Dorvex unit table's rows, taken once when a
// program's main window opens: dialogs look names and codes up in it and
// fill combo boxes from it many times, and a plain vector of texts is
// cheaper to search and simpler to hand to a widget than the table itself.
// The copy does not see unit texts registered later; those are not offered
// for choosing anyway.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "libs/dorvex/units.h"

namespace corutil {

struct UnitEntry {
  std::string name;      // shown to the user
  std::string mnemonic;  // written into job files
  int32_t code;
};

// Fills baseName with the path's file name without folder and extension.
// Both "\" and "/" end a folder, since job files written on either kind of
// system name databases. The int arguments are unused and kept for callers
// that pass them.
void CorutilSplitPath(const std::string& path, int, int, std::string* baseName, int);

// Fills list with the table's units in display order and count with their
// number. The flag is accepted for callers that pass it; every value loads
// the whole table. Returns 0, or non-zero when an output is missing.
int CorutilLoadUnits(const dorvex::UnitTable& units, std::vector<UnitEntry>* list, int32_t* count,
                     int32_t flag);
void CorutilFreeUnits(std::vector<UnitEntry>* list, int32_t* count);

}  // namespace corutil
