// quillex-formula: the formula editor's Compile and Test without a window.
//
//   quillex-formula [--report] [--dump] FORMULA [NAME=TEXT ...]
//
// Compiles FORMULA as the formula of a new output of an empty job, then runs
// the formula test with NAME=TEXT as the text of variable NAME's source field
// and prints the test line. Message boxes go to standard error.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <string>
#include <utility>
#include <vector>

#include "curvedata/context.h"
#include "formula/compiler.h"
#include "formula/dump.h"
#include "formula/tester.h"
#include "model/job_list.h"
#include "tools/headless_screen.h"
#include "tools/tool_startup.h"

using namespace quillex;

namespace {

const char kUsage[] =
    "usage: quillex-formula [--report] [--dump] FORMULA [NAME=TEXT ...]\n"
    "\n"
    "Compiles FORMULA as the formula editor does and, if it compiles, runs the\n"
    "formula test and prints its line, for example 1.000000+2.000000 = 3.000000.\n"
    "\n"
    "  NAME=TEXT  the text of variable NAME's source field (names without regard\n"
    "             to case); text that begins with a digit or a point is the\n"
    "             variable's test value, any other text (a sign too: -5) gives the\n"
    "             next counter value (1, 2, ...), as in the formula editor\n"
    "  --report   compile for a report run (interval functions keep their state)\n"
    "  --dump     print the compiled text and the node list before the test\n"
    "  --help     print this text\n"
    "\n"
    "Message boxes are written to standard error as 'error: TEXT', 'note: TEXT'\n"
    "or 'message: TEXT'. Exit status: 0 compiled and tested, 1 the formula does\n"
    "not compile, 2 a wrong command line.\n";

struct Options {
  bool report = false;
  bool dump = false;
  bool help = false;
  std::string formula;
  std::vector<std::pair<std::string, std::string>> fields;  // NAME, TEXT
};

int UsageError(const std::string& message) { return ToolUsage("quillex-formula", message); }

// Returns kExitSuccess, or the exit status of a wrong command line after
// telling what is wrong. Options start with "--" and come before the formula,
// so a formula may start with a sign ("-A"); "--" ends the options.
int ParseOptions(int argc, char** argv, Options* options) {
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    std::string option = argv[i];
    if (option == "--") {
      ++i;
      break;
    }
    if (option == "--report") {
      options->report = true;
    } else if (option == "--dump") {
      options->dump = true;
    } else if (option == "--help") {
      options->help = true;
      return kExitSuccess;
    } else {
      return UsageError("unknown option '" + option + "'");
    }
  }
  if (i >= argc) return UsageError("no formula given");
  options->formula = argv[i++];
  for (; i < argc; ++i) {
    const char* equals = std::strchr(argv[i], '=');
    if (equals == nullptr || equals == argv[i]) {
      return UsageError("'" + std::string(argv[i]) + "' is not NAME=TEXT");
    }
    options->fields.emplace_back(std::string(argv[i], static_cast<size_t>(equals - argv[i])),
                                 std::string(equals + 1));
  }
  return kExitSuccess;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// Types each NAME=TEXT into the source field of its variable. A name that is
// no input variable of the formula is a mistake worth telling.
int FillFields(Context& context, const OutputDef& output, const Options& options) {
  for (const auto& [name, text] : options.fields) {
    bool found = false;
    for (const auto& node : output.variables) {
      if (node->kind == kNodeInput && SameName(node->name, name)) {
        context.screen.SetText(node->controlIds[0], text);
        found = true;
      }
    }
    if (!found) return UsageError("the formula has no variable named '" + name + "'");
    // The editor's Test takes a number only from text that begins with a
    // digit or a point: a signed or blank-led value silently becomes a
    // counter value there, so here it is said.
    if (!text.empty() && !std::isdigit(static_cast<unsigned char>(text[0])) && text[0] != '.') {
      std::fprintf(stderr,
                   "quillex-formula: note: %s=%s does not begin with a digit or a point, so %s "
                   "takes the next counter value, as in the formula editor's Test\n",
                   name.c_str(), text.c_str(), name.c_str());
    }
  }
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (int status = ParseOptions(argc, argv, &options); status != kExitSuccess) return status;
  if (options.help) {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  HeadlessScreen screen;
  Context context(screen);
  context.job.runOption = options.report ? kGenerateReport : kGenerateCurves;
  OutputDef& output = AppendOutput(context.job, std::make_unique<OutputDef>());
  output.formula = options.formula;
  ResetCompiledFormula(context, &output);
  if (CompileFormula(context, output.formula, output.compiled, output) == 0) {
    ResetCompiledFormula(context, &output);
    return kExitFailure;
  }
  if (int status = FillFields(context, output, options); status != kExitSuccess) return status;
  if (options.dump) std::fputs(DumpFormula(context, output).c_str(), stdout);
  std::printf("%s\n", TestFormula(context, output).c_str());
  return kExitSuccess;
}
