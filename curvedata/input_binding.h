// Input binding: before a run every formula variable is connected to the
// curve it reads.
//
// Databases are opened by name into three slots and reused for the whole run
// (a run reads from at most three databases). Each input curve is opened for
// reading, checked to be usable and of the run's kind (depth or time, fixed
// by the run's first input), and its extent, step and unit conversion are
// kept in the variable's node. Every failure is told to the user in an error
// box; the caller then closes everything (CloseAllCurves).
#pragma once

#include <cstdint>
#include <string>

namespace quillex {

struct Context;
struct VariableBinding;

// The database of a file path, through the slots: an open slot of the same
// base name (without regard to case) is reused. The folder of the path never
// matters: databases come from the library's database folder. 0 when the
// path is empty (no message) or the database cannot be had (after a message).
uint32_t OpenDatabaseByName(Context& context, const std::string& databaseFile);

// Connects an input node (kinds 0 and 5) to its curve; other nodes read no
// curve and succeed. When the node's own path does not open, the curve named
// like the variable in the same data set is tried ("/*" pass), then the
// variable under the data set's "_vars_". A path with fewer than four
// components names no data set: it is not rebuilt, and the connection fails
// with the message naming the path as given.
bool ConnectInput(Context& context, VariableBinding& node);

// The run mode (1 depth, 0 time) that the job's first input would give a
// run, found as the run's connection would find that curve; -1 when the
// first input names no curve that opens. Nothing is kept open and nothing is
// shown: a program that must read an interval before the run (which learns
// the mode only as it connects) asks here first.
int32_t FirstInputRunMode(Context& context);

}  // namespace quillex
