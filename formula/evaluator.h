// The formula evaluator: the value of a compiled formula for one sample.
//
// Operators have no precedence. A formula is evaluated strictly from left to
// right, parentheses being the only grouping: A+B*C is (A+B)*C. The compiled
// text keeps the source order of operators and parentheses, so one plain scan
// suffices; a parenthesised part and every function argument is a level of
// its own, evaluated by recursion over the same text.
//
// Arithmetic is in doubles; node values are 32-bit floats, widened when read.
// A node is reached by its code directly (codes rise by one from 128 along the
// node list), and nothing is allocated per sample.
#pragma once

#include <cstdint>
#include <string>

namespace quillex {

struct Context;
struct OutputDef;
struct VariableBinding;

// Error types of a math error, as the C library's matherr numbers them.
enum MathErrorType : int32_t {
  kMathDomain = 1,
  kMathSingularity = 2,  // division by zero, 0 to a negative power
  kMathOverflow = 3,
};

struct MathErrorRecord {
  int32_t type = 0;
  const char* function = "";
  double first = 0.0;
  double second = 0.0;
  double result = 0.0;
};

// Evaluates compiled text against the output's node list. The offset, in
// index units, is added to the output's index when a variable is read (0 for a
// plain evaluation; filter calls pass their read-ahead).
double EvaluateFormula(Context& context, OutputDef& output, const std::string& compiled,
                       int32_t offset);

// Applies one operator byte ('+', '-', '*', '/', or 0 for none). Division by
// zero or by a value that is not a number is a math error whose result is 0.
double ApplyOperator(Context& context, double left, int op, double right);

// The value of the node with a code; 0 when no node carries it. While a run
// is on the node is refreshed from its input first.
double NodeValue(Context& context, OutputDef& output, uint8_t code, int32_t offset);

// Stores a new value in a node according to its kind.
void RefreshNode(Context& context, OutputDef& output, VariableBinding& node, int32_t offset);

// The math-error routine: sets the result to 0 and tells the user: a message
// box while no run is on, else the math-error dialog unless the user asked to
// see no more of them; "No" there asks the run to stop. Returns 1 (handled).
int OnMathError(Context& context, MathErrorRecord& record);

// The message shown for a math error while no run is on.
inline constexpr const char* kMathErrorMessage = "Math error has occurred, result will be 0";

}  // namespace quillex
