#include "formula/evaluator.h"

#include <cmath>
#include <cstdint>

#include "curvedata/context.h"
#include "curvedata/sample_reader.h"
#include "formula/builtin_functions.h"
#include "formula/filters.h"

namespace quillex {

namespace {

double ReadNode(Context& context, OutputDef& output, uint8_t code, int32_t offset);

// One level: from the scan position to its closing ")" or the end of the
// text. The scan position is left behind the ")" that ended the level.
double EvaluateLevel(Context& context, OutputDef& output, const unsigned char*& scan,
                     const unsigned char* end, int32_t offset) {
  double left = 0.0;
  double right = 0.0;
  int pending = 0;
  while (scan < end) {
    unsigned char byte = *scan++;
    switch (byte) {
      case ' ':
        break;
      case '(': {
        double value = EvaluateLevel(context, output, scan, end, offset);
        (pending != 0 ? right : left) = value;
        break;
      }
      case ')':
        return ApplyOperator(context, left, pending, right);
      case '+':
      case '-':
      case '*':
      case '/':
        // The right value is kept: a sign behind an operator applies the
        // pending operation with the previous right value first.
        if (pending != 0) left = ApplyOperator(context, left, pending, right);
        pending = byte;
        break;
      default: {
        double value = ReadNode(context, output, byte, offset);
        (pending != 0 ? right : left) = value;
        break;
      }
    }
  }
  return ApplyOperator(context, left, pending, right);
}

}  // namespace

double EvaluateFormula(Context& context, OutputDef& output, const std::string& compiled,
                       int32_t offset) {
  const auto* scan = reinterpret_cast<const unsigned char*>(compiled.data());
  const unsigned char* end = scan + compiled.size();
  return EvaluateLevel(context, output, scan, end, offset);
}

double ApplyOperator(Context& context, double left, int op, double right) {
  switch (op) {
    case 0:
      return left;
    case '*':
      return left * right;
    case '+':
      return left + right;
    case '-':
      return left - right;
    case '/': {
      if (right != 0.0 && !std::isnan(right)) return left / right;
      MathErrorRecord record{kMathSingularity, "divide", left, right, 0.0};
      OnMathError(context, record);
      return record.result;
    }
    default:
      return 0.0;
  }
}

double NodeValue(Context& context, OutputDef& output, uint8_t code, int32_t offset) {
  return ReadNode(context, output, code, offset);
}

namespace {

// An index or offset moved on by a read-ahead. Read-aheads are never
// negative, and one that would carry past the largest index reads past every
// sample there is anyway: the sum stops there rather than wrap around.
inline int32_t Ahead(int32_t from, int32_t readAhead) {
  int64_t sum = int64_t{from} + readAhead;
  return sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

inline void ReadVariable(Context& context, const OutputDef& output, VariableBinding& node,
                         int32_t offset) {
  double sample = 0.0;
  int result = context.sampleReader == nullptr
                   ? -1
                   : context.sampleReader->ReadSample(node, Ahead(output.index, offset), &sample);
  if (result == 0) {
    node.value = static_cast<float>(sample);
  } else if (result == kStatusNotYetAvailable) {
    context.run.evaluationStatus = kStatusNotYetAvailable;
  } else {
    node.value = 0.0F;
  }
}

// The node of a code, reached by its place: codes rise by one from 128
// along the list. While a run is on the node is refreshed first; input
// variables, the most common node, are read here without a further call.
inline double ReadNode(Context& context, OutputDef& output, uint8_t code, int32_t offset) {
  size_t place = static_cast<size_t>(code) - 128;
  if (code < 128 || place >= output.variables.size()) return 0.0;
  VariableBinding& node = *output.variables[place];
  if (node.code != code) return 0.0;
  if (context.run.running) {
    if (node.kind == kNodeInput || node.kind == kNodeSingleValue) {
      ReadVariable(context, output, node, offset);
    } else {
      RefreshNode(context, output, node, offset);
    }
  }
  return node.value;
}

// Scalar functions take at most three arguments; a call with more, or none,
// is worth 0.
void CallScalar(Context& context, OutputDef& output, VariableBinding& node, int32_t offset) {
  size_t count = node.arguments.size();
  if (count == 0 || count > 3) {
    node.value = 0.0F;
    return;
  }
  double values[3] = {0.0, 0.0, 0.0};
  for (size_t i = 0; i < count; ++i) {
    values[i] = EvaluateFormula(context, output, *node.arguments[i].compiled, offset);
  }
  node.value = static_cast<float>(node.handler->scalar(context, values));
}

void CallList(Context& context, OutputDef& output, VariableBinding& node, int32_t offset) {
  for (int32_t i = 0; i < node.argCount; ++i) {
    node.argValues[static_cast<size_t>(i)] =
        EvaluateFormula(context, output, *node.arguments[static_cast<size_t>(i)].compiled, offset);
  }
  OutputDef* intervalState = context.job.runOption == kGenerateReport ? &output : nullptr;
  node.value =
      static_cast<float>(node.handler->list(node.argCount, node.argValues.data(), intervalState));
}

void CallFilter(Context& context, OutputDef& output, VariableBinding& node, int32_t offset) {
  double value = EvaluateFormula(context, output, *node.arguments[0].compiled,
                                 Ahead(offset, node.filterLength));
  node.value = static_cast<float>(node.handler->filter(context, value, node.filter, output.index));
}

}  // namespace

void RefreshNode(Context& context, OutputDef& output, VariableBinding& node, int32_t offset) {
  switch (node.kind) {
    case kNodeInput:
    case kNodeSingleValue:
      ReadVariable(context, output, node, offset);
      break;
    case kNodeFunction:
      CallScalar(context, output, node, offset);
      break;
    case kNodeListFunction:
      CallList(context, output, node, offset);
      break;
    case kNodeFilter:
      CallFilter(context, output, node, offset);
      break;
    default:  // constants keep their value
      break;
  }
}

int OnMathError(Context& context, MathErrorRecord& record) {
  record.result = 0.0;
  if (context.run.evaluatingAhead) {
    context.run.aheadSpoiled = true;
    return 1;
  }
  ++context.run.mathErrors;
  if (!context.run.running) {
    context.screen.MessageBox(kMathErrorMessage, kCaption, box::kIconStop,
                              context.screen.HasMainWindow());
  } else if (!context.run.mathWarningsSuppressed) {
    MathErrorAnswer answer = context.screen.AskMathError();
    if (answer.button == MathErrorAnswer::kYes) {
      context.run.mathWarningsSuppressed = answer.dontShowAgain;
    } else if (answer.button == MathErrorAnswer::kNo) {
      context.run.abortRequested = true;
    }
  }
  return 1;
}

}  // namespace quillex
