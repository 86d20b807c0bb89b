#include "tools/job_argument.h"

#include <cstdio>
#include <filesystem>

#include "curvedata/context.h"
#include "jobfile/job_file.h"
#include "tools/tool_startup.h"

namespace quillex {

bool LoadJobArgument(const ToolStart& tool, Context& context, const std::string& argument) {
  std::string path = argument;
  std::error_code error;
  if (path.find('/') != std::string::npos && !std::filesystem::path(path).is_absolute()) {
    path = std::filesystem::absolute(path, error).string();
  }
  context.job.filePath = path;
  // Resolved as the load resolves it, so the message names the file looked for.
  std::string file = FindFileIgnoringCase(
      path.find('/') != std::string::npos
          ? path
          : dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kSettingsFolder).text + path);
  if (!std::filesystem::is_regular_file(file, error)) {
    tool.Fail("no job file " + file);
    return false;
  }
  if (!IsJobFile(file)) {
    tool.Fail(file + " is not a job file: it has no [Job] section and no outputs");
    return false;
  }
  for (const std::string& warning : JobFileWarnings(file)) {
    std::fprintf(stderr, "%s: warning: %s\n", tool.name, warning.c_str());
  }
  LoadJob(context);
  return true;
}

int TellFormulasThatDoNotCompile(const ToolStart& tool, const Context& context) {
  int count = 0;
  int number = 0;
  for (const auto& output : context.job.outputs) {
    ++number;
    if (output->compiled) continue;
    ++count;
    std::fprintf(stderr, "%s: output %d (%s): the formula does not compile: %s\n", tool.name,
                 number, output->name.c_str(), output->formula.c_str());
  }
  return count;
}

}  // namespace quillex
