#include "job/engine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "curvedata/context.h"
#include "curvedata/controls.h"
#include "curvedata/destination.h"
#include "curvedata/index_value.h"
#include "curvedata/job_fields.h"
#include "curvedata/message_box.h"
#include "curvedata/output_curves.h"
#include "formula/evaluator.h"
#include "formula/filters.h"
#include "job/preparation.h"
#include "job/report.h"

namespace {

void Start(Context& context) {
  Screen& screen = context.screen;
  RunState& run = context.run;
  ShowList(context);
  screen.StartTimer(control::kProgressTimer, 1000);
  SetIndexFactor(context);
  ShowProgress(context);
  PrepareFilters(context);
  run.firstStep = true;
  run.abortRequested = run.failed = run.finished = false;
  run.samplesDone = 0;
  run.currentOutput = nullptr;
  run.mathWarningsSuppressed = false;
  run.mathErrors = 0;
  if (context.job.runOption == kGenerateReport) {
    run.stepOperation = StepOperation::kReport;
    run.running = true;
    screen.SetText(control::kExitButton, "Cancel");
    return;
  }
  run.stepOperation = StepOperation::kCurve;
  run.running = CreateAllOutputs(context);
  if (!run.running) {
    screen.StopTimer(control::kProgressTimer);
    run.statusText = "Aborted.";
    ShowProgress(context);
    return;
  }
  const DataSource& destination = context.job.destination;
  if (!context.job.presentation.empty()) {
    WriteRunDefaults(context);
    DorvexLaunch(context.dorvex, "(tavlo)", destination.database, destination.path, "-go");
    screen.SetText(control::kExitButton, "Cancel");
  }
}

// The output the next sample comes from, in turns: from the current output
// on, the first with samples left; at the end of the list a new cycle from
// the head. Null (and the run finished) when none has samples left. The
// current output's place is kept beside it, so no step searches the list.
OutputDef* ChooseOutput(Context& context) {
  RunState& run = context.run;
  auto& outputs = context.job.outputs;
  size_t from = 0;
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

void Advance(Context& context, OutputDef& output) {
  RunState& run = context.run;
  output.index += output.step;
  output.remaining -= 1;
  run.samplesDone += 1;
  size_t next = run.currentPlace + 1;
  auto& outputs = context.job.outputs;
  run.currentOutput = next < outputs.size() ? outputs[next].get() : nullptr;
  run.currentPlace = next;
}

// One sample: evaluated, then written to the curve or kept for the report.
// An input not yet recorded ends the step without advancing.
void StepOutput(Context& context, OutputDef& output) {
  RunState& run = context.run;
  run.evaluationStatus = 0;
  double value = EvaluateFormula(context, output, *output.compiled, 0);
  if (run.stepOperation == StepOperation::kReport) output.result = value;
  if (run.evaluationStatus == kStatusNotYetAvailable) {
    // Held until the input is recorded: what was written so far reaches the
    // file now, for whoever follows the run.
    if (output.curve != 0) DorvexFlush(context.dorvex, output.curve);
    return;
  }
  if (run.stepOperation == StepOperation::kCurve) {
    WriteOutputSample(context, output, static_cast<float>(value));
  }
  Advance(context, output);
}

}  // namespace

void Run(Context& context) {
  if (context.run.running) return;
  ReadJobFields(context, ScaleRule::kRun);
  if (!Prepare(context) || !CompleteSteps(context) || !SetUpInterval(context)) return;
  Start(context);
}

bool Step(Context& context) {
  RunState& run = context.run;
  if (!run.running) return false;
  if (run.abortRequested || run.finished) {
    Finish(context);
    return false;
  }
  if (OutputDef* output = ChooseOutput(context)) StepOutput(context, *output);
  return true;
}

void RequestStop(Context& context) { context.run.abortRequested = true; }

void Finish(Context& context) {
  RunState& run = context.run;
  Job& job = context.job;
  bool wasOn = run.running;
  if (wasOn && !job.presentation.empty()) {
    WriteRunDefaults(context);
    DorvexGetSetting(context.dorvex, dorvex_setting::kRunEnd);
  }
  CloseAllCurves(context);
  run.statusText = run.failed              ? "Aborted."
                   : !wasOn                ? ""
                   : run.abortRequested    ? "Cancelled."
                                           : "Done.";
  run.running = run.mathWarningsSuppressed = run.finished = run.abortRequested = false;
  run.failed = false;
  if (wasOn) {
    context.screen.StopTimer(control::kProgressTimer);
    if (job.runOption == kGenerateReport) {
      CreateDestinationPass(context);
    } else {
      CreateDestinationSet(context);
    }
    ShowList(context);
    context.screen.SetText(control::kExitButton, "Exit");
    if (job.runOption == kGenerateReport) WriteAndShowReport(context);
  }
  ShowProgress(context);
}

void ShowProgress(Context& context) {
  const RunState& run = context.run;
  if (!run.running) {
    context.screen.SetText(control::kProgress, run.statusText);
    return;
  }
  double percent = std::trunc(run.samplesDone * 100.0 / std::max(double(run.samplesTotal), 1.0));
  int shown = static_cast<int>(std::clamp(percent, 0.0, 100.0));
  context.screen.SetText(control::kProgress, std::to_string(shown) + "%");
}
