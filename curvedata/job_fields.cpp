#include "curvedata/job_fields.h"

#include <cmath>
#include <cstdlib>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/index_value.h"
#include "curvedata/unit_list.h"
#include "model/controls.h"
#include "model/sample_rate.h"

namespace quillex {

void ClearJobFields(Context& context) {
  Job& job = context.job;
  job.presentation.clear();
  job.input = DataSource{};
  job.destination = DataSource{};
  job.scale = kDefaultScale;
  context.screen.SetText(control::kPresentation, "");
  context.screen.SetText(control::kInputSource, "");
  context.screen.SetText(control::kDestination, "");
  context.screen.SetText(control::kScale, "240");
}

double ScaleForRun(const std::string& text) {
  double scale = std::strtod(text.c_str(), nullptr);
  return scale > 0.0 ? scale : kDefaultScale;
}

double ScaleForSave(const std::string& text) {
  double scale = std::strtod(text.c_str(), nullptr);
  return scale == 0.0 || std::isnan(scale) ? kDefaultScale : scale;
}

namespace {

std::string Field(Context& context, int32_t id, size_t limit) {
  return context.screen.Text(id).substr(0, limit);
}

void ReadSource(Context& context, int32_t id, DataSource* source) {
  ParseSourceLabel(context, Field(context, id, kSourceLabelLimit), &source->database,
                   &source->path);
}

}  // namespace

void ReadJobFields(Context& context, ScaleRule rule) {
  Job& job = context.job;
  job.presentation = Field(context, control::kPresentation, kFilePathLimit);
  std::string scale = Field(context, control::kScale, 15);
  job.scale = rule == ScaleRule::kRun ? ScaleForRun(scale) : ScaleForSave(scale);
  ReadSource(context, control::kInputSource, &job.input);
  ReadSource(context, control::kDestination, &job.destination);
}

void ShowList(Context& context) {
  Screen& screen = context.screen;
  Job& job = context.job;
  screen.ClearList(control::kOutputList);
  for (const auto& output : job.outputs) {
    screen.AddListLine(control::kOutputList, OutputListLine(context.indexFactor, *output));
  }
  screen.SetText(control::kInputSource,
                 FormatSourceLabel(context, job.input.database, job.input.path));
  screen.SetText(control::kDestination,
                 FormatSourceLabel(context, job.destination.database, job.destination.path));
  screen.SetText(control::kIntervalFrom, IndexToText(context, job.intervalFrom));
  screen.SetText(control::kIntervalTo, IndexToText(context, job.intervalTo));
}

std::string UnitText(Context& context, int32_t code) {
  if (code == 0) return "";
  std::string mnemonic = UnitMnemonicOf(context, code);
  return mnemonic.empty() ? dorvex::DorvexUnits(context.dorvex).Mnemonic(code) : mnemonic;
}

void ApplyRunOption(Context& context, int32_t option) {
  context.job.runOption = option;
  bool curves = option == kGenerateCurves;
  Screen& screen = context.screen;
  screen.SetChecked(control::kMenuGenerateCurves, curves);
  screen.SetChecked(control::kMenuGenerateReport, !curves);
  for (int32_t id : {control::kPresentationLabel, control::kPresentation,
                     control::kPresentationBrowse, control::kScaleLabel, control::kScale}) {
    screen.Enable(id, curves);
  }
}

}  // namespace quillex
