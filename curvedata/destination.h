// Output destinations: where a run writes its curves or its report.
//
// Every run writes into a fresh numbered item next to its input: curve runs
// into a new data set "_qxj1_", "_qxj2_", ... beside the source data set,
// report runs into a numbered result "_plots_/_qxrp_/1", "/2", ... under the
// source's location. A name is taken by asking the library to create its
// node; a refusal (the name exists) moves on to the next number.
#pragma once

#include <string>

namespace quillex {

struct Context;

// The name of the next numbered set: the trailing number goes up by one,
// keeping a trailing "_" when there is room ("_qxj9_" gives "_qxj10_"); a
// name without a number is unchanged except that a trailing "_" is doubled.
// Names hold at most 10 characters.
std::string NextSetName(const std::string& name);

// Sets the destination beside a chosen input, unless one is set: the chosen
// path's location (its first three components) with "_qxj1_" for curve
// runs, or "_plots_/_qxrp_" for report runs, and the first free number.
void DeriveDestination(Context& context, const std::string& databaseFile,
                       const std::string& chosenPath);

// Makes the destination's data set (component 3) exist as a new node, moving
// to the next free name (up to 500 tries). A database that cannot be opened
// is told in an error box and changes nothing.
void CreateDestinationSet(Context& context);

// The same for report runs: the first free result number 1 to 499 under the
// destination's "_qxrp_" set.
void CreateDestinationPass(Context& context);

// The Output Destination browse button: lets the user choose the destination
// in the database. False when no choice was made or a run is on.
bool ChooseOutputDestination(Context& context);

// The browse patterns for a destination of each kind of run.
inline constexpr const char* kDataSetPattern = "/*/*/*/*";
inline constexpr const char* kResultPattern = "/*/*/*/_plots_/_qxrp_/*";

}  // namespace quillex
