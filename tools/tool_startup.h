// What every command-line tool does the same way: its exit statuses, its
// messages about a wrong command line or a failure, the options every tool
// takes (--home DIR, --help; --metric and --feet where depths are shown),
// and starting the log database library.
//
// A tool's main reads the common options first, wherever they stand among
// its arguments, and parses what is left as its own:
//
//   ToolStart start("dorvex");
//   if (int status = start.ReadCommonOptions(argc, argv); status != kExitSuccess) return status;
//   if (start.help) { std::fputs(kUsage, stdout); return kExitSuccess; }
//   ... parse start.arguments ...
//   if (!start.StartLibrary(library)) return kExitFailure;
#pragma once

#include <string>
#include <vector>

#include "libs/dorvex/dorvex.h"

namespace quillex {

enum ExitStatus : int {
  kExitSuccess = 0,
  kExitFailure = 1,       // the work could not be done, or the run did not end "Done."
  kExitUsage = 2,         // the command line is wrong
  kExitInterrupted = 130, // stopped by Ctrl-C, as shells report a death by SIGINT
};

// One line "TOOL: MESSAGE" on standard error and a pointer to --help;
// returns kExitUsage.
int ToolUsage(const char* tool, const std::string& message);

// One line "TOOL: MESSAGE" on standard error; returns kExitFailure.
int ToolFail(const char* tool, const std::string& message);

struct ToolStart {
  enum Depths { kNoDepths, kShowsDepths };
  explicit ToolStart(const char* name, Depths depths = kNoDepths) : name(name), depths(depths) {}

  // Takes --home DIR, --help and (for a tool that shows depths) --metric and
  // --feet out of the command line; the rest, in order, is left in
  // `arguments`. kExitUsage after a message when --home has no folder, else
  // kExitSuccess.
  int ReadCommonOptions(int argc, char** argv);

  // Starts the library in the home folder (--home, else $CORVANE_HOME and its
  // defaults), showing depths in metres or feet when --metric or --feet says
  // so over the settings file; a --home is also set as $CORVANE_HOME for the
  // programs the tool starts. False after a message naming the folder when
  // it cannot be used: the tool can do nothing then.
  [[nodiscard]] bool StartLibrary(dorvex::DorvexLibrary& library) const;

  int Usage(const std::string& message) const { return ToolUsage(name, message); }
  int Fail(const std::string& message) const { return ToolFail(name, message); }

  const char* name;
  Depths depths;
  std::string home;  // empty: the system's home folder
  bool help = false;
  int metric = -1;   // 1 --metric, 0 --feet, -1 as the settings file says
  std::vector<std::string> arguments;
};

}  // namespace quillex
