// The built-in functions: one fixed table that the compiler, the evaluator and
// the formula builder all read.
//
// A row gives the function's name (matched without regard to case), the
// description and argument names the builder shows, the argument count the
// compiler splits a call into, the interval flag (1 for functions that reduce
// a whole report run to one value) and the kind, which decides the node a
// call compiles to. List functions take any number of values; the table's
// count 1 is that of the builder's template "Curve1, Curve2, ...".
#pragma once

#include <cstdint>
#include <string_view>

namespace quillex {

struct Context;
struct OutputDef;

enum FunctionKind : int32_t {
  kScalarFunction = 0,  // compiles to a function node
  kFilterFunction = 1,  // compiles to a filter node
  kListFunction = 2,    // compiles to a list-function node
};

// Scalar handlers get up to three argument values; unused ones are 0.
using ScalarHandler = double (*)(Context& context, const double* arguments);
// List handlers get the values and, in report runs only, the output whose
// interval state they keep (null otherwise).
using ListHandler = double (*)(int32_t count, const double* values, OutputDef* output);
// The filter handler gets the value read at the read-ahead, the filter and
// the output index the value is for.
using FilterHandler = double (*)(Context& context, double value, uint32_t filter, int32_t index);

constexpr int kArgumentNameSlots = 11;

struct BuiltinFunction {
  const char* name;
  const char* description;
  ScalarHandler scalar;  // set for kScalarFunction
  ListHandler list;      // set for kListFunction
  FilterHandler filter;  // set for kFilterFunction
  int32_t argumentCount;
  const char* argumentNames[kArgumentNameSlots];
  int32_t intervalFlag;
  int32_t kind;
  const char* filterType;  // "Square" or "Gaussian" for filters
};

// The table in its order; a row with no name ends it.
extern const BuiltinFunction kBuiltinFunctions[];

// Finds a function by name without regard to case; null when there is none.
const BuiltinFunction* LookupFunction(std::string_view name);

}  // namespace quillex
