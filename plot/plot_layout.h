// PlotLayout: where everything of a plot goes in a rectangle, before any
// drawing: the title line, the header boxes of the curves (name and units,
// the scale's two ends, a sample of the line), the tracks' columns and the
// body where depth runs down.
//
// Keeping the placement apart from the painting lets the window ask what
// lies under the cursor and lets tests find the header texts by what they
// say and where they are, without reading pixels as letters.
#pragma once

#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QString>
#include <vector>

#include "plot/plot_model.h"

namespace tavlo {

struct LaidText {
  QString text;
  QRectF box;
  int alignment = 0;  // Qt::Alignment flags
  QColor colour = Qt::black;
  bool bold = false;
  bool italic = false;
};

// The line sample of a curve in its header box.
struct LaidSample {
  QLineF line;
  int track = 0;
  int curve = 0;
};

struct PlotLayout {
  QRectF header;            // title and header boxes
  QRectF body;              // tracks' bodies: depth runs down here
  std::vector<double> left; // of each track, then the right edge of the last
  std::vector<QRectF> boxes;  // the header boxes' frames
  std::vector<LaidText> texts;
  std::vector<LaidSample> samples;

  double TrackLeft(size_t track) const { return left[track]; }
  double TrackWidth(size_t track) const { return left[track + 1] - left[track]; }
  // The track under an x, or -1.
  int TrackAt(double x) const;
};

// The font of every text of a plot: a size readable at print size, the
// same on screen and in every export (all are 96 pixels to the inch).
QFont PlotFont();

PlotLayout LayOutPlot(const PlotModel& model, const QRectF& area, const QFont& font = PlotFont());

// How a value is written at a scale's end: as short as it can be.
QString ValueText(double value);

}  // namespace tavlo
