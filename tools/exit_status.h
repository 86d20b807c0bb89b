// Exit codes of the command-line tools.
#pragma once

enum ExitStatus : int {
  kExitSuccess = 0,
  kExitFailure = 1,  // the work could not be done (a formula that does not compile)
  kExitUsage = 2,    // the command line is wrong
};
