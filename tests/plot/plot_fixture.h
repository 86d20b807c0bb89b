// Synthetic curves and a plot model over them, without a database, and the
// renderer's picture of it: the plot tests look at pixels where the scales
// say a value must be drawn.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "plot/plot_layout.h"
#include "plot/plot_model.h"
#include "plot/renderer.h"

namespace tavlo {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A curve from 1000 ft every half foot (3000 index units).
inline std::unique_ptr<LogCurve> MakeCurve(const QString& name, const QString& units,
                                           std::vector<float> samples, int32_t step = 3000) {
  auto curve = std::make_unique<LogCurve>();
  curve->name = name;
  curve->units = units;
  curve->top = 6000000;
  curve->step = step;
  curve->samples = std::move(samples);
  curve->plannedBottom = static_cast<int32_t>(curve->Bottom());
  return curve;
}

inline CurveStyle Style(const QString& name, ScaleKind kind, double left, double right,
                        QColor colour) {
  CurveStyle style;
  style.curve = name;
  style.scale = {kind, left, right};
  style.colour = colour;
  style.width = 1.5;
  return style;
}

// One curve track per curve given, a depth track after the first.
class PlotPicture : public ::testing::Test {
 protected:
  void AddTrack(std::unique_ptr<LogCurve> curve, CurveStyle style,
                GridKind grid = GridKind::kNone) {
    Track track;
    track.grid = grid;
    track.curves.push_back(style);
    model_.presentation.tracks.push_back(track);
    model_.data.push_back({curve.get()});
    curves_.push_back(std::move(curve));
    if (model_.presentation.tracks.size() == 1) {
      Track depth;
      depth.kind = TrackKind::kDepth;
      depth.width = 0.75;
      model_.presentation.tracks.push_back(depth);
      model_.data.emplace_back();
    }
  }

  // Draws the model over [from, to] ft into an image; the layout and axis
  // stay for the checks.
  void Render(double fromFeet, double toFeet, int width = 800, int height = 700) {
    image_ = QImage(width, height, QImage::Format_RGB32);
    QPainter painter(&image_);
    painter.fillRect(image_.rect(), Qt::white);
    layout_ = LayOutPlot(model_, QRectF(image_.rect()));
    axis_ = DepthAxis(fromFeet * 6000, layout_.body.top(),
                      layout_.body.height() / ((toFeet - fromFeet) * 6000));
    DrawHeader(painter, model_, layout_);
    DrawBody(painter, model_, layout_, axis_);
  }

  // The x where a track's scale puts a value.
  double XOf(size_t track, double value) const {
    const ValueScale& scale = model_.presentation.tracks[track].curves[0].scale;
    return layout_.TrackLeft(track) + scale.Fraction(value) * layout_.TrackWidth(track);
  }
  int RowOf(double feet) const { return static_cast<int>(axis_.Row(feet * 6000)); }

  // Whether a pixel of this colour lies within `reach` pixels of x on a row.
  bool ColourNear(QColor colour, double x, int row, int reach = 2) const {
    for (int dx = -reach; dx <= reach; ++dx) {
      QColor seen = image_.pixelColor(static_cast<int>(std::lround(x)) + dx, row);
      if (std::abs(seen.red() - colour.red()) < 60 && std::abs(seen.green() - colour.green()) < 60 &&
          std::abs(seen.blue() - colour.blue()) < 60 && seen != Qt::white) {
        return true;
      }
    }
    return false;
  }
  // Whether any pixel of the colour lies in a row between two x.
  bool ColourBetween(QColor colour, double left, double right, int row) const {
    for (int x = static_cast<int>(left) + 1; x < static_cast<int>(right); ++x) {
      if (ColourNear(colour, x, row, 0)) return true;
    }
    return false;
  }

  std::vector<std::unique_ptr<LogCurve>> curves_;
  PlotModel model_;
  PlotLayout layout_;
  DepthAxis axis_;
  QImage image_;
};

}  // namespace tavlo
