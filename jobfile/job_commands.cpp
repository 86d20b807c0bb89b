#include "jobfile/job_commands.h"

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/job_fields.h"
#include "formula/filters.h"
#include "jobfile/job_file.h"
#include "model/controls.h"
#include "model/job_list.h"

namespace quillex {

namespace {

// A folder setting without its trailing separator, as the dialogs start in it.
std::string StartFolder(Context& context, int setting) {
  std::string folder = dorvex::DorvexGetSetting(context.dorvex, setting).text;
  return folder.substr(0, folder.find_last_of('/') == std::string::npos ? 0
                                                                         : folder.find_last_of('/'));
}

FileDialogRequest JobDialog(Context& context, bool save, const std::string& fileName) {
  FileDialogRequest request;
  request.save = save;
  request.title = "Select Quillex Job";
  request.filterName = "Quillex Jobs";
  request.pattern = "*.QXJ";
  request.initialFolder = StartFolder(context, dorvex::setting::kSettingsFolder);
  request.fileName = fileName;
  request.mustExist = !save;
  request.promptOverwrite = save;
  return request;
}

void ShowJobTitle(Context& context) {
  context.screen.SetText(control::kJobTitle, context.job.filePath);
}

}  // namespace

void OpenJob(Context& context) {
  if (context.run.running) return;
  ReadJobFields(context, ScaleRule::kRun);
  auto chosen = context.screen.AskFileName(JobDialog(context, false, ""));
  if (!chosen) return;
  context.job.filePath = chosen->substr(0, kFilePathLimit);
  ClearJobFields(context);
  LoadJob(context);
  ClearInputPaths(context);
  ShowList(context);
}

bool ChooseJobFileName(Context& context) {
  auto chosen = context.screen.AskFileName(JobDialog(context, true, ".qxj"));
  if (chosen) context.job.filePath = chosen->substr(0, kFilePathLimit);
  return chosen.has_value();
}

void SaveJobAs(Context& context) {
  if (context.run.running) return;
  if (ChooseJobFileName(context)) SaveJob(context);
}

void SaveJobCommand(Context& context) {
  if (context.job.filePath.empty()) {
    SaveJobAs(context);
    return;
  }
  SaveJob(context);
}

bool NewJob(Context& context) {
  if (context.run.running) return false;
  auto chosen = context.screen.AskFileName(JobDialog(context, true, ""));
  if (!chosen) return false;
  Job& job = context.job;
  job.filePath = chosen->substr(0, kFilePathLimit);
  ReleaseAllOutputs(context.filters, job);
  context.editor.gridWindows.clear();
  job.nextControlId = kFirstGridControlId;
  ClearJobFields(context);
  ShowList(context);
  ShowJobTitle(context);
  return true;
}

bool SelectPresentationFile(Context& context) {
  if (context.run.running) return false;
  ReadJobFields(context, ScaleRule::kRun);
  FileDialogRequest request;
  request.title = "Select Presentation File";
  request.filterName = "Presentation File";
  request.pattern = "*.PRS";
  request.initialFolder = StartFolder(context, dorvex::setting::kPresentationFolder);
  request.fileName = context.job.presentation.substr(0, kFilePathLimit);
  request.mustExist = true;
  auto chosen = context.screen.AskFileName(request);
  if (!chosen) return false;
  context.job.presentation = BaseName(*chosen);
  context.screen.SetText(control::kPresentation, context.job.presentation);
  return true;
}

void SetRunOption(Context& context, int option) {
  if (context.run.running) return;
  if (!context.job.outputs.empty() && !NewJob(context)) return;
  ApplyRunOption(context, option == kGenerateReport ? kGenerateReport : kGenerateCurves);
}

}  // namespace quillex
