// Opening a plot: from a database, a data set and maybe a presentation to
// a PlotModel, with everything that can go wrong told in words.
//
// The data set's run settings ("_defaults_", written by a curve run) give
// the presentation when none is asked for, the display unit, the scale and
// the interval the run covers. A presentation that is missing or unusable
// gives way to the automatic layout with a message, so a plot always opens
// once the data set does; whether that message is fatal (an export asked
// for that presentation by name) is the caller's choice.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "libs/dorvex/dorvex.h"
#include "plot/log_data.h"
#include "plot/plot_model.h"

namespace tavlo {

struct PlotRequest {
  std::string database;   // as on the command line: a name or a file
  std::string dataSet;    // /L1/L2/L3/SET
  QString presentation;   // empty: the run's, else the automatic layout
  std::optional<double> scale;
};

enum class OpenFailure { kNone, kDatabase, kDataSet };

struct OpenedPlot {
  OpenFailure failure = OpenFailure::kNone;
  QString message;  // why it failed
  std::unique_ptr<LogData> data;
  PlotModel model;
  bool presentationFailed = false;  // the presentation asked for could not be used
  // The run's interval (index values), when the data set has run settings.
  std::optional<std::pair<double, double>> runInterval;
};

OpenedPlot OpenPlot(dorvex::DorvexLibrary& library, const PlotRequest& request);

// Reads every curve the model's presentation names and settles the scales
// fitted to data; the curves not found are told in the model's messages.
void ResolveCurves(PlotModel& model, LogData& data, const std::string& dataSet);

}  // namespace tavlo
