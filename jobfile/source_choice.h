// Choosing the main input source: every formula variable then reads the
// curve of its own name in the chosen data set, the destination is set
// beside it when there is none, and the job file learns the new sources.
#pragma once

#include <string>

namespace quillex {

struct Context;

// Points every node of every output at the curve of its name in a data set,
// writes the "%spath" keys of the job file, and redisplays the output list.
void ApplySourceToBindings(Context& context, const std::string& databaseFile,
                           const std::string& dataSetPath);

// The Main Input Source browse button (and a run without a source): lets the
// user choose a data set. False when no choice was made or a run is on.
bool ChooseInputSource(Context& context);

}  // namespace quillex
