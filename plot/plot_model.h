// PlotModel: what one plot shows. The presentation with every scale
// settled, the curve read for each of its curves (none when the data set
// lacks it), the display unit of the index and the texts above the tracks.
// The renderer draws it, the layout places its texts, the window and the
// export hold one; building it (plot/plot_opening.h) is the only part that
// reads the database.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "plot/depth_axis.h"
#include "plot/log_data.h"
#include "plot/presentation.h"

namespace tavlo {

struct PlotModel {
  Presentation presentation;
  // data[t][c]: the curve drawn as presentation.tracks[t].curves[c]; null
  // when it was not found.
  std::vector<std::vector<const LogCurve*>> data;
  DisplayUnit unit;
  bool timeBased = false;
  double scale = 240;  // as the run or the command line gave it
  QString source;      // "DB: PATH"
  QStringList messages;  // what went wrong opening it, shown with the plot

  // The index range any curve covers (top of all, bottom of all); false
  // when no curve has samples.
  bool Extent(double* top, double* bottom) const;
};

// "1:240" for depths, "100 S/IN" for times.
QString ScaleText(double scale, bool timeBased);

}  // namespace tavlo
