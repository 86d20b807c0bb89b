// Presentation: how a data set is laid out as a log plot.
//
// A plot is tracks side by side; each track has a relative width and is
// either the depth (or time) track or a curve track with a grid and the
// curves drawn in it, each with its own scale, colour, line and optional
// shading towards a value. Presentation files (.PRS) hold this as INI text
// (plot/presentation_file.h reads them); when there is none, the automatic
// layout (plot/automatic_layout.h) makes one from the curves' names and
// units. The structure is plain data: the renderer and the window read it,
// nothing in it knows about drawing.
#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <vector>

#include "plot/value_scale.h"

namespace tavlo {

enum class LineStyle { kSolid, kDash, kDot, kDashDot };
// Which side of the shading value is shaded: where the curve lies left of
// it, right of it, or both.
enum class FillSide { kBoth, kLeft, kRight };

struct CurveStyle {
  // The curve: NAME in the plotted data set, SET/NAME in a data set beside
  // it, /L1/L2/L3/SET/NAME anywhere in the database; /PASS may follow,
  // else the highest pass.
  QString curve;
  ValueScale scale;
  // No scale was given or known: it is fitted to the data when read.
  bool fitToData = false;
  QColor colour = Qt::black;
  LineStyle line = LineStyle::kSolid;
  double width = 1.0;  // points
  std::optional<double> fillValue;
  QColor fillColour = QColor(255, 230, 120);
  FillSide fillSide = FillSide::kBoth;
};

enum class TrackKind { kCurves, kDepth };
enum class GridKind { kLinear, kLogarithmic, kNone };

struct Track {
  TrackKind kind = TrackKind::kCurves;
  double width = 2.5;  // relative; customarily inches (2.5 a curve track, 0.75 the depth track)
  GridKind grid = GridKind::kLinear;
  int divisions = 10;  // of a linear grid
  std::vector<CurveStyle> curves;
};

struct Presentation {
  QString title;
  std::vector<Track> tracks;
};

// A depth track after the first curve track, where log plots have it, when
// the presentation has none.
void EnsureDepthTrack(Presentation& presentation);

// The scale a logarithmic grid follows: that of the track's first
// logarithmic curve, else 0.2 to 2000.
ValueScale GridScaleOf(const Track& track);

}  // namespace tavlo
