// quillex-run: the processing run without a window.
//
//   quillex-run JOB [--input "DB: /L1/L2/L3/SET"] [--output "DB: /L1/L2/L3/SET"]
//                   [--from X] [--to Y] [--time] [--home DIR]
//
// Loads the job as Open does, chooses the sources as the browse buttons
// would, and drives the same engine as the desktop program to the end. The
// run learns depth or time only as it connects its first input; the interval
// is read before that, so the runner finds out from the input first.
// Message boxes go to standard error; the report of a report run to
// standard output.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/index_value.h"
#include "curvedata/input_binding.h"
#include "curvedata/unit_list.h"
#include "jobfile/job_file.h"
#include "jobfile/settings.h"
#include "jobfile/source_choice.h"
#include "model/controls.h"
#include "run/block_steps.h"
#include "run/engine.h"
#include "tools/headless_screen.h"
#include "tools/tool_startup.h"

using namespace quillex;

namespace {

const char kUsage[] =
    "usage: quillex-run JOB [--input \"DB: /L1/L2/L3/SET\"] [--output \"DB: /L1/L2/L3/SET\"]\n"
    "                       [--from X] [--to Y] [--time] [--home DIR]\n"
    "\n"
    "Runs a job file as the desktop program's Run does, without a window.\n"
    "\n"
    "  JOB        the job file; a name without a folder lies in the job folder\n"
    "  --input    the main input source: every variable reads the curve of its\n"
    "             name in this data set (required: a loaded job has no sources)\n"
    "  --output   the output destination (default: a new numbered data set, or\n"
    "             result, beside the input)\n"
    "  --from, --to  the processing interval in feet or metres (as the settings\n"
    "             say) or, over time-based inputs, seconds; \"*\" or absent: the\n"
    "             extent of the input data\n"
    "  --time     the inputs are time-based (found from the input when it can be\n"
    "             read): --from and --to are seconds\n"
    "  --home DIR use DIR instead of $CORVANE_HOME\n"
    "  --metric, --feet  depths in metres or feet, whatever the settings say\n"
    "\n"
    "Message boxes are written to standard error; math errors are answered\n"
    "\"continue, and show no more\" and counted. The final status (Done.,\n"
    "Cancelled. or Aborted.) goes to standard error, a report run's report to\n"
    "standard output. Ctrl-C cancels the run, keeping what was written.\n"
    "Exit status: 0 Done., 1 Aborted. or a refused run, 2 a wrong command line,\n"
    "130 interrupted.\n";

// Set by Ctrl-C; the loop turns it into a stop request between steps. A
// signal handler can touch nothing else, which is why this one flag is the
// program's only global.
volatile sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

struct Options {
  std::string job;
  std::map<std::string, std::string> values;  // --input, --output, --from, --to
  bool time = false;                          // --time
};

int ParseOptions(const ToolStart& start, Options* options) {
  const std::vector<std::string>& arguments = start.arguments;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.rfind("--", 0) != 0) {
      if (!options->job.empty()) return start.Usage("more than one job file given");
      options->job = argument;
      continue;
    }
    if (argument == "--time") {
      options->time = true;
      continue;
    }
    if (argument != "--input" && argument != "--output" && argument != "--from" &&
        argument != "--to") {
      return start.Usage("unknown option '" + argument + "'");
    }
    if (i + 1 >= arguments.size()) return start.Usage(argument + " needs a value");
    options->values[argument] = arguments[++i];
  }
  if (options->job.empty()) return start.Usage("no job file given");
  return kExitSuccess;
}

// A source given as "DB: /L1/L2/L3/SET"; false after a message when it does
// not read as one.
bool ReadSource(Context& context, const std::string& label, DataSource* source) {
  if (label.find(':') == std::string::npos) {
    std::fprintf(stderr, "quillex-run: '%s' is not a source: write it as \"DB: /L1/L2/L3/SET\"\n",
                 label.c_str());
    return false;
  }
  ParseSourceLabel(context, label, &source->database, &source->path);
  return true;
}

void DrawProgress(const Context& context) {
  const RunState& run = context.run;
  int percent = run.samplesTotal > 0 ? static_cast<int>(run.samplesDone * 100.0 / run.samplesTotal) : 0;
  int filled = percent / 5;
  std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "####################", 20 - filled, "",
               percent);
  std::fflush(stderr);
}

// Steps the run a slice at a time, looking for Ctrl-C and drawing the bar in
// between; a slice that makes no progress (an input not yet recorded) waits
// a little before the next, so a held run does not spin.
void Drive(Context& context, bool bar) {
  using Clock = std::chrono::steady_clock;
  // A slice of steps takes about a millisecond.
  constexpr int32_t kSliceSteps = 1 << 15;
  auto lastDrawn = Clock::now();
  BlockStepper stepper;
  while (context.run.running) {
    if (interrupted) RequestStop(context);
    int32_t before = context.run.samplesDone;
    stepper.StepMany(context, kSliceSteps);
    if (context.run.running && context.run.samplesDone == before) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (bar && Clock::now() - lastDrawn > std::chrono::milliseconds(100)) {
      DrawProgress(context);
      lastDrawn = Clock::now();
    }
  }
  if (bar) std::fprintf(stderr, "\r%*s\r", 30, "");
}

// Depth or time before the interval is read: from the first input, else
// --time, else the settings' "Drive". False after a message when --time is
// given over depth-based inputs.
bool TakeRunMode(Context& context, bool time) {
  int32_t found = FirstInputRunMode(context);
  if (time && found == 1) {
    std::fprintf(stderr, "quillex-run: --time given, but the input data are depth-based\n");
    return false;
  }
  if (time || found >= 0) context.runMode = time ? 0 : found;
  SetIndexFactor(context);
  return true;
}

int RunJob(Context& context, HeadlessScreen& screen, const Options& options) {
  Job& job = context.job;
  job.filePath = options.job;
  LoadJob(context);
  if (!std::filesystem::exists(job.filePath)) {
    std::fprintf(stderr, "quillex-run: no job file %s\n", job.filePath.c_str());
    return kExitFailure;
  }
  ClearInputPaths(context);
  if (options.values.count("--output") &&
      !ReadSource(context, options.values.at("--output"), &job.destination)) {
    return kExitUsage;
  }
  if (options.values.count("--input")) {
    DataSource input;
    if (!ReadSource(context, options.values.at("--input"), &input)) return kExitUsage;
    screen.SetBrowseAnswer(input);
    ChooseInputSource(context);
    screen.SetBrowseAnswer(std::nullopt);
  }
  if (!TakeRunMode(context, options.time)) return kExitUsage;
  screen.SetText(control::kIntervalFrom, options.values.count("--from") ? options.values.at("--from") : "*");
  screen.SetText(control::kIntervalTo, options.values.count("--to") ? options.values.at("--to") : "*");
  Run(context);
  Drive(context, ::isatty(2) != 0);
  if (context.run.mathErrors > 0) {
    std::fprintf(stderr, "%d math errors; each gave the value 0\n", context.run.mathErrors);
  }
  const std::string& status = context.run.statusText;
  if (!status.empty()) std::fprintf(stderr, "%s\n", status.c_str());
  if (interrupted) return kExitInterrupted;
  return status == "Done." ? kExitSuccess : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  ToolStart start("quillex-run", ToolStart::kShowsDepths);
  if (int status = start.ReadCommonOptions(argc, argv); status != kExitSuccess) return status;
  if (start.help) {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  Options options;
  if (int status = ParseOptions(start, &options); status != kExitSuccess) return status;
  HeadlessScreen screen;
  Context context(screen);
  if (!start.StartLibrary(context.dorvex)) return kExitFailure;
  LoadSettings(context, "");
  LoadUnitList(context);
  ::signal(SIGINT, OnInterrupt);
  return RunJob(context, screen, options);
}
