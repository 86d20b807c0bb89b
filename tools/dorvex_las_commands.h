// The dorvex tool's LAS commands, import-las and export-las.
//
// They are kept apart from the tool's other commands, which know nothing of
// LAS: the tool parses their command lines like any other and hands them
// over here with the library started. Messages, and exit status, are the
// tool's: "dorvex: ..." on standard error, 0 done, 1 failed, 2 wrong
// command line.
#pragma once

#include <map>
#include <string>

#include "libs/dorvex/dorvex.h"

namespace quillex {

struct LasCommand {
  std::string database;      // as given
  std::string databaseFile;  // the file it names
  std::string path;          // /L1/L2/L3/SET
  std::string file;          // the LAS file
  std::map<std::string, std::string> options;
  bool wrap = false;
};

// dorvex import-las FILE NAME:/L1/L2/L3/SET [--pass N] [--step S]
int ImportLasCommand(dorvex::DorvexLibrary& library, const LasCommand& command);
// dorvex export-las NAME:/L1/L2/L3/SET FILE [--curves A,B,...] [--null V] [--wrap]
int ExportLasCommand(dorvex::DorvexLibrary& library, const LasCommand& command);

}  // namespace quillex
