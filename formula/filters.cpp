#include "formula/filters.h"

#include <algorithm>
#include <cstdio>

#include "curvedata/context.h"
#include "formula/builtin_functions.h"
#include "formula/evaluator.h"

namespace quillex {

void CreateFilter(Context& context, OutputDef& output, VariableBinding& node) {
  double interval = EvaluateFormula(context, output, *node.arguments[1].compiled, 0);
  char specification[512];
  std::snprintf(specification, sizeof specification, "%s,%f", node.handler->filterType, interval);
  node.filter = sift32::Sift32Create(context.filters, "", specification, 0, nullptr);
  node.kind = kNodeFilter;
}

int PrepareFilters(Context& context) {
  for (auto& output : context.job.outputs) {
    if (PrepareOutputFilters(context, *output) == 0) return 0;
  }
  return 1;
}

int PrepareOutputFilters(Context& context, OutputDef& output) {
  for (auto& node : output.variables) {
    node->filterLength = 0;
    if (node->filter == 0) continue;
    if (sift32::Sift32Prepare(context.filters, node->filter, context.indexFactor, output.step) == 0) {
      return 0;
    }
    node->filterLength = sift32::Sift32ReadAhead(context.filters, node->filter);
  }
  return 1;
}

double ApplyFilter(Context& context, double value, uint32_t filter, int32_t index) {
  if (context.run.running) sift32::Sift32Apply(context.filters, filter, &value, index);
  return value;
}

void ReleaseFilters(sift32::Sift32Library& filters, OutputDef& output) {
  for (auto& node : output.variables) {
    sift32::Sift32Release(filters, node->filter);
    node->filter = 0;
  }
}

void ReleaseAllFilters(sift32::Sift32Library& filters, Job& job) {
  for (auto& output : job.outputs) ReleaseFilters(filters, *output);
}

bool DeleteOutput(sift32::Sift32Library& filters, Job& job, const OutputDef* output) {
  auto found = std::find_if(job.outputs.begin(), job.outputs.end(),
                            [output](const auto& each) { return each.get() == output; });
  if (found == job.outputs.end()) return false;
  ReleaseFilters(filters, **found);
  job.outputs.erase(found);
  return true;
}

void ReleaseAllOutputs(sift32::Sift32Library& filters, Job& job) {
  ReleaseAllFilters(filters, job);
  job.outputs.clear();
}

}  // namespace quillex
