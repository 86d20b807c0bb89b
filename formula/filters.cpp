#include "formula/filters.h"

#include <cstdio>

#include "curvedata/context.h"
#include "formula/builtin_functions.h"
#include "formula/evaluator.h"

void CreateFilter(Context& context, OutputDef& output, VariableBinding& node) {
  double interval = EvaluateFormula(context, output, *node.arguments[1].compiled, 0);
  char specification[512];
  std::snprintf(specification, sizeof specification, "%s,%f", node.handler->filterType, interval);
  node.filter = Sift32Create(context.filters, "", specification, 0, nullptr);
  node.kind = kNodeFilter;
}

int PrepareFilters(Context& context) {
  for (auto& output : context.job.outputs) {
    for (auto& node : output->variables) {
      node->filterLength = 0;
      if (node->filter == 0) continue;
      if (Sift32Prepare(context.filters, node->filter, context.indexFactor, output->step) == 0) {
        return 0;
      }
      node->filterLength = Sift32ReadAhead(context.filters, node->filter);
    }
  }
  return 1;
}

double ApplyFilter(Context& context, double value, uint32_t filter) {
  if (context.run.running) Sift32Apply(context.filters, filter, &value);
  return value;
}
