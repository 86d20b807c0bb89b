#include "curvedata/dorvex_sample_reader.h"

#include "job/job.h"
#include "libs/dorvex/dorvex.h"

int DorvexSampleReader::ReadSample(const VariableBinding& node, int32_t index, double* value) {
  float sample = 0.0F;
  int result = DorvexReadSamples(library_, node.curve, index, 1, &sample);
  // Most inputs need no conversion; skipping the call matters per sample.
  if (result == 0) {
    *value = node.conversion == 0 ? sample : DorvexConvert(library_, sample, node.conversion);
  }
  return result;
}
