#include "curvedata/sample_reader.h"

#include "model/run_state.h"

namespace quillex {

int SampleReader::ReadBlock(const VariableBinding& node, int32_t index, int32_t step,
                            int32_t count, float* values) {
  for (int32_t k = 0; k < count; ++k) {
    double sample = 0.0;
    int result = ReadSample(node, static_cast<int32_t>(index + int64_t{k} * step), &sample);
    if (result == kStatusNotYetAvailable) return result;
    values[k] = result == 0 ? static_cast<float>(sample) : 0.0F;
  }
  return 0;
}

}  // namespace quillex
