// How the command-line tools tell of a wrong command line or a failure: one
// line "TOOL: MESSAGE" on standard error, a pointer to --help after a usage
// mistake, and the exit status to return.
#pragma once

#include <cstdio>
#include <string>

#include "tools/exit_status.h"

inline int ToolUsage(const char* tool, const std::string& message) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", tool, message.c_str(), tool);
  return kExitUsage;
}

inline int ToolFail(const char* tool, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", tool, message.c_str());
  return kExitFailure;
}
