// What a run leaves in the database, seen from the program that started it.
//
// A run takes a fresh numbered data set (or result) when its source is
// chosen, and at its end makes the next one ready for the next run; a run
// that fails may leave curves it made but never wrote. The desktop program
// runs again and uses them; a command-line run happens once, and what it
// made and left empty is litter. So the items under the run's location are
// noted before the run, and afterwards the new ones that hold nothing are
// removed: never an item that was there before.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "model/job.h"

namespace quillex {

struct Context;

class RunLeavings {
 public:
  // Notes the items under the location (the first three components) of
  // `where` in its database. Nothing is noted when it cannot be read.
  void Before(Context& context, const DataSource& where);

  // Removes the items made since Before that hold nothing: nodes with no
  // items below them and, when `failed`, curves without a sample. Returns
  // the paths removed.
  std::vector<std::string> RemoveEmpty(Context& context, bool failed);

 private:
  std::string database_;
  std::string location_;
  std::set<std::string> before_;
  bool noted_ = false;
};

}  // namespace quillex
