// dorvex: the log database from the command line.
//
//   dorvex [--home DIR] create NAME
//   dorvex [--home DIR] ls NAME[:PATH]
//   dorvex [--home DIR] info NAME:PATH
//   dorvex [--home DIR] cat NAME:PATH [--from X] [--to Y]
//   dorvex [--home DIR] put NAME:PATH --top T --step S --units U [--time] [--description TEXT]
//   dorvex [--home DIR] record NAME:PATH --top T --step S --units U --rate N [--time]
//   dorvex [--home DIR] rm NAME:PATH
//   dorvex [--home DIR] check NAME
//   dorvex [--home DIR] import-las FILE NAME:/L1/L2/L3/SET [--pass N] [--step S]
//   dorvex [--home DIR] export-las NAME:/L1/L2/L3/SET FILE [--curves A,B,...] [--null V] [--wrap]
//
// Depths and times are given and shown in display units: feet or metres as
// the system's settings say, seconds for time-based curves.
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"
#include "tools/dorvex_las_commands.h"
#include "tools/numbers.h"
#include "tools/tool_startup.h"

using namespace dorvex;
using namespace quillex;

namespace {

const char kUsage[] =
    "usage: dorvex [--home DIR] COMMAND ARGUMENTS\n"
    "\n"
    "  create NAME                    make a new, empty database\n"
    "  ls NAME[:PATH]                 list the items, with curve extents, steps and units\n"
    "  info NAME:PATH                 show a curve's description fields\n"
    "  cat NAME:PATH [--from X] [--to Y]\n"
    "                                 print index and value, tab-separated, a sample a line\n"
    "  put NAME:PATH --top T --step S --units U [--time] [--description TEXT]\n"
    "                                 make a curve from the numbers on standard input\n"
    "  record NAME:PATH --top T --step S --units U --rate N [--time]\n"
    "                                 record the numbers on standard input at N samples a\n"
    "                                 second, the curve's end open until the input ends\n"
    "  rm NAME:PATH                   remove an item and everything below it (a pass,\n"
    "                                 a curve, a data set such as an old _qxj3_ ...)\n"
    "  check NAME                     check a database's integrity\n"
    "  import-las FILE NAME:/L1/L2/L3/SET [--pass N] [--step S]\n"
    "                                 make a curve NAME:/L1/L2/L3/SET/MNEM/N (pass 1 unless\n"
    "                                 --pass) of each curve of a LAS file, the file's header\n"
    "                                 kept beside them; irregular data is resampled to the\n"
    "                                 median spacing, or to step S\n"
    "  export-las NAME:/L1/L2/L3/SET FILE [--curves A,B,...] [--null V] [--wrap]\n"
    "                                 write the data set's curves (the highest pass of each)\n"
    "                                 as a LAS 2.0 file; NULL -999.25 unless V\n"
    "\n"
    "NAME is a database in the database folder (a path with '/' names a file).\n"
    "PATH is /LOCATION1/LOCATION2/LOCATION3/SET/CURVE/PASS. Depths and times are in\n"
    "display units: feet or metres as the settings say, seconds with --time.\n"
    "A curve named without its pass (.../SET/CURVE) is its highest pass.\n"
    "--home DIR uses DIR instead of $CORVANE_HOME; --metric and --feet show and\n"
    "read depths in metres or feet whatever the settings file says.\n"
    "Exit status: 0 done, 1 failed, 2 wrong command line.\n";

int Fail(const std::string& message) { return ToolFail("dorvex", message); }

int Usage(const std::string& message) { return ToolUsage("dorvex", message); }

struct Command {
  std::string name;
  std::string database;  // as given
  std::string path;      // after the ":"
  std::map<std::string, std::string> options;
  bool time = false;
  std::string file;  // the LAS commands' FILE
  bool wrap = false;
};

bool ReadNumber(const std::string& text, double* value) {
  const char* end = text.data() + text.size();
  if (text == "nan" || text == "NaN" || text == "NAN") {
    *value = std::nan("");
    return true;
  }
  const char* start = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
  auto [stop, error] = std::from_chars(start, end, *value);
  return error == std::errc() && stop == end;
}

// A curve named without its pass ("/A/B/C/SET/GR") means its highest pass.
std::string WithPass(const std::string& path) {
  size_t components = 0;
  for (char c : path) components += c == '/' ? 1 : 0;
  return components == 5 && path.back() != '/' ? path + "/*" : path;
}

class Tool {
 public:
  int Run(const Command& command);

 private:
  int Open(const Command& command);
  int32_t Factor(bool timeBased);
  std::string IndexText(int32_t index, bool timeBased);
  std::string IndexUnit(bool timeBased) {
    return DorvexUnitLabel(library_, timeBased               ? kUnitSeconds
                                     : Factor(false) == 19685 ? kUnitMetres
                                                              : kUnitFeet);
  }
  int Create(const Command& command);
  int List(const Command& command);
  int Info(const Command& command);
  int Cat(const Command& command);
  int Put(const Command& command, bool recording);
  int Check(const Command& command);
  int Remove(const Command& command);
  int Las(const Command& command);
  int MakeCurve(const Command& command, size_t samples, uint32_t* curve);
  std::string File(const std::string& name) {
    return name.find('/') != std::string::npos ? name : DorvexDatabaseFile(library_, name);
  }

 public:
  DorvexLibrary library_;

 private:
  uint32_t database_ = 0;
};

int32_t Tool::Factor(bool timeBased) {
  if (timeBased) return 100;
  return DorvexGetSetting(library_, dorvex::setting::kMetricDepth).number == 1 ? 19685 : 6000;
}

std::string Tool::IndexText(int32_t index, bool timeBased) {
  return ShortestIndex(index, Factor(timeBased));
}

int Tool::Open(const Command& command) {
  std::string file = File(command.database);
  if (DorvexOpenDatabase(library_, file, 0, &database_) != 0) {
    return Fail("cannot open database " + command.database + " (" + file +
                "): missing, unreadable or not a log database");
  }
  return kExitSuccess;
}

int Tool::Create(const Command& command) {
  std::string file = File(command.database);
  if (DorvexCreateDatabase(library_, file) != 0) {
    return Fail("cannot create database " + command.database + " (" + file +
                "): it exists, or its folder cannot be written");
  }
  std::printf("created %s\n", file.c_str());
  return kExitSuccess;
}

int Tool::List(const Command& command) {
  if (int status = Open(command); status != kExitSuccess) return status;
  std::vector<DorvexItem> items;
  if (DorvexListItems(library_, database_, command.path, &items) != 0) {
    return Fail("no item " + command.path + " in " + command.database);
  }
  for (const DorvexItem& item : items) {
    std::string line(static_cast<size_t>(item.level - 1) * 2, ' ');
    line += item.path;
    if (item.kind == 1) {
      std::string unit = IndexUnit(item.timeBased);
      line += "  " + (item.count == 0 ? std::string("empty")
                                      : IndexText(item.top, item.timeBased) + " to " +
                                            IndexText(item.bottom, item.timeBased) + " " + unit);
      line += "  step " + IndexText(item.step, item.timeBased) + "  units " +
              DorvexUnits(library_).Mnemonic(item.units) + "  " + std::to_string(item.count) +
              " samples" + (item.recording ? "  recording" : "");
    } else if (item.kind == 2) {
      line += "  file \"" + item.title + "\"";
    }
    std::printf("%s\n", line.c_str());
  }
  return kExitSuccess;
}

int Tool::Info(const Command& command) {
  if (int status = Open(command); status != kExitSuccess) return status;
  CurveInfo info = EmptyCurveInfo();
  uint32_t curve = 0;
  if (DorvexOpenCurve(library_, database_, command.path, &curve, kDorvexRead, &info) != 0) {
    return Fail("no curve " + command.path + " in " + command.database);
  }
  static_cast<void>(DorvexCloseCurve(library_, curve));  // only read
  bool time = IsTimeBased(info);
  std::printf("version\t%.11s\n", info.version);
  std::printf("description\t%s\n", DescriptionOf(info).c_str());
  std::printf("data ID\t%d\n", info.dataId);
  std::printf("time word\t%u (%s)\n", info.timeWord, time ? "time" : "depth");
  std::printf("type words\t%u %u\n", info.typeA, info.typeB);
  std::printf("units\t%u %s\n", info.units, DorvexUnits(library_).Mnemonic(info.units).c_str());
  std::printf("top\t%d (%s %s)\n", info.top, IndexText(info.top, time).c_str(),
              IndexUnit(time).c_str());
  std::printf("bottom\t%d (%s %s)\n", info.bottom, IndexText(info.bottom, time).c_str(),
              IndexUnit(time).c_str());
  std::printf("step\t%u (%s %s)\n", info.step, IndexText(info.step, time).c_str(),
              IndexUnit(time).c_str());
  std::printf("element size\t%u\n", info.elementSize);
  std::printf("word 200\t%u\n", info.word200);
  std::printf("floats 208 216 220 224\t%s %s %s %s\n", ShortestFloat(info.scale208).c_str(),
              ShortestFloat(info.scale216).c_str(), ShortestFloat(info.scale220).c_str(),
              ShortestFloat(info.scale224).c_str());
  std::printf("words 232 234\t%u %u\n", info.word232, info.word234);
  return kExitSuccess;
}

// Reads a display-unit option into index units; false when it is given but
// does not read.
bool OptionIndex(const Command& command, const char* name, int32_t factor, int64_t* index) {
  auto found = command.options.find(name);
  if (found == command.options.end()) return true;
  double value = 0;
  if (!ReadNumber(found->second, &value) || !std::isfinite(value)) return false;
  double scaled = std::round(value * factor);
  if (std::fabs(scaled) >= dorvex::kIndexLimit) return false;
  *index = static_cast<int64_t>(scaled);
  return true;
}

int Tool::Cat(const Command& command) {
  if (int status = Open(command); status != kExitSuccess) return status;
  std::vector<DorvexItem> items;
  uint32_t curve = 0;
  if (DorvexListItems(library_, database_, command.path, &items) != 0 || items[0].kind != 1 ||
      DorvexOpenCurve(library_, database_, command.path, &curve, kDorvexRead, nullptr) != 0) {
    return Fail("no curve " + command.path + " in " + command.database);
  }
  const DorvexItem& item = items[0];
  if (item.elementSize != 4) return Fail(command.path + " holds no samples of one value each");
  int32_t factor = Factor(item.timeBased);
  int64_t from = INT64_MIN;
  int64_t to = INT64_MAX;
  if (!OptionIndex(command, "--from", factor, &from) || !OptionIndex(command, "--to", factor, &to)) {
    return Usage("--from and --to take a depth or time");
  }
  for (int64_t k = 0; k < item.count; ++k) {
    int64_t index = item.top + k * item.step;
    if (index < from || index > to) continue;
    float value = 0;
    if (DorvexReadSamples(library_, curve, static_cast<int32_t>(index), 1, &value) != 0) {
      return Fail("cannot read " + command.path + " at " +
                  IndexText(static_cast<int32_t>(index), item.timeBased));
    }
    std::printf("%s\t%s\n", IndexText(static_cast<int32_t>(index), item.timeBased).c_str(),
                ShortestFloat(value).c_str());
  }
  return kExitSuccess;
}

// Reads the next number of standard input. Returns 1 for a number, 0 at the
// end, -1 for a word that is no number (named in *word).
int NextNumber(double* value, std::string* word) {
  if (!(std::cin >> *word)) return 0;
  return ReadNumber(*word, value) ? 1 : -1;
}

struct CurveShape {
  int64_t top = 0;
  int64_t step = 0;
  int32_t units = 0;
};

// Reads --top, --step and --units; an empty message means they are good.
std::string ReadShape(Tool& tool, const Command& command, int32_t factor, CurveShape* shape) {
  for (const char* required : {"--top", "--step", "--units"}) {
    if (command.options.count(required) == 0) return std::string(required) + " is required";
  }
  if (!OptionIndex(command, "--top", factor, &shape->top)) return "--top takes a depth or time";
  if (!OptionIndex(command, "--step", factor, &shape->step) || shape->step < 1 ||
      shape->step > 65535) {
    return "--step must come to between 1 and 65535 index units (" + std::to_string(factor) +
           " to the display unit)";
  }
  shape->units = DorvexUnitCode(tool.library_, command.options.at("--units"));
  return "";
}

// Makes the curve with room for `samples` samples from its top (its bottom
// grows as a recording goes on) and opens it for writing.
int Tool::MakeCurve(const Command& command, size_t samples, uint32_t* curve) {
  CurveShape shape;
  int32_t factor = Factor(command.time);
  if (std::string problem = ReadShape(*this, command, factor, &shape); !problem.empty()) {
    return Usage(problem);
  }
  if (int status = Open(command); status != kExitSuccess) return status;
  std::string description =
      command.options.count("--description") ? command.options.at("--description") : "";
  int64_t bottom = shape.top + static_cast<int64_t>(samples > 0 ? samples - 1 : 0) * shape.step;
  if (bottom >= dorvex::kIndexLimit) return Fail("the curve would reach past the deepest index");
  CurveInfo info = SampleCurveInfo(description, 0, command.time, shape.units,
                                   static_cast<int32_t>(shape.top), static_cast<int32_t>(bottom),
                                   static_cast<int32_t>(shape.step));
  // A recording is made and marked open in one transaction, so that no
  // reader ever meets it as a finished, empty curve.
  bool recording = command.name == "record";
  if (recording && DorvexBeginBatch(library_, database_) != 0) {
    return Fail("cannot write to " + command.database + ": " + DorvexLastError(library_));
  }
  bool made = DorvexCreateCurve(library_, database_, command.path, sizeof info, &info) == 0;
  bool opened =
      made && DorvexOpenCurve(library_, database_, command.path, curve, kDorvexWrite, nullptr) == 0;
  bool marked = opened && (!recording || DorvexSetRecording(library_, *curve, true) == 0);
  if (recording && DorvexEndBatch(library_, database_, marked) != 0 && marked) {
    return Fail("cannot start the recording of " + command.path + ": " +
                DorvexLastError(library_));
  }
  if (!made) {
    return Fail("cannot create curve " + command.path + " in " + command.database +
                ": it exists, or the path does not name a curve (six components of at most 10 "
                "characters)");
  }
  if (!marked) return Fail("cannot open the new curve " + command.path);
  return kExitSuccess;
}

int Tool::Put(const Command& command, bool recording) {
  double rate = 0;
  if (recording && (command.options.count("--rate") == 0 ||
                    !ReadNumber(command.options.at("--rate"), &rate) || !(rate > 0))) {
    return Usage("--rate must be a number of samples a second above 0");
  }
  std::vector<float> values;
  double value = 0;
  std::string word;
  int got = 0;
  // A whole curve is read before anything is written, so bad input writes
  // nothing; a recording writes as the numbers come.
  for (int count = 1; !recording && (got = NextNumber(&value, &word)) == 1; ++count) {
    values.push_back(static_cast<float>(value));
  }
  if (got < 0) return Fail("'" + word + "' on standard input is not a number; nothing written");
  uint32_t curve = 0;
  if (int status = MakeCurve(command, values.size(), &curve); status != kExitSuccess) return status;
  std::vector<DorvexItem> items;
  if (DorvexListItems(library_, database_, command.path, &items) != 0 || items.empty()) {
    return Fail("cannot find the new curve " + command.path);
  }
  int32_t index = items.at(0).top;
  int32_t step = items.at(0).step;
  if (!recording) {
    int result = DorvexWriteSamples(library_, curve, index, static_cast<int32_t>(values.size()),
                                    values.data());
    int closed = DorvexCloseCurve(library_, curve);
    if (result != 0 || closed != 0) {
      return Fail("cannot write the samples of " + command.path + ": " +
                  DorvexLastError(library_));
    }
    std::printf("%zu samples written to %s\n", values.size(), command.path.c_str());
    return kExitSuccess;
  }
  auto pause = std::chrono::duration<double>(1.0 / rate);
  int64_t written = 0;
  while ((got = NextNumber(&value, &word)) == 1) {
    float sample = static_cast<float>(value);
    if (DorvexWriteSamples(library_, curve, index, 1, &sample) != 0 ||
        DorvexFlush(library_, curve) != 0) {
      got = -2;
      break;
    }
    ++written;
    index += step;
    std::this_thread::sleep_for(pause);
  }
  int ended = DorvexSetRecording(library_, curve, false);
  if (DorvexCloseCurve(library_, curve) != 0 || ended != 0) got = -2;
  if (got == -1) return Fail("'" + word + "' on standard input is not a number; recording ended");
  if (got == -2) return Fail("cannot write to " + command.path + "; recording ended");
  std::printf("%lld samples recorded to %s\n", static_cast<long long>(written),
              command.path.c_str());
  return kExitSuccess;
}

int Tool::Check(const Command& command) {
  std::vector<std::string> problems;
  std::string file = File(command.database);
  if (DorvexCheckDatabase(library_, file, &problems) != 0) {
    for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
    return kExitFailure;
  }
  std::printf("%s: ok\n", command.database.c_str());
  return kExitSuccess;
}

int Tool::Las(const Command& command) {
  LasCommand las{command.database, File(command.database), command.path, command.file,
                 command.options, command.wrap};
  if (command.name == "import-las") return ImportLasCommand(library_, las);
  return ExportLasCommand(library_, las);
}

int Tool::Remove(const Command& command) {
  if (int status = Open(command); status != kExitSuccess) return status;
  std::vector<DorvexItem> items;
  if (DorvexListItems(library_, database_, command.path, &items) != 0 || items.empty()) {
    return Fail("no item " + command.path + " in " + command.database);
  }
  DorvexRemoved removed;
  if (DorvexDeleteItem(library_, database_, items[0].path, &removed) != 0) {
    std::string reason = DorvexLastError(library_);
    return Fail("cannot remove " + items[0].path + (reason.empty() ? "" : ": " + reason));
  }
  std::printf("removed %s (%lld items, %lld curves, %lld samples)\n", items[0].path.c_str(),
              static_cast<long long>(removed.items), static_cast<long long>(removed.curves),
              static_cast<long long>(removed.samples));
  return kExitSuccess;
}

int Tool::Run(const Command& given) {
  Command command = given;
  if (command.name == "info" || command.name == "cat") command.path = WithPass(command.path);
  if (command.name == "create") return Create(command);
  if (command.name == "ls") return List(command);
  if (command.name == "info") return Info(command);
  if (command.name == "cat") return Cat(command);
  if (command.name == "put") return Put(command, false);
  if (command.name == "record") return Put(command, true);
  if (command.name == "import-las" || command.name == "export-las") return Las(command);
  if (command.name == "rm") return Remove(command);
  return Check(command);
}

// Where a command takes a FILE besides NAME[:PATH].
enum FilePlace { kNoFile, kFileFirst, kFileLast };

// Which commands take a path, and which options each takes (with a value).
struct Grammar {
  const char* name;
  bool path;  // NAME:PATH needed
  std::vector<const char*> options;
  FilePlace file = kNoFile;
  std::vector<const char*> switches;  // options without a value
};

const Grammar kGrammar[] = {
    {"create", false, {}},
    {"ls", false, {}},
    {"info", true, {}},
    {"cat", true, {"--from", "--to"}},
    {"put", true, {"--top", "--step", "--units", "--description"}},
    {"record", true, {"--top", "--step", "--units", "--rate"}},
    {"check", false, {}},
    {"rm", true, {}},
    {"import-las", true, {"--pass", "--step"}, kFileFirst},
    {"export-las", true, {"--curves", "--null"}, kFileLast, {"--wrap"}},
};

// Takes the FILE argument where the command has it.
int ParseFile(const std::vector<std::string>& arguments, size_t* at, const Grammar& grammar,
              FilePlace place, Command* command) {
  if (grammar.file != place) return kExitSuccess;
  if (*at >= arguments.size()) return Usage(command->name + " needs a FILE");
  command->file = arguments[(*at)++];
  return kExitSuccess;
}

bool IsSwitch(const Grammar& grammar, const std::string& option) {
  for (const char* each : grammar.switches) {
    if (option == each) return true;
  }
  return false;
}

int ParseCommand(const std::vector<std::string>& arguments, Command* command) {
  size_t at = 0;
  if (at >= arguments.size()) return Usage("no command given");
  if (arguments[at].rfind("--", 0) == 0) return Usage("unknown option '" + arguments[at] + "'");
  command->name = arguments[at++];
  const Grammar* grammar = nullptr;
  for (const Grammar& each : kGrammar) {
    if (command->name == each.name) grammar = &each;
  }
  if (grammar == nullptr) return Usage("unknown command '" + command->name + "'");
  if (int status = ParseFile(arguments, &at, *grammar, kFileFirst, command); status != 0) {
    return status;
  }
  if (at >= arguments.size()) return Usage(command->name + " needs a database name");
  std::string target = arguments[at++];
  size_t colon = target.find(':');
  command->database = target.substr(0, colon);
  if (colon != std::string::npos) command->path = target.substr(colon + 1);
  while (!command->path.empty() && command->path.front() == ' ') command->path.erase(0, 1);
  if (command->database.empty()) return Usage("no database name in '" + target + "'");
  if (grammar->path && command->path.empty()) return Usage(command->name + " needs NAME:PATH");
  if (int status = ParseFile(arguments, &at, *grammar, kFileLast, command); status != 0) {
    return status;
  }
  bool takesTime = command->name == "put" || command->name == "record";
  for (; at < arguments.size(); ++at) {
    const std::string& option = arguments[at];
    if (takesTime && option == "--time") {
      command->time = true;
      continue;
    }
    if (IsSwitch(*grammar, option)) {
      command->wrap = true;  // the only switch of a grammar row so far
      continue;
    }
    bool known = false;
    for (const char* each : grammar->options) known = known || option == each;
    if (!known) return Usage("unknown option '" + option + "' for " + command->name);
    if (at + 1 >= arguments.size()) return Usage(option + " needs a value");
    command->options[option] = arguments[++at];
  }
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  ToolStart start("dorvex", ToolStart::kShowsDepths);
  if (int status = start.ReadCommonOptions(argc, argv); status != kExitSuccess) return status;
  if (start.help) {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  Command command;
  if (int status = ParseCommand(start.arguments, &command); status != kExitSuccess) return status;
  Tool tool;
  if (!start.StartLibrary(tool.library_)) return kExitFailure;
  return tool.Run(command);
}
