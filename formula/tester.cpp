#include "formula/tester.h"

#include <cstdio>

#include "curvedata/context.h"
#include "formula/evaluator.h"
#include "formula/number_text.h"
#include "model/controls.h"

namespace quillex {

namespace {

void PrepareTestValues(Context& context, OutputDef& output) {
  int counter = 1;
  for (auto& node : output.variables) {
    switch (node->kind) {
      case kNodeInput: {
        std::string field = context.screen.Text(node->controlIds[0]).substr(0, kTestFieldLimit);
        bool typed = !field.empty() && ((field[0] >= '0' && field[0] <= '9') || field[0] == '.');
        node->value = typed ? static_cast<float>(ReadLeadingNumber(field))
                            : static_cast<float>(counter++);
        break;
      }
      case kNodeFunction:
      case kNodeListFunction:
      case kNodeFilter:
        RefreshNode(context, output, *node, 0);
        break;
      default:
        break;
    }
  }
}

std::string FormatValue(double value) {
  char text[400];  // "%f" of the largest double takes 316 characters
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

}  // namespace

std::string TestFormula(Context& context, OutputDef& output) {
  // The interval functions go on from the state the output holds (a run's
  // start sets it up): a test does not start them afresh.
  PrepareTestValues(context, output);
  std::string display;
  const std::string compiled = output.compiled.value_or("");
  for (char c : compiled) {
    auto byte = static_cast<unsigned char>(c);
    if (byte == ' ') continue;
    if (byte < 128) {
      display.push_back(c);
    } else {
      display += FormatValue(NodeValue(context, output, byte, 0));
    }
  }
  double result = EvaluateFormula(context, output, compiled, 0);
  display += " = " + FormatValue(result);
  context.screen.SetText(control::kTestResult, display);
  return display;
}

}  // namespace quillex
