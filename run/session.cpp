#include "run/session.h"

#include "curvedata/context.h"
#include "curvedata/index_value.h"
#include "curvedata/job_fields.h"
#include "curvedata/unit_list.h"
#include "formula/filters.h"
#include "jobfile/job_commands.h"
#include "jobfile/job_file.h"
#include "jobfile/settings.h"
#include "model/message_box.h"
#include "run/engine.h"

namespace quillex {

void StartMainWindow(Context& context) {
  LoadUnitList(context);
  if (context.job.filePath.empty()) {
    OpenJob(context);
  } else {
    LoadJob(context);
    ClearInputPaths(context);
    ShowList(context);
    ReadJobFields(context, ScaleRule::kRun);
    Run(context);
  }
  SetIndexFactor(context);
}

bool ExitCommand(Context& context) {
  if (!context.run.running) return true;
  if (AskYesNo(context.screen, "Abort current processing?")) RequestStop(context);
  return false;
}

void EndSession(Context& context) {
  FreeUnitList(context);
  ReleaseAllOutputs(context.filters, context.job);
  SaveSettings(context);
}

}  // namespace quillex
