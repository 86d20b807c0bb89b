// The job: the one document Quillex works on.
//
// A job is an ordered list of outputs plus a few job-wide settings. Each
// output owns its formula text, its compiled form and the nodes that the
// compiled form's codes stand for. The list order is meaningful everywhere:
// it is the display order, the job-file section order and the run order.
//
// Records start zero-filled: every field that is not set reads 0 or empty, as
// the rest of the program expects. Handles of the outside libraries (curves,
// filters, unit conversions) are plain numbers owned by those libraries and
// released through them, never by a destructor here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "libs/dorvex/index_limits.h"

namespace quillex {

// Reserved index values, the log database's own: every real depth or time
// lies strictly between them, so a range can use them as "not given" and
// "open end".
constexpr int32_t IndexUnset = dorvex::kIndexUnset;  // no value given; shown as "*"
constexpr int32_t IndexLimit = dorvex::kIndexLimit;  // open end of a range

// Text limits kept from the job file and the dialogs: a longer text is cut.
constexpr size_t kOutputNameLimit = 10;     // output names, also path components
constexpr size_t kFilePathLimit = 255;      // file paths, presentation name
constexpr size_t kCurvePathLimit = 483;     // CurvePath of a binding
constexpr size_t kSourceLabelLimit = 479;   // a source label read from a dialog

// The first dialog control id of the variable grid. Ids are unique within one
// output's grid only, so every new or loaded job and every release of a
// formula's nodes starts again here.
constexpr int32_t kFirstGridControlId = 20200;

// The plot scale of a new job and the one a run falls back to.
constexpr double kDefaultScale = 240.0;

// A step of 0 is shown and taken as this many index units per sample
// (a quarter foot in feet).
constexpr int32_t kDefaultStep = 1500;

enum RunOption : int32_t {
  kGenerateCurves = 0,  // write each output as a new curve
  kGenerateReport = 1,  // reduce each output to one number for the report
};

// Kinds of formula nodes. The value 1 is assigned to no kind.
enum NodeKind : int32_t {
  kNodeInput = 0,         // input curve
  kNodeFunction = 2,      // call of a scalar function
  kNodeListFunction = 3,  // call of a function over a list of values
  kNodeConstant = 4,      // a number of the formula, or the -1 of a unary minus
  kNodeSingleValue = 5,   // input whose curve has no sample step
  kNodeFilter = 6,        // call of a smoothing filter
};

struct BuiltinFunction;  // formula/builtin_functions.h

// A place in the log database. A source with either part empty is not chosen.
struct DataSource {
  std::string database;  // database file path, up to kFilePathLimit
  std::string path;      // CurvePath inside it, up to kCurvePathLimit

  bool chosen() const { return !database.empty() && !path.empty(); }
};

// One compiled argument of a function node, in argument order. Its codes
// refer to the node list of the same output.
struct FormulaArgument {
  std::optional<std::string> compiled;
};

// One node of a compiled formula. The compiler creates it; input binding and
// the variable grid fill the binding fields afterwards.
struct VariableBinding {
  std::string name;  // as first written; "Const" for constants; empty for calls
  uint8_t code = 0;  // the node's byte in the compiled text, 128 to 255
  int32_t kind = kNodeInput;
  int32_t units = 0;        // units the formula wants
  int32_t sourceUnits = 0;  // units of the connected curve
  const BuiltinFunction* handler = nullptr;  // function, list and filter nodes
  uint32_t filter = 0;        // Sift32 handle of a filter node
  int32_t filterLength = 0;   // read-ahead of the filter in index units
  uint32_t curve = 0;         // connected input curve during a run
  std::vector<FormulaArgument> arguments;
  float value = 0.0F;         // current value; for a constant, the constant
  std::string database;       // bound source's database file path
  std::string path;           // bound source's CurvePath
  std::array<int32_t, 4> controlIds{};  // the node's row in the variable grid
  int32_t top = 0;
  int32_t bottom = 0;
  int32_t step = 0;
  uint32_t conversion = 0;    // from sourceUnits to units
  int32_t argCount = 0;       // list functions
  std::vector<double> argValues;  // list functions: argCount values
};

// One output of the job.
//
// The nodes are kept in creation order. Codes start at 128 and rise by one
// along the list, so the node of code c is variables[c - 128]: the evaluator
// reaches a node without searching. Nodes are held by pointer so that their
// addresses stay put while the list grows (the grid keeps pointers to them).
struct OutputDef {
  int32_t top = 0;
  int32_t bottom = 0;
  int32_t index = 0;      // index of the next sample to compute
  int32_t step = 0;       // index units per sample; 0 = the largest input step
  uint32_t curve = 0;     // open output curve during a curve run
  int32_t remaining = 0;  // samples still to compute in this run
  std::string name;       // at most kOutputNameLimit characters
  int32_t units = 0;
  uint32_t dataId = 0;
  std::string description;
  std::string formula;
  std::optional<std::string> compiled;  // empty while the formula does not compile
  std::vector<std::unique_ptr<VariableBinding>> variables;
  double result = 0.0;     // running value of the interval functions
  int32_t firstSample = 0;
  double sampleCount = 0.0;
  uint32_t conversion = 0;  // from units to the output curve's units
};

struct Job {
  std::string filePath;      // the job file; empty = none yet
  std::vector<std::unique_ptr<OutputDef>> outputs;  // in list order
  std::string presentation;  // file name of the plot presentation; empty = no plot
  double scale = kDefaultScale;
  DataSource input;          // main input source
  DataSource destination;    // output destination
  int32_t intervalFrom = IndexUnset;
  int32_t intervalTo = IndexUnset;
  int32_t runOption = kGenerateCurves;
  int32_t nextControlId = kFirstGridControlId;
};

}  // namespace quillex
