#include "formula/block_formula.h"

#include <cmath>

#include "curvedata/context.h"
#include "curvedata/sample_reader.h"
#include "formula/builtin_functions.h"

namespace quillex {

namespace {

// Parentheses and calls nest at most this deep; the compiler's node limit
// keeps real formulas far below it, and a text beyond it is left to the
// evaluator.
constexpr int kDeepestLevel = 256;

// Scalar calls take one to three arguments, as the evaluator's.
constexpr size_t kScalarArguments = 3;

}  // namespace

int32_t BlockFormula::NewColumn(double fill) {
  columns_.resize(columns_.size() + kSamples, fill);
  return static_cast<int32_t>(columns_.size() / kSamples) - 1;
}

bool BlockFormula::Plan(const OutputDef& output) {
  planned_ = false;
  operations_.clear();
  arguments_.clear();
  columns_.clear();
  NewColumn(0.0);
  if (!output.compiled) return false;
  const auto* scan = reinterpret_cast<const unsigned char*>(output.compiled->data());
  result_ = PlanLevel(output, scan, scan + output.compiled->size(), 0);
  floats_.resize(kSamples);
  planned_ = result_ >= 0;
  return planned_;
}

// The evaluator's scan of one level, with columns in place of values: the
// left and right values and the pending operator change exactly as they do
// there. Returns the level's column, or -1 when the formula cannot be
// planned.
int32_t BlockFormula::PlanLevel(const OutputDef& output, const unsigned char*& scan,
                                const unsigned char* end, int depth) {
  if (depth > kDeepestLevel) return -1;
  int32_t left = 0;
  int32_t right = 0;
  int pending = 0;
  while (scan < end) {
    unsigned char byte = *scan++;
    int32_t value = 0;
    switch (byte) {
      case ' ':
        continue;
      case ')':
        return Apply(left, pending, right);
      case '+':
      case '-':
      case '*':
      case '/':
        if (pending != 0) left = Apply(left, pending, right);
        pending = byte;
        continue;
      case '(':
        value = PlanLevel(output, scan, end, depth + 1);
        break;
      default:
        value = PlanNode(output, byte, depth);
        break;
    }
    if (value < 0) return -1;
    (pending != 0 ? right : left) = value;
  }
  return Apply(left, pending, right);
}

int32_t BlockFormula::Apply(int32_t left, int op, int32_t right) {
  if (op == 0) return left;
  Code code = op == '+' ? Code::kAdd : op == '-' ? Code::kSubtract
              : op == '*' ? Code::kMultiply : Code::kDivide;
  int32_t target = NewColumn(0.0);
  operations_.push_back({code, target, left, right, nullptr});
  return target;
}

// A node read while a run is on: a variable is read from its input, a call
// evaluated afresh, anything else keeps its value (a constant's is fixed).
int32_t BlockFormula::PlanNode(const OutputDef& output, uint8_t code, int depth) {
  size_t place = static_cast<size_t>(code) - 128;
  if (code < 128 || place >= output.variables.size()) return 0;
  const VariableBinding& node = *output.variables[place];
  if (node.code != code) return 0;
  switch (node.kind) {
    case kNodeInput:
    case kNodeSingleValue: {
      int32_t target = NewColumn(0.0);
      operations_.push_back({Code::kRead, target, 0, 0, &node});
      return target;
    }
    case kNodeFunction:
      return PlanCall(output, node, Code::kCall, static_cast<int32_t>(node.arguments.size()),
                      depth);
    case kNodeListFunction:
      return PlanCall(output, node, Code::kList, node.argCount, depth);
    case kNodeFilter:
      return -1;
    default:
      return NewColumn(static_cast<double>(node.value));
  }
}

int32_t BlockFormula::PlanCall(const OutputDef& output, const VariableBinding& node, Code code,
                               int32_t argumentCount, int depth) {
  if (code == Code::kCall && (argumentCount == 0 || argumentCount > int32_t{kScalarArguments})) {
    return 0;  // the evaluator's value of such a call
  }
  if (node.handler == nullptr || argumentCount < 1 ||
      static_cast<size_t>(argumentCount) > node.arguments.size() ||
      (code == Code::kCall ? node.handler->scalar == nullptr : node.handler->list == nullptr)) {
    return -1;
  }
  std::vector<int32_t> columns;
  for (int32_t i = 0; i < argumentCount; ++i) {
    const auto& text = node.arguments[static_cast<size_t>(i)].compiled;
    if (!text) return -1;
    const auto* scan = reinterpret_cast<const unsigned char*>(text->data());
    int32_t column = PlanLevel(output, scan, scan + text->size(), depth + 1);
    if (column < 0) return -1;
    columns.push_back(column);
  }
  auto first = static_cast<int32_t>(arguments_.size());
  arguments_.insert(arguments_.end(), columns.begin(), columns.end());
  if (callValues_.size() < columns.size()) callValues_.resize(columns.size());
  int32_t target = NewColumn(0.0);
  operations_.push_back({code, target, first, argumentCount, &node});
  return target;
}

const double* BlockFormula::Evaluate(Context& context, const OutputDef& output, int32_t count) {
  if (!planned_ || count < 1 || count > kSamples) return nullptr;
  for (const Operation& operation : operations_) {
    if (!Run(context, output, operation, count)) return nullptr;
  }
  return Column(result_);
}

// One operation over the block. The loops are kept plain so that the
// compiler can run the operators several samples at a time.
bool BlockFormula::Run(Context& context, const OutputDef& output, const Operation& operation,
                       int32_t count) {
  double* target = Column(operation.target);
  const double* a = Column(operation.first);
  const double* b = Column(operation.second);
  switch (operation.code) {
    case Code::kRead: {
      // Without a reader every read fails, and a failed read gives 0.
      if (context.sampleReader == nullptr) return true;
      float* read = floats_.data();
      int status = context.sampleReader->ReadBlock(*operation.node, output.index, output.step,
                                                   count, read);
      if (status == kStatusNotYetAvailable) return false;
      for (int32_t k = 0; k < count; ++k) target[k] = read[k];
      return true;
    }
    case Code::kAdd:
      for (int32_t k = 0; k < count; ++k) target[k] = a[k] + b[k];
      return true;
    case Code::kSubtract:
      for (int32_t k = 0; k < count; ++k) target[k] = a[k] - b[k];
      return true;
    case Code::kMultiply:
      for (int32_t k = 0; k < count; ++k) target[k] = a[k] * b[k];
      return true;
    case Code::kDivide: {
      // Division by zero or by a missing value is a math error: the block is
      // given up, and the evaluator tells it when it meets that sample.
      bool error = false;
      for (int32_t k = 0; k < count; ++k) {
        error |= b[k] == 0.0 || std::isnan(b[k]);
        target[k] = a[k] / b[k];
      }
      return !error;
    }
    case Code::kCall: {
      const int32_t* columns = arguments_.data() + operation.first;
      double values[kScalarArguments] = {0.0, 0.0, 0.0};
      RunState& run = context.run;
      run.evaluatingAhead = true;
      run.aheadSpoiled = false;
      for (int32_t k = 0; k < count; ++k) {
        for (int32_t i = 0; i < operation.second; ++i) values[i] = Column(columns[i])[k];
        target[k] = static_cast<float>(operation.node->handler->scalar(context, values));
      }
      run.evaluatingAhead = false;
      return !run.aheadSpoiled;
    }
    case Code::kList: {
      const int32_t* columns = arguments_.data() + operation.first;
      double* values = callValues_.data();
      for (int32_t k = 0; k < count; ++k) {
        for (int32_t i = 0; i < operation.second; ++i) values[i] = Column(columns[i])[k];
        target[k] =
            static_cast<float>(operation.node->handler->list(operation.second, values, nullptr));
      }
      return true;
    }
  }
  return false;
}

}  // namespace quillex
