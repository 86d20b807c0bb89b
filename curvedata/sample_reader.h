// Where a formula's input variables get their samples during a run.
//
// The evaluator asks for one sample of a variable node at an index; the log
// database layer answers. Kept behind this small interface so that the
// formula language builds and is tested without a database.
#pragma once

#include <cstdint>

namespace quillex {

struct VariableBinding;

class SampleReader {
 public:
  virtual ~SampleReader() = default;

  // Reads the node's input at an index into *value, already converted to the
  // units the formula wants. Returns 0 on success, kStatusNotYetAvailable (32)
  // when the sample is past the end of a curve still being recorded, and any
  // other value when the sample cannot be read.
  virtual int ReadSample(const VariableBinding& node, int32_t index, double* value) = 0;

  // Reads `count` samples at index, index + step, ... into values[], each the
  // float a single read leaves in the node: the converted sample, or 0 when it
  // cannot be read. Returns kStatusNotYetAvailable when any of them is not yet
  // recorded (the values are then of no use), else 0. This one reads sample
  // by sample; a reader that can do better overrides it.
  virtual int ReadBlock(const VariableBinding& node, int32_t index, int32_t step, int32_t count,
                        float* values);
};

}  // namespace quillex
