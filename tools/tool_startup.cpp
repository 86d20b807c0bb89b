#include "tools/tool_startup.h"

#include <stdlib.h>

#include <cstdio>

namespace quillex {

int ToolUsage(const char* tool, const std::string& message) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", tool, message.c_str(), tool);
  return kExitUsage;
}

int ToolFail(const char* tool, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", tool, message.c_str());
  return kExitFailure;
}

int ToolStart::ReadCommonOptions(int argc, char** argv) {
  for (int at = 1; at < argc; ++at) {
    std::string argument = argv[at];
    if (argument == "--help") {
      help = true;
    } else if (depths == kShowsDepths && (argument == "--metric" || argument == "--feet")) {
      metric = argument == "--metric" ? 1 : 0;
    } else if (argument == "--home") {
      if (at + 1 >= argc) return Usage("--home needs a folder");
      home = argv[++at];
    } else {
      arguments.push_back(argument);
    }
  }
  return kExitSuccess;
}

bool ToolStart::StartLibrary(dorvex::DorvexLibrary& library) const {
  int started = home.empty() ? dorvex::DorvexInitialize(library, 0)
                             : dorvex::DorvexInitializeAt(library, home);
  if (started != 0) {
    if (metric >= 0) dorvex::DorvexSetSetting(library, dorvex::setting::kMetricDepth, metric);
    // Programs the tool starts (a run starts the plotting program) find the
    // same home through the environment.
    if (!home.empty()) ::setenv("CORVANE_HOME", home.c_str(), 1);
    return true;
  }
  Fail("cannot use the home folder " + (home.empty() ? std::string("of the system") : home));
  return false;
}

}  // namespace quillex
