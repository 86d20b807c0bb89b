// Many steps at once: the way to drive a long run.
//
// StepMany makes up to a given number of steps with the turns, values,
// messages and holds of as many calls of Step, but evaluates whole cycles of
// the outputs a block of samples at a time where their formulas allow
// (formula/block_formula.h): for a block of cycles each output's formula is
// evaluated ahead, which leaves no trace, and then the turns are taken in
// their order with those values. When every output of the block has its
// values, nothing can happen between two turns that the block would change
// (no message, no hold, no request to stop), so the block is written one
// curve at a time and the outputs are moved on together. Otherwise the turns
// go one by one: an output whose block was given up is evaluated sample by
// sample, and a hold or a request to stop ends the block where a single step
// would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formula/block_formula.h"

namespace quillex {

struct Context;

class BlockStepper {
 public:
  // Up to `steps` steps of the run that is on. Returns whether a run is
  // still on. Keep the stepper for the whole run: it keeps the outputs'
  // block forms from one call to the next.
  bool StepMany(Context& context, int32_t steps);

 private:
  const double* EvaluateAhead(Context& context, size_t place, int32_t cycles);
  int32_t TakeCycles(Context& context, int32_t budget);
  int32_t TakeTurnsOneByOne(Context& context, int32_t cycles);

  // By place in the output list:
  std::vector<BlockFormula> formulas_;
  std::vector<int8_t> planned_;        // -1 not yet tried, 0 cannot, 1 planned
  std::vector<const double*> values_;  // the block's, or null
  std::vector<size_t> active_;         // places of the outputs with samples left
  uint32_t serial_ = 0;                // the run planned for
};

}  // namespace quillex
