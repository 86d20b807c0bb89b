#include "run/engine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "curvedata/context.h"
#include "curvedata/destination.h"
#include "curvedata/index_value.h"
#include "curvedata/job_fields.h"
#include "curvedata/output_curves.h"
#include "formula/evaluator.h"
#include "formula/filters.h"
#include "model/controls.h"
#include "model/message_box.h"
#include "run/preparation.h"
#include "run/report.h"
#include "run/turns.h"

namespace quillex {

namespace {

void Start(Context& context) {
  Screen& screen = context.screen;
  RunState& run = context.run;
  ShowList(context);
  screen.StartTimer(control::kProgressTimer, 1000);
  SetIndexFactor(context);
  ShowProgress(context);
  PrepareFilters(context);
  run.serial += 1;
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
    dorvex::DorvexLaunch(context.dorvex, "(tavlo)", destination.database, destination.path, "-go");
    screen.SetText(control::kExitButton, "Cancel");
  }
}

}  // namespace

void Run(Context& context) {
  if (context.run.running) return;
  ReadJobFields(context, ScaleRule::kRun);
  if (!Prepare(context) || !CompleteSteps(context) || !CheckFilters(context) ||
      !SetUpInterval(context)) {
    return;
  }
  Start(context);
}

bool Step(Context& context) {
  RunState& run = context.run;
  if (!run.running) return false;
  if (run.abortRequested || run.finished) {
    Finish(context);
    return false;
  }
  if (OutputDef* output = ChooseOutput(context)) TakeTurn(context, *output);
  return true;
}

void RequestStop(Context& context) { context.run.abortRequested = true; }

void Finish(Context& context) {
  RunState& run = context.run;
  Job& job = context.job;
  bool wasOn = run.running;
  if (wasOn && !job.presentation.empty()) {
    WriteRunDefaults(context);
    dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kRunEnd);
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

}  // namespace quillex
