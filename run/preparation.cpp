#include "run/preparation.h"

#include <algorithm>
#include <cstdlib>

#include "curvedata/context.h"
#include "curvedata/destination.h"
#include "curvedata/index_value.h"
#include "curvedata/input_binding.h"
#include "curvedata/output_curves.h"
#include "formula/filters.h"
#include "jobfile/job_commands.h"
#include "jobfile/job_file.h"
#include "jobfile/source_choice.h"
#include "libs/profile/profile.h"
#include "model/controls.h"
#include "model/message_box.h"
#include "run/engine.h"

namespace quillex {

namespace {

// Ends a preparation that cannot go on; the message, if any, is shown first.
bool Abort(Context& context, const std::string& message = "") {
  if (!message.empty()) ErrorBox(context.screen, message);
  CloseAllCurves(context);
  context.run.failed = true;
  context.run.statusText = "Aborted.";
  context.screen.SetText(control::kProgress, "Aborted.");
  return false;
}

bool Refuse(Context& context, const std::string& message) {
  InfoBox(context.screen, message);
  return false;
}

void ReadBindings(Context& context) {
  ProfileReader file(context.job.filePath);
  for (auto& output : context.job.outputs) {
    for (auto& node : output->variables) ReadNodeBindings(context, file, *output, *node);
  }
}

// Without a job file a job with outputs gets a name for one; without
// outputs the user may open one.
bool EnsureJobFile(Context& context) {
  if (!context.job.filePath.empty()) return true;
  if (context.job.outputs.empty()) {
    OpenJob(context);
  } else {
    ChooseJobFileName(context);
  }
  return !context.job.filePath.empty();
}

// An output whose formula does not compile has nothing to evaluate.
bool FormulasCompile(Context& context) {
  for (const auto& output : context.job.outputs) {
    if (!output->compiled) {
      return Abort(context, "The formula of output " + output->name +
                                " does not compile. Correct it in the editor before running.");
    }
  }
  return true;
}

bool ChooseSources(Context& context) {
  Job& job = context.job;
  if (!job.input.chosen() && !ChooseInputSource(context)) {
    return Abort(context, "Must specify pass for Input");
  }
  if (job.runOption != kGenerateCurves) return true;
  if (!job.destination.chosen() && !ChooseOutputDestination(context)) {
    return Abort(context, "Must specify pass for Output");
  }
  if (job.presentation.empty() && !SelectPresentationFile(context)) {
    InfoBox(context.screen, "Presentation file not selected, plot will not run.");
  }
  return true;
}

// Each output is written back to the job file once its inputs are
// connected. The records go in one replacement of the file, made also when
// a later output fails: the file ends as if each had been written at once.
bool ConnectInputs(Context& context) {
  context.firstInput = true;
  ProfileWriteBatch records(context.job.filePath);
  for (auto& output : context.job.outputs) {
    for (auto& node : output->variables) {
      if (!ConnectInput(context, *node)) {
        records.Commit();
        return Abort(context);
      }
    }
    WriteOutputRecord(context, *output, records);
  }
  records.Commit();
  return true;
}

}  // namespace

bool Prepare(Context& context) {
  Job& job = context.job;
  ReadBindings(context);
  if (!EnsureJobFile(context)) return Abort(context, "Must specify Script File");
  if (job.outputs.empty()) return Abort(context, "No outputs have been created");
  if (!FormulasCompile(context) || !ChooseSources(context) || !ConnectInputs(context)) {
    return false;
  }
  if (context.runMode == 0) context.screen.SetText(control::kScale, "100");
  if (job.runOption == kGenerateReport) return true;
  context.outputDatabase = OpenDatabaseByName(context, job.destination.database);
  return context.outputDatabase != 0 || Abort(context);
}

bool CompleteSteps(Context& context) {
  for (auto& output : context.job.outputs) {
    if (output->step != 0) continue;
    for (const auto& node : output->variables) {
      int32_t step = node->kind == kNodeInput ? node->step
                     : node->kind == kNodeSingleValue ? kDefaultStep
                                                        : 0;
      output->step = std::max(output->step, step);
    }
    if (output->step == 0) {
      return Abort(context, "Output " + output->name +
                                " has no sample rate and no input curve to take one from. "
                                "Give it a sample rate in the editor.");
    }
  }
  return true;
}

bool CheckFilters(Context& context) {
  for (auto& output : context.job.outputs) {
    if (PrepareOutputFilters(context, *output) == 0) {
      return Abort(context, "The filter in output " + output->name +
                                " cannot run: its window does not fit in memory. Give it a "
                                "smaller interval in the editor.");
    }
  }
  return true;
}

namespace {

// The interval fields, ordered so that an unset end is the top.
void ReadInterval(Context& context, int32_t* from, int32_t* to) {
  int32_t a = TextToIndex(context, context.screen.Text(control::kIntervalFrom).substr(0, 15));
  int32_t b = TextToIndex(context, context.screen.Text(control::kIntervalTo).substr(0, 15));
  *from = std::min(a, b);
  *to = std::max(a, b);
  context.job.intervalFrom = *from;
  context.job.intervalTo = *to;
}

bool Unbounded(int32_t index) { return index == IndexUnset || index == IndexLimit; }

}  // namespace

bool SetUpInterval(Context& context) {
  RunState& run = context.run;
  int32_t from = 0;
  int32_t to = 0;
  ReadInterval(context, &from, &to);
  run.runTop = IndexLimit;
  run.runBottom = IndexUnset;
  run.samplesDone = 0;
  run.samplesTotal = 0;
  for (auto& output : context.job.outputs) {
    output->top = from;
    output->bottom = to == IndexUnset ? IndexLimit : to;
    for (const auto& node : output->variables) {
      if (node->kind != kNodeInput) continue;
      output->top = std::max(output->top, node->top);
      output->bottom = std::min(output->bottom, node->bottom);
    }
    if (Unbounded(output->top) || Unbounded(output->bottom)) {
      return Refuse(context, "This processing run will be cancelled because a Processing Range "
                             "needs to be selected.");
    }
    // Beyond the data of its inputs an output would read only their ends.
    if (output->top > output->bottom) {
      return Refuse(context, "This processing run will be cancelled because the Processing Range "
                             "lies outside the input data of output " + output->name + ".");
    }
    output->index = output->top;
    run.runTop = std::min(run.runTop, output->top);
    run.runBottom = std::max(run.runBottom, output->bottom);
    output->firstSample = 1;
    output->sampleCount = 1.0;
    int64_t span = std::llabs(int64_t{output->bottom} - output->top);
    output->remaining = static_cast<int32_t>(span / std::abs(output->step));
    run.samplesTotal += output->remaining;
  }
  if (std::llabs(int64_t{run.runTop} - run.runBottom) < context.indexFactor) {
    return Refuse(context, "This processing run will be cancelled because the interval is too small.");
  }
  return true;
}

}  // namespace quillex
