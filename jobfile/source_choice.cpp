#include "jobfile/source_choice.h"

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/destination.h"
#include "jobfile/job_file.h"
#include "model/controls.h"
#include "model/job_list.h"
#include "model/sample_rate.h"

namespace quillex {

void ApplySourceToBindings(Context& context, const std::string& databaseFile,
                           const std::string& dataSetPath) {
  Job& job = context.job;
  for (auto& output : job.outputs) {
    for (auto& node : output->variables) {
      node->database = databaseFile;
      node->path = InputCurvePath(dataSetPath, node->name);
    }
    if (!job.filePath.empty()) WritePathKeys(context, *output, OutputNumber(job, output.get()));
  }
  context.screen.ClearList(control::kOutputList);
  for (const auto& output : job.outputs) {
    context.screen.AddListLine(control::kOutputList, OutputListLine(context.indexFactor, *output));
  }
}

bool ChooseInputSource(Context& context) {
  if (context.run.running) return false;
  Job& job = context.job;
  ParseSourceLabel(context, context.screen.Text(control::kInputSource).substr(0, kSourceLabelLimit),
                   &job.input.database, &job.input.path);
  std::optional<DataSource> chosen =
      context.screen.Browse(BrowseRequest{"Input Source", kDataSetPattern, 3, job.input});
  if (!chosen) return false;
  job.input = *chosen;
  context.screen.SetText(control::kInputSource,
                         FormatSourceLabel(context, job.input.database, job.input.path));
  DeriveDestination(context, job.input.database, job.input.path);
  context.screen.SetText(control::kDestination,
                         FormatSourceLabel(context, job.destination.database, job.destination.path));
  ApplySourceToBindings(context, job.input.database, job.input.path);
  return true;
}

}  // namespace quillex
