#include "plot/plot_opening.h"

#include <QFileInfo>
#include <cmath>

#include "plot/automatic_layout.h"
#include "plot/presentation_file.h"

namespace tavlo {

namespace {

// Feet, metres or seconds: the run's choice, else the curves' kind and the
// settings.
void ChooseUnit(PlotModel& model, dorvex::DorvexLibrary& library,
                const std::optional<dorvex::RunDefaults>& defaults) {
  bool metric = dorvex::DorvexGetSetting(library, dorvex::setting::kMetricDepth).number == 1;
  if (defaults) {
    uint16_t kind = defaults->flags & 0xF;
    model.timeBased = kind == dorvex::kRunTime;
    metric = kind == dorvex::kRunDepthMetric;
  }
  model.unit = model.timeBased ? Seconds() : metric ? Metres() : Feet();
  double fallback = model.timeBased ? 100 : metric ? 200 : 240;
  model.scale = defaults && defaults->scale > 0 && std::isfinite(defaults->scale) ? defaults->scale : fallback;
}

Presentation ChoosePresentation(OpenedPlot& opened, dorvex::DorvexLibrary& library,
                                const QString& name, const std::string& dataSet) {
  if (!name.isEmpty()) {
    QString folder = QString::fromStdString(
        dorvex::DorvexGetSetting(library, dorvex::setting::kPresentationFolder).text);
    PresentationFile file = LoadPresentation(folder, name);
    opened.model.messages << file.messages;
    if (file.usable) return file.presentation;
    opened.presentationFailed = true;
    opened.model.messages << "The automatic layout is shown instead.";
  }
  return AutomaticLayout(opened.data->CurvesOf(dataSet));
}

}  // namespace

void ResolveCurves(PlotModel& model, LogData& data, const std::string& dataSet) {
  model.data.clear();
  for (Track& track : model.presentation.tracks) {
    model.data.emplace_back();
    for (CurveStyle& style : track.curves) {
      const LogCurve* curve = data.Load(dataSet, style.curve);
      model.data.back().push_back(curve);
      if (curve == nullptr) {
        model.messages << "Curve " + style.curve + " not found beside " + QString::fromStdString(dataSet) + ".";
        continue;
      }
      if (style.fitToData) {
        auto [low, high] = curve->Range();
        style.scale = FittedScale(low, high);
      }
    }
  }
}

OpenedPlot OpenPlot(dorvex::DorvexLibrary& library, const PlotRequest& request) {
  OpenedPlot opened;
  opened.data = std::make_unique<LogData>(library);
  std::string file = DatabaseFileOf(library, request.database);
  if (!opened.data->OpenDatabase(file, &opened.message)) {
    opened.failure = OpenFailure::kDatabase;
    return opened;
  }
  if (!opened.data->IsDataSet(request.dataSet)) {
    opened.failure = OpenFailure::kDataSet;
    opened.message = QString::fromStdString("no data set " + request.dataSet + " in " + file);
    return opened;
  }
  PlotModel& model = opened.model;
  // Sources are written "DB: PATH" with the database's name, as the run
  // writes them, whether the run handed over a name or a file.
  QString name = QString::fromStdString(request.database);
  if (name.contains('/')) name = QFileInfo(name).completeBaseName();
  model.source = name + ": " + QString::fromStdString(request.dataSet);
  std::optional<dorvex::RunDefaults> defaults;
  if (dorvex::RunDefaults read; opened.data->ReadRunDefaults(request.dataSet, &read)) defaults = read;
  QString presentation = request.presentation;
  if (presentation.isEmpty() && defaults) presentation = QString::fromLatin1(defaults->presentation);
  model.presentation = ChoosePresentation(opened, library, presentation, request.dataSet);
  ResolveCurves(model, *opened.data, request.dataSet);
  for (const auto& curve : opened.data->curves()) model.timeBased = model.timeBased || curve->timeBased;
  ChooseUnit(model, library, defaults);
  if (request.scale) model.scale = *request.scale;
  if (defaults && defaults->runTop < defaults->runBottom) {
    // Copied out first: the record is packed, its fields are not aligned.
    int32_t top = defaults->runTop;
    int32_t bottom = defaults->runBottom;
    opened.runInterval = std::pair<double, double>(top, bottom);
    // A curve's description follows its samples as they are committed; how
    // far a run will take its curves only the run's settings say.
    for (const auto& curve : opened.data->curves()) {
      curve->plannedBottom = std::max(curve->plannedBottom, bottom);
    }
  }
  return opened;
}

}  // namespace tavlo
