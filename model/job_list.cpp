#include "model/job_list.h"

#include <algorithm>

namespace quillex {

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

}  // namespace quillex
