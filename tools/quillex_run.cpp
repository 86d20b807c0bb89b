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

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
#include "tools/job_argument.h"
#include "tools/numbers.h"
#include "tools/run_leavings.h"
#include "tools/tool_startup.h"

using namespace quillex;

namespace {

const char kUsage[] =
    "usage: quillex-run JOB --input \"DB: /L1/L2/L3/SET\" [--output \"DB: /L1/L2/L3/SET\"]\n"
    "                       [--from X] [--to Y] [--time] [--metric|--feet] [--verbose]\n"
    "                       [--home DIR]\n"
    "\n"
    "Runs a job file as the desktop program's Run does, without a window.\n"
    "\n"
    "  JOB        the job file; a name without a folder lies in the job folder, a\n"
    "             path with a folder is read from the working folder\n"
    "  --input    the main input source: every variable reads the curve of its\n"
    "             name in this data set (required: a loaded job has no sources)\n"
    "  --output   the output destination (default: a new numbered data set\n"
    "             _qxj1_, _qxj2_, ... beside the input for a curve run, a new\n"
    "             numbered result _plots_/_qxrp_/N there for a report run)\n"
    "  --from, --to  the processing interval in feet or metres (as the settings\n"
    "             say) or, over time-based inputs, seconds; \"*\" or absent: the\n"
    "             extent of the input data\n"
    "  --time     the inputs are time-based (found from the input when it can be\n"
    "             read): --from and --to are seconds\n"
    "  --metric, --feet  depths in metres or feet, whatever the settings say\n"
    "  --verbose  also the notes a run without a window does not need\n"
    "  --home DIR use DIR instead of $CORVANE_HOME\n"
    "\n"
    "Outputs are computed from the top of the interval down to one step above\n"
    "its bottom: the sample at the bottom is not computed. Message boxes are\n"
    "written to standard error; math errors are answered \"continue, and show no\n"
    "more\", give 0 and are counted. The run ends with one status line (Done.,\n"
    "Cancelled. or Aborted.) on standard error and, when done, where its curves\n"
    "or its report went and the interval run; a report run's report goes to\n"
    "standard output too. Numbered sets and results the run made and left empty\n"
    "are removed. Ctrl-C cancels the run, keeping what was written.\n"
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
  bool verbose = false;                       // --verbose
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
    if (argument == "--time" || argument == "--verbose") {
      (argument == "--time" ? options->time : options->verbose) = true;
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
  if (options->values.count("--input") == 0) {
    return start.Usage(
        "--input is needed: a job file keeps no input sources (its NAMEpath= lines are "
        "cleared when it is loaded), so give the data set every variable reads from");
  }
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

// A depth or time as typed for --from or --to: "*" or a plain number (a
// sign, digits, a point, an exponent), nothing after it. The run itself
// reads any text, "abc" as the top; a command line should say what it
// means.
bool IsIntervalText(const std::string& text) {
  if (text == "*") return true;
  char* end = nullptr;
  std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && !std::isspace(text[0]);
}

// The interval as the run will take it; false after a message when --from
// or --to is no depth. A --from below --to is taken the other way round, as
// the window takes it, and said.
bool SetInterval(Context& context, HeadlessScreen& screen, const Options& options) {
  std::string unit = IndexUnitLabel(context);
  std::string texts[2];
  const char* names[2] = {"--from", "--to"};
  for (int n = 0; n < 2; ++n) {
    auto given = options.values.find(names[n]);
    texts[n] = given == options.values.end() ? "*" : given->second;
    if (!IsIntervalText(texts[n])) {
      std::fprintf(stderr,
                   "quillex-run: %s takes a depth or time in %s (a number, or \"*\" for the end "
                   "of the data), not '%s'\nTry 'quillex-run --help'.\n",
                   names[n], unit.c_str(), texts[n].c_str());
      return false;
    }
  }
  if (texts[0] != "*" && texts[1] != "*" &&
      TextToIndex(context, texts[0]) > TextToIndex(context, texts[1])) {
    std::fprintf(stderr,
                 "quillex-run: warning: --from %s lies below --to %s; the run goes from %s to %s\n",
                 texts[0].c_str(), texts[1].c_str(), texts[1].c_str(), texts[0].c_str());
  }
  screen.SetText(control::kIntervalFrom, texts[0]);
  screen.SetText(control::kIntervalTo, texts[1]);
  return true;
}

// Whether a source names a data set that is there; false after a message
// naming what is missing and what there is instead.
bool DataSetExists(Context& context, const DataSource& source, const char* option) {
  std::string label = FormatSourceLabel(context, source.database, source.path);
  uint32_t database = 0;
  if (dorvex::DorvexOpenDatabase(context.dorvex, source.database, 0, &database) != 0) {
    std::fprintf(stderr, "quillex-run: %s %s: no log database %s\n", option, label.c_str(),
                 source.database.c_str());
    return false;
  }
  std::vector<dorvex::DorvexItem> items;
  bool found = dorvex::DorvexListItems(context.dorvex, database, source.path, &items) == 0 &&
               !items.empty() && items[0].level == 4 && items[0].kind == 0;
  if (!found) {
    std::string location = source.path.substr(0, source.path.rfind('/'));
    std::string sets;
    std::vector<dorvex::DorvexItem> around;
    if (dorvex::DorvexListItems(context.dorvex, database, location, &around) == 0) {
      for (const auto& item : around) {
        if (item.level == 4) sets += (sets.empty() ? "" : ", ") + item.name;
      }
    }
    std::fprintf(stderr, "quillex-run: %s %s: no data set %s%s\n", option, label.c_str(),
                 source.path.c_str(),
                 sets.empty() ? "" : (" (the data sets under " + location + ": " + sets + ")").c_str());
  }
  dorvex::DorvexCloseDatabase(context.dorvex, database);
  return found;
}

// A destination given with --output (a data set there or to be made) must
// be in a database that is there, and not hold the curves the run makes.
bool OutputIsFree(Context& context, const DataSource& destination) {
  uint32_t database = 0;
  if (dorvex::DorvexOpenDatabase(context.dorvex, destination.database, 0, &database) != 0) {
    std::fprintf(stderr, "quillex-run: --output %s: no log database %s\n",
                 FormatSourceLabel(context, destination.database, destination.path).c_str(),
                 destination.database.c_str());
    return false;
  }
  std::string taken;
  for (const auto& output : context.job.outputs) {
    std::vector<dorvex::DorvexItem> items;
    std::string path = OutputCurvePath(destination.path, output->name);
    if (dorvex::DorvexListItems(context.dorvex, database, path, &items) == 0) taken = path;
    if (!taken.empty()) break;
  }
  dorvex::DorvexCloseDatabase(context.dorvex, database);
  if (taken.empty()) return true;
  std::string label = FormatSourceLabel(context, destination.database, taken);
  std::fprintf(stderr,
               "quillex-run: %s exists already: give another --output, or leave --output out "
               "for a new numbered data set\n",
               label.c_str());
  return false;
}

// "6 curves, 6000 samples each, written to DEMO: /F/L/W/_qxj1_ (4000 to
// 6999.5 ft)", or where a report run stored its report.
std::string RunSummary(Context& context, const DataSource& written) {
  int64_t fewest = INT64_MAX;
  int64_t most = 0;
  int64_t top = INT64_MAX;
  int64_t last = INT64_MIN;
  for (const auto& output : context.job.outputs) {
    int64_t step = output->step != 0 ? output->step : 1;
    int64_t samples = (int64_t{output->index} - output->top) / step;
    fewest = std::min(fewest, samples);
    most = std::max(most, samples);
    if (samples <= 0) continue;
    top = std::min<int64_t>(top, output->top);
    last = std::max<int64_t>(last, output->index - step);
  }
  std::string interval;
  if (top <= last) {
    interval = " (" + ShortestIndex(top, context.indexFactor) + " to " +
               ShortestIndex(last, context.indexFactor) + " " + IndexUnitLabel(context) + ")";
  }
  size_t outputs = context.job.outputs.size();
  if (context.job.runOption == kGenerateReport) {
    return "Report of " + std::to_string(outputs) + (outputs == 1 ? " output" : " outputs") +
           interval + " stored as " + FormatSourceLabel(context, written.database, written.path);
  }
  std::string each = fewest == most ? std::to_string(most) + (most == 1 ? " sample" : " samples") +
                                          (outputs == 1 ? "" : " each")
                                    : std::to_string(fewest) + " to " + std::to_string(most) +
                                          " samples";
  return std::to_string(outputs) + (outputs == 1 ? " curve, " : " curves, ") + each +
         ", written to " + FormatSourceLabel(context, written.database, written.path) + interval;
}

int RunJob(Context& context, HeadlessScreen& screen, const ToolStart& start,
           const Options& options) {
  Job& job = context.job;
  if (!LoadJobArgument(start, context, options.job)) return kExitFailure;
  if (TellFormulasThatDoNotCompile(start, context) > 0) {
    std::fprintf(stderr, "Aborted.\n");
    return kExitFailure;
  }
  ClearInputPaths(context);
  DataSource input;
  if (!ReadSource(context, options.values.at("--input"), &input)) return kExitUsage;
  if (options.values.count("--output") &&
      !ReadSource(context, options.values.at("--output"), &job.destination)) {
    return kExitUsage;
  }
  if (!DataSetExists(context, input, "--input") ||
      (job.destination.chosen() && !OutputIsFree(context, job.destination))) {
    std::fprintf(stderr, "Aborted.\n");
    return kExitFailure;
  }
  RunLeavings leavings;
  leavings.Before(context, job.destination.chosen() ? job.destination : input);
  screen.SetBrowseAnswer(input);
  ChooseInputSource(context);
  screen.SetBrowseAnswer(std::nullopt);
  if (!TakeRunMode(context, options.time) || !SetInterval(context, screen, options)) {
    leavings.RemoveEmpty(context, true);
    return kExitUsage;
  }
  Run(context);
  bool started = context.run.running;
  DataSource written = job.destination;  // the run's; the end makes the next
  Drive(context, ::isatty(2) != 0);
  if (context.run.mathErrors > 0) {
    std::fprintf(stderr, "%d math errors; each gave the value 0\n", context.run.mathErrors);
  }
  // A run refused before it started leaves the status as it was: it did
  // not run, and says so.
  std::string status = started ? context.run.statusText : "Aborted.";
  bool done = status == "Done.";
  if (job.runOption == kGenerateReport) written = job.destination;
  leavings.RemoveEmpty(context, !done);
  std::fprintf(stderr, "%s\n", status.c_str());
  if (done) std::fprintf(stderr, "%s\n", RunSummary(context, written).c_str());
  if (interrupted) return kExitInterrupted;
  return done ? kExitSuccess : kExitFailure;
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
  screen.SetVerbose(options.verbose);
  return RunJob(context, screen, start, options);
}
