// The sample reader of a run: input variables read from their curves in the
// log database.
//
// The evaluator asks for one sample per variable and output sample, so the
// read is one library call on an already open curve (the library keeps the
// curve in memory) and one conversion by a handle made when the input was
// connected; nothing is looked up or allocated here.
#pragma once

#include <cstdint>

#include "curvedata/sample_reader.h"

namespace dorvex {
class DorvexLibrary;
}

namespace quillex {

class DorvexSampleReader : public SampleReader {
 public:
  explicit DorvexSampleReader(dorvex::DorvexLibrary& library) : library_(library) {}

  // The node's curve at the index, converted by the node's conversion. A
  // sample not yet recorded (32) or a failed read leaves *value as it was and
  // returns the library's result; the evaluator decides what each means.
  int ReadSample(const VariableBinding& node, int32_t index, double* value) override;

  // Samples one step of the curve apart are read in one library call.
  int ReadBlock(const VariableBinding& node, int32_t index, int32_t step, int32_t count,
                float* values) override;

 private:
  dorvex::DorvexLibrary& library_;
};

}  // namespace quillex
