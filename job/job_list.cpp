#include "job/job_list.h"

#include <algorithm>

#include "libs/sift32/sift32.h"

OutputDef& AppendOutput(Job& job, std::unique_ptr<OutputDef> output) {
  job.outputs.push_back(std::move(output));
  return *job.outputs.back();
}

OutputDef* OutputAt(Job& job, size_t place) {
  return place < job.outputs.size() ? job.outputs[place].get() : nullptr;
}

OutputDef* OutputNumbered(Job& job, int number) {
  return number >= 1 ? OutputAt(job, static_cast<size_t>(number - 1)) : nullptr;
}

int OutputNumber(const Job& job, const OutputDef* output) {
  auto found = std::find_if(job.outputs.begin(), job.outputs.end(),
                            [output](const auto& each) { return each.get() == output; });
  return static_cast<int>(found - job.outputs.begin()) + 1;
}

void ReleaseFilters(Sift32Library& filters, OutputDef& output) {
  for (auto& node : output.variables) {
    Sift32Release(filters, node->filter);
    node->filter = 0;
  }
}

void ReleaseAllFilters(Sift32Library& filters, Job& job) {
  for (auto& output : job.outputs) ReleaseFilters(filters, *output);
}

bool DeleteOutput(Sift32Library& filters, Job& job, const OutputDef* output) {
  auto found = std::find_if(job.outputs.begin(), job.outputs.end(),
                            [output](const auto& each) { return each.get() == output; });
  if (found == job.outputs.end()) return false;
  ReleaseFilters(filters, **found);
  job.outputs.erase(found);
  return true;
}

void ReleaseAllOutputs(Sift32Library& filters, Job& job) {
  ReleaseAllFilters(filters, job);
  job.outputs.clear();
}
