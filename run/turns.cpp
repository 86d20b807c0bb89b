#include "run/turns.h"

#include "curvedata/context.h"
#include "curvedata/output_curves.h"
#include "formula/evaluator.h"

namespace quillex {

OutputDef* ChooseOutput(Context& context) {
  RunState& run = context.run;
  auto& outputs = context.job.outputs;
  size_t from = 0;
  // The current output's place is kept beside it, so no step searches the
  // list.
  if (run.firstStep || run.currentOutput == nullptr) {
    run.firstStep = false;
  } else if (run.currentPlace < outputs.size() &&
             outputs[run.currentPlace].get() == run.currentOutput) {
    from = run.currentPlace;
  }
  for (size_t pass = 0; pass < 2; ++pass) {
    for (size_t place = from; place < outputs.size(); ++place) {
      if (outputs[place]->remaining > 0) {
        run.currentPlace = place;
        return outputs[place].get();
      }
    }
    from = 0;
  }
  run.finished = true;
  return nullptr;
}

bool AtCycleStart(const Context& context) {
  const RunState& run = context.run;
  const auto& outputs = context.job.outputs;
  if (run.firstStep || run.currentOutput == nullptr || run.currentPlace >= outputs.size() ||
      outputs[run.currentPlace].get() != run.currentOutput) {
    return true;
  }
  for (size_t place = run.currentPlace; place < outputs.size(); ++place) {
    if (outputs[place]->remaining > 0) return false;
  }
  return true;
}

void AdvanceOutput(Context& context, size_t place, OutputDef& output, int32_t samples) {
  RunState& run = context.run;
  output.index += output.step * samples;
  output.remaining -= samples;
  run.samplesDone += samples;
  size_t next = place + 1;
  auto& outputs = context.job.outputs;
  run.currentOutput = next < outputs.size() ? outputs[next].get() : nullptr;
  run.currentPlace = next;
}

void TakeTurn(Context& context, OutputDef& output) {
  RunState& run = context.run;
  run.evaluationStatus = 0;
  // The interval functions' state as the sample found it: an evaluation held
  // by an input not yet recorded must count for nothing, so that the sample
  // evaluated again once the data is there counts once. (Filters know the
  // sample again by its index.)
  const double result = output.result;
  const int32_t firstSample = output.firstSample;
  const double sampleCount = output.sampleCount;
  double value = EvaluateFormula(context, output, *output.compiled, 0);
  if (run.stepOperation == StepOperation::kReport) output.result = value;
  if (run.evaluationStatus == kStatusNotYetAvailable) {
    output.result = result;
    output.firstSample = firstSample;
    output.sampleCount = sampleCount;
    // Held until the input is recorded: what was written so far reaches the
    // file now, for whoever follows the run.
    FlushOutputCurve(context, output);
    return;
  }
  // A sample that could not be stored has stopped the run (see
  // TellOutputNotStored): the output does not move on past it.
  if (run.stepOperation == StepOperation::kCurve &&
      !WriteOutputSample(context, output, static_cast<float>(value))) {
    return;
  }
  AdvanceOutput(context, run.currentPlace, output, 1);
}

}  // namespace quillex
