// quillex-job: job files without a window.
//
//   quillex-job [--home DIR] show FILE
//   quillex-job [--home DIR] delete FILE N
//
// `show` prints the job as the program loads it, without changing the file;
// `delete` deletes output N and renumbers the sections after it. Message
// boxes (a formula that no longer compiles, say) go to standard error.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "curvedata/context.h"
#include "curvedata/index_value.h"
#include "curvedata/job_fields.h"
#include "curvedata/unit_list.h"
#include "formula/filters.h"
#include "jobfile/job_file.h"
#include "libs/profile/profile.h"
#include "model/job_list.h"
#include "model/sample_rate.h"
#include "tools/headless_screen.h"
#include "tools/job_argument.h"
#include "tools/tool_startup.h"

using namespace quillex;

namespace {

const char kUsage[] =
    "usage: quillex-job [--home DIR] show FILE\n"
    "       quillex-job [--home DIR] delete FILE N\n"
    "\n"
    "  show FILE      print the job as loaded: run option, presentation, scale, then\n"
    "                 each output with its list line, units, data ID, description,\n"
    "                 step, whether its formula compiles, and its variables with the\n"
    "                 units and sources stored in the file\n"
    "  delete FILE N  delete output N (1 = the first) and renumber the later ones\n"
    "\n"
    "A FILE without a folder lies in the job folder; a path with a folder in it is\n"
    "read from the working folder. --home DIR uses DIR instead of\n"
    "$CORVANE_HOME; --metric and --feet show sample rates a metre or a foot,\n"
    "whatever the settings say. Message boxes are written to standard error.\n"
    "Exit status: 0 done, 1 failed (no such job file, not a job file, or show of a\n"
    "job with a formula that does not compile), 2 wrong command line.\n";

int Usage(const std::string& message) { return ToolUsage("quillex-job", message); }

int Fail(const std::string& message) { return ToolFail("quillex-job", message); }

void ShowVariables(Context& context, const OutputDef& output) {
  std::string section = std::to_string(OutputNumber(context.job, &output));
  for (const auto& node : output.variables) {
    if (node->kind != kNodeInput && node->kind != kNodeSingleValue) continue;
    const std::string& file = context.job.filePath;
    std::string units = profile::ReadProfileString(file, section, node->name + "units", "", kRecordLimit);
    std::string source = profile::ReadProfileString(file, section, node->name + "path", "", kRecordLimit);
    std::printf("  variable %s: units %s, source %s\n", node->name.c_str(),
                units.empty() ? "-" : units.c_str(), source.empty() ? "-" : source.c_str());
  }
}

void Show(Context& context) {
  Job& job = context.job;
  std::printf("job %s\n", job.filePath.c_str());
  std::printf("run option %d (%s)\n", job.runOption,
              job.runOption == kGenerateReport ? "Generate Report" : "Generate Curve(s)");
  std::printf("presentation %s\n", job.presentation.empty() ? "-" : job.presentation.c_str());
  std::printf("scale %g\n", job.scale);
  int number = 1;
  for (const auto& output : job.outputs) {
    std::printf("output %d: %s\n", number++, OutputListLine(context.indexFactor, *output).c_str());
    std::printf("  units %s, data ID %u, description \"%s\", step %d, formula %s\n",
                UnitText(context, output->units).c_str(), output->dataId,
                output->description.c_str(), output->step,
                output->compiled ? "compiles" : "does not compile");
    ShowVariables(context, *output);
  }
}

int Delete(Context& context, const std::string& text) {
  char* end = nullptr;
  long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') return Usage("N must be an output number, not '" + text + "'");
  OutputDef* output = OutputNumbered(context.job, static_cast<int>(number));
  if (number < 1 || output == nullptr) {
    return Fail("the job has no output " + text + " (it has " +
                std::to_string(context.job.outputs.size()) + ")");
  }
  std::string name = output->name;
  DeleteOutput(context.filters, context.job, output);
  DeleteOutputSection(context, static_cast<int>(number));
  std::printf("deleted output %ld (%s)\n", number, name.c_str());
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  ToolStart start("quillex-job", ToolStart::kShowsDepths);
  if (int status = start.ReadCommonOptions(argc, argv); status != kExitSuccess) return status;
  if (start.help) {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  const std::vector<std::string>& arguments = start.arguments;
  if (arguments.empty()) return Usage("no command given");
  const std::string& command = arguments[0];
  if (command.rfind("--", 0) == 0) return Usage("unknown option '" + command + "'");
  if (command != "show" && command != "delete") return Usage("unknown command '" + command + "'");
  size_t wanted = command == "show" ? 1 : 2;
  if (arguments.size() - 1 != wanted) {
    return Usage(command + (wanted == 1 ? " needs FILE" : " needs FILE N"));
  }

  HeadlessScreen screen;
  Context context(screen);
  if (!start.StartLibrary(context.dorvex)) return kExitFailure;
  SetIndexFactor(context);
  LoadUnitList(context);
  if (!LoadJobArgument(start, context, arguments[1])) return kExitFailure;
  if (command == "delete") return Delete(context, arguments[2]);
  Show(context);
  // A job that cannot run says so in its exit status too.
  return TellFormulasThatDoNotCompile(start, context) == 0 ? kExitSuccess : kExitFailure;
}
