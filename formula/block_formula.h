// Evaluating ahead: one output's formula for a block of consecutive samples
// at once, column by column, instead of sample by sample.
//
// The evaluator scans the compiled text for every sample, but the course of
// that scan depends on the text alone, never on the values: which node is
// read, which operator is applied to which two values. Planning scans the
// text once and records that course as a short list of column operations
// (read a variable, apply an operator, call a function) whose results are
// columns of doubles. Each value is rounded to a float exactly where the
// evaluator rounds it (a node keeps a float), so every sample comes out bit
// for bit as the evaluator gives it; only the order of the work differs.
//
// Evaluating ahead leaves no trace: nothing the run or the nodes keep is
// changed. So a formula with a filter, whose instance must be fed once per
// sample, is not planned; and a block in which any sample meets a math error
// or an input not yet recorded is given up whole. The engine evaluates those
// samples one by one instead, where the error is told and the hold is kept
// as usual. The block form is meant for curve runs: list functions are
// called without the interval state of a report run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillex {

struct Context;
struct OutputDef;
struct VariableBinding;

class BlockFormula {
 public:
  // Samples a block holds at most: the columns of a typical formula then
  // fit in the processor's nearest caches.
  static constexpr int32_t kSamples = 512;

  // Plans the output's compiled formula. False when it cannot be evaluated
  // ahead (no compiled form, a filter call, nesting beyond reason).
  bool Plan(const OutputDef& output);

  // Evaluates the `count` samples (1 to kSamples) from the output's index on,
  // one step apart. Returns the column of their values, or null when the
  // block was given up.
  const double* Evaluate(Context& context, const OutputDef& output, int32_t count);

 private:
  enum class Code : uint8_t { kRead, kAdd, kSubtract, kMultiply, kDivide, kCall, kList };
  struct Operation {
    Code code;
    int32_t target;         // column of the result
    int32_t first, second;  // operator operands; for calls, the span of arguments_
    const VariableBinding* node;
  };

  int32_t NewColumn(double fill);
  int32_t PlanLevel(const OutputDef& output, const unsigned char*& scan,
                    const unsigned char* end, int depth);
  int32_t PlanNode(const OutputDef& output, uint8_t code, int depth);
  int32_t PlanCall(const OutputDef& output, const VariableBinding& node, Code code,
                   int32_t argumentCount, int depth);
  int32_t Apply(int32_t left, int op, int32_t right);
  bool Run(Context& context, const OutputDef& output, const Operation& operation,
           int32_t count);
  double* Column(int32_t column) { return columns_.data() + size_t(column) * kSamples; }

  bool planned_ = false;
  std::vector<Operation> operations_;
  std::vector<int32_t> arguments_;  // the argument columns of every call
  std::vector<double> columns_;     // kSamples doubles a column; column 0 holds zeros
  std::vector<float> floats_;       // one column of samples as read
  std::vector<double> callValues_;  // one sample's arguments of a call
  int32_t result_ = 0;
};

}  // namespace quillex
