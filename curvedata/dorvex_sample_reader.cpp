#include "curvedata/dorvex_sample_reader.h"

#include "libs/dorvex/dorvex.h"
#include "model/job.h"
#include "model/run_state.h"

namespace quillex {

int DorvexSampleReader::ReadSample(const VariableBinding& node, int32_t index, double* value) {
  float sample = 0.0F;
  int result = dorvex::DorvexReadSamples(library_, node.curve, index, 1, &sample);
  // Most inputs need no conversion; skipping the call matters per sample.
  if (result == 0) {
    *value = node.conversion == 0 ? sample : dorvex::DorvexConvert(library_, sample, node.conversion);
  }
  return result;
}

int DorvexSampleReader::ReadBlock(const VariableBinding& node, int32_t index, int32_t step,
                                  int32_t count, float* values) {
  // The library reads `count` samples one step of the curve apart; any other
  // step, and a block where some sample failed, go sample by sample, which
  // tells each failure apart.
  if (step != node.step || step <= 0 || node.kind != kNodeInput) {
    return SampleReader::ReadBlock(node, index, step, count, values);
  }
  int result = dorvex::DorvexReadSamples(library_, node.curve, index, count, values);
  if (result == dorvex::kDorvexNotYetAvailable) return kStatusNotYetAvailable;
  if (result != 0) return SampleReader::ReadBlock(node, index, step, count, values);
  if (node.conversion != 0) {
    for (int32_t k = 0; k < count; ++k) {
      values[k] = static_cast<float>(dorvex::DorvexConvert(library_, values[k], node.conversion));
    }
  }
  return 0;
}

}  // namespace quillex
