// Names of items in the log database, and the label that shows a data source
// to the user.
//
// A curve path is plain text, "/"-separated components of at most 10
// characters; the program takes paths apart by component and builds the few
// item paths it writes from a data set path. A data source (a database file
// and a path) is shown and typed as one label, "NAME: /path", where NAME is
// the database's base name: databases always live in the library's database
// folder, so the folder never needs to be shown, and a label typed or read
// from a job file names the same database on any machine.
#pragma once

#include <cstdint>
#include <string>

namespace quillex {

struct Context;

// Paths are looked at up to this many characters.
constexpr size_t kPathScanLimit = 480;
// A component of a path holds at most this many characters.
constexpr size_t kPathComponentLimit = 10;

// The n-th component (from 0) of the first kPathScanLimit characters of a
// path, empty components skipped, cut to kPathComponentLimit characters; ""
// when there is none.
std::string PathComponent(const std::string& path, int32_t n);

// The text after the last "\" or "/" of a file path (the whole text when it
// has neither): job files written on either kind of system name files.
std::string BaseName(const std::string& filePath);

// "NAME: path" for a data source: the database's base name without
// extension, then the path. A label shorter than 3 characters (nothing
// chosen) is empty; a path ending in "/*" (any pass of a curve) is shown
// without those two characters.
std::string FormatSourceLabel(Context& context, const std::string& databaseFile,
                              const std::string& path);

// Splits a label typed or read back into the database file (in the library's
// database folder) and the path. Both outputs are emptied first; an empty
// label leaves them so. A label without ":" cannot name a database: the user
// is told in a "Path Name Error:" box and both outputs stay empty.
void ParseSourceLabel(Context& context, const std::string& text, std::string* databaseFile,
                      std::string* path);

// The items the program writes and reads under a data set path (given with
// or without its leading "/"): an output curve, always pass 1; the run's
// settings item; an input curve named like a variable, any pass.
std::string OutputCurvePath(const std::string& dataSet, const std::string& outputName);
std::string SettingsItemPath(const std::string& dataSet);
std::string InputCurvePath(const std::string& dataSet, const std::string& variableName);

}  // namespace quillex
