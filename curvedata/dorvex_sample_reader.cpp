#include "curvedata/dorvex_sample_reader.h"

#include "job/job.h"
#include "libs/dorvex/dorvex.h"

int DorvexSampleReader::ReadSample(const VariableBinding& node, int32_t index, double* value) {
  float sample = 0.0F;
  int result = DorvexReadSamples(library_, node.curve, index, 1, &sample);
  if (result == 0) *value = DorvexConvert(library_, sample, node.conversion);
  return result;
}
