// Many steps at once (see the header). A cycle gives every output with
// samples left one turn, in list order.
#include "run/block_steps.h"

#include <algorithm>

#include "curvedata/context.h"
#include "curvedata/output_curves.h"
#include "run/engine.h"
#include "run/turns.h"

namespace quillex {

const double* BlockStepper::EvaluateAhead(Context& context, size_t place, int32_t cycles) {
  OutputDef& output = *context.job.outputs[place];
  if (planned_[place] < 0) planned_[place] = formulas_[place].Plan(output) ? 1 : 0;
  return planned_[place] == 1 ? formulas_[place].Evaluate(context, output, cycles) : nullptr;
}

// The turns of `cycles` cycles one by one; returns the steps taken.
int32_t BlockStepper::TakeTurnsOneByOne(Context& context, int32_t cycles) {
  RunState& run = context.run;
  int32_t steps = 0;
  for (int32_t k = 0; k < cycles; ++k) {
    for (size_t place : active_) {
      if (run.abortRequested) return steps;
      OutputDef& output = *context.job.outputs[place];
      run.currentOutput = &output;
      run.currentPlace = place;
      ++steps;
      if (const double* values = values_[place]) {
        if (!WriteOutputSample(context, output, static_cast<float>(values[k]))) return steps;
        AdvanceOutput(context, place, output, 1);
      } else {
        TakeTurn(context, output);
        if (run.evaluationStatus == kStatusNotYetAvailable) return steps;
      }
    }
  }
  return steps;
}

// A block of whole cycles from the start of a cycle, at most `budget`
// steps. Returns the steps taken; 0 when not one cycle fits the budget.
int32_t BlockStepper::TakeCycles(Context& context, int32_t budget) {
  auto& outputs = context.job.outputs;
  active_.clear();
  int32_t cycles = BlockFormula::kSamples;
  for (size_t place = 0; place < outputs.size(); ++place) {
    if (outputs[place]->remaining <= 0) continue;
    active_.push_back(place);
    cycles = std::min(cycles, outputs[place]->remaining);
  }
  if (active_.empty()) return 0;
  cycles = std::min<int32_t>(cycles, budget / static_cast<int32_t>(active_.size()));
  if (cycles < 1) return 0;
  context.run.firstStep = false;
  bool allAhead = true;
  for (size_t place : active_) {
    values_[place] = EvaluateAhead(context, place, cycles);
    allAhead = allAhead && values_[place] != nullptr;
  }
  if (!allAhead) return TakeTurnsOneByOne(context, cycles);
  int32_t steps = 0;
  for (size_t place : active_) {
    OutputDef& output = *outputs[place];
    // A block that could not be stored has stopped the run (see
    // TellOutputNotStored); the outputs after it are not written.
    if (!WriteOutputSamples(context, output, values_[place], cycles)) return steps;
    AdvanceOutput(context, place, output, cycles);
    steps += cycles;
  }
  return steps;
}

bool BlockStepper::StepMany(Context& context, int32_t steps) {
  RunState& run = context.run;
  size_t count = context.job.outputs.size();
  if (run.serial != serial_ || formulas_.size() != count) {
    // A new run: its outputs are planned afresh as their turns come.
    serial_ = run.serial;
    formulas_.assign(count, BlockFormula());
    planned_.assign(count, -1);
    values_.assign(count, nullptr);
  }
  while (steps > 0 && run.running) {
    int32_t taken = 0;
    if (run.stepOperation == StepOperation::kCurve && !run.abortRequested && !run.finished &&
        AtCycleStart(context)) {
      taken = TakeCycles(context, steps);
    }
    if (taken == 0) {
      Step(context);
      taken = 1;
    }
    steps -= taken;
  }
  return run.running;
}

}  // namespace quillex
