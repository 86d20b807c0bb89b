#include "plot/renderer.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "plot/trace.h"

namespace tavlo {

namespace {

const QColor kThinGrid(215, 215, 215);
const QColor kHeavyGrid(160, 160, 160);
const QColor kLabelledGrid(95, 95, 95);
const QColor kFrame(0, 0, 0);

// A pixel centre, for sharp one-pixel lines.
double Centre(double position) { return std::floor(position) + 0.5; }

void HorizontalLines(QPainter& painter, const std::vector<double>& values, const DisplayUnit& unit,
                     const DepthAxis& axis, double left, double right, const QColor& colour) {
  painter.setPen(QPen(colour, 0));
  for (double value : values) {
    double y = Centre(axis.Row(value * unit.indexPerUnit));
    painter.drawLine(QPointF(left, y), QPointF(right, y));
  }
}

// Depth grid values of the three weights, each weight without the lines of
// the heavier ones.
struct DepthLines {
  std::vector<double> thin, heavy, labelled;
  DepthGrid grid;
};

DepthLines LinesFor(const PlotModel& model, const DepthAxis& axis, const QRectF& body) {
  DepthLines lines;
  double perUnit = model.unit.indexPerUnit;
  lines.grid = ChooseDepthGrid(axis.pixelsPerIndex() * perUnit);
  double from = axis.IndexAt(body.top()) / perUnit;
  double to = axis.IndexAt(body.bottom()) / perUnit;
  auto on = [](double value, double step) {
    return std::fabs(std::remainder(value, step)) < step * 1e-6;
  };
  for (double value : GridValues(from, to, lines.grid.thin)) {
    if (on(value, lines.grid.labelled)) {
      lines.labelled.push_back(value);
    } else if (on(value, lines.grid.heavy)) {
      lines.heavy.push_back(value);
    } else {
      lines.thin.push_back(value);
    }
  }
  return lines;
}

void DrawDepthTrack(QPainter& painter, const PlotModel& model, const DepthLines& lines,
                    const DepthAxis& axis, double left, double right, double top, double bottom) {
  const DisplayUnit& unit = model.unit;
  double tick = std::min(6.0, (right - left) / 6);
  painter.setPen(QPen(kHeavyGrid, 0));
  for (const auto* values : {&lines.thin, &lines.heavy}) {
    double length = values == &lines.thin ? tick : tick * 1.6;
    for (double value : *values) {
      double y = Centre(axis.Row(value * unit.indexPerUnit));
      painter.drawLine(QPointF(left, y), QPointF(left + length, y));
      painter.drawLine(QPointF(right - length, y), QPointF(right, y));
    }
  }
  painter.setPen(Qt::black);
  QFontMetricsF metrics(painter.font());
  for (double value : lines.labelled) {
    double y = axis.Row(value * unit.indexPerUnit);
    QRectF box(left, y - metrics.height() / 2, right - left, metrics.height());
    // A label the body's edge would cut is left out: half a number misleads.
    if (box.top() < top || box.bottom() > bottom) continue;
    painter.drawText(box, Qt::AlignCenter, QString::fromStdString(DepthLabel(value, lines.grid.labelled)));
  }
}

void DrawTrackGrid(QPainter& painter, const Track& track, const DepthLines& lines,
                   const PlotModel& model, const DepthAxis& axis, double left, double width,
                   const QRectF& body) {
  if (track.grid == GridKind::kNone) return;
  TrackGrid across = track.grid == GridKind::kLogarithmic ? LogarithmicGrid(GridScaleOf(track))
                                                          : LinearGrid(track.divisions);
  double right = left + width;
  HorizontalLines(painter, lines.thin, model.unit, axis, left, right, kThinGrid);
  for (const auto& [fractions, colour] : {std::pair{&across.thin, kThinGrid}, {&across.heavy, kHeavyGrid}}) {
    painter.setPen(QPen(colour, 0));
    for (double fraction : *fractions) {
      double x = Centre(left + fraction * width);
      painter.drawLine(QPointF(x, body.top()), QPointF(x, body.bottom()));
    }
  }
  HorizontalLines(painter, lines.heavy, model.unit, axis, left, right, kHeavyGrid);
  HorizontalLines(painter, lines.labelled, model.unit, axis, left, right, kLabelledGrid);
}

// The shading between a curve and its fill value, on the chosen side.
void DrawFill(QPainter& painter, const CurveStyle& style, const std::vector<QPolygonF>& lines,
              const Across& across, const QRectF& clip) {
  double base = across.left + std::clamp(across.scale.Fraction(*style.fillValue), -1.0, 2.0) * across.width;
  QRectF side = clip;
  if (style.fillSide == FillSide::kLeft) side.setRight(std::min(clip.right(), base));
  if (style.fillSide == FillSide::kRight) side.setLeft(std::max(clip.left(), base));
  if (side.width() <= 0) return;
  QPainterPath path;
  for (const QPolygonF& line : lines) {
    QPolygonF shape = line;
    shape << QPointF(base, line.back().y()) << QPointF(base, line.front().y());
    path.addPolygon(shape);
    path.closeSubpath();
  }
  path.setFillRule(Qt::WindingFill);
  painter.save();
  painter.setClipRect(side, Qt::IntersectClip);
  painter.setPen(Qt::NoPen);
  painter.setBrush(style.fillColour);
  painter.drawPath(path);
  painter.restore();
}

void DrawCurves(QPainter& painter, const PlotModel& model, size_t t, const PlotLayout& layout,
                const DepthAxis& axis) {
  const Track& track = model.presentation.tracks[t];
  QRectF clip(layout.TrackLeft(t), layout.body.top(), layout.TrackWidth(t), layout.body.height());
  painter.save();
  painter.setClipRect(clip);
  painter.setRenderHint(QPainter::Antialiasing, true);
  // Shading first, under every curve of the track.
  std::vector<std::vector<QPolygonF>> traces(track.curves.size());
  for (size_t c = 0; c < track.curves.size(); ++c) {
    const LogCurve* data = model.data[t][c];
    if (data == nullptr || !track.curves[c].scale.IsValid()) continue;
    SampleRun run{data->samples.data(), static_cast<int64_t>(data->samples.size()), data->top, data->step};
    Across across{track.curves[c].scale, clip.left(), clip.width()};
    traces[c] = TraceCurve(run, axis, clip.top(), clip.bottom(), across);
    if (track.curves[c].fillValue && !traces[c].empty()) {
      DrawFill(painter, track.curves[c], traces[c], across, clip);
    }
  }
  painter.setBrush(Qt::NoBrush);
  for (size_t c = 0; c < track.curves.size(); ++c) {
    painter.setPen(CurvePen(track.curves[c]));
    for (const QPolygonF& line : traces[c]) painter.drawPolyline(line);
  }
  painter.restore();
}

}  // namespace

QPen CurvePen(const CurveStyle& style) {
  // Lines of a point or less are one device pixel wide: the thinnest sharp
  // line, and the one the painter draws fastest by far (a long log's trace
  // zigzags across every row, and a wider pen's outline costs several times
  // as much). Wider lines keep their width.
  bool hairline = style.width <= 1.0;
  QPen pen(style.colour, hairline ? 1.0 : style.width * kPixelsPerInch / 72.0);
  pen.setCosmetic(hairline);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  switch (style.line) {
    case LineStyle::kSolid: break;
    case LineStyle::kDash: pen.setDashPattern({5, 3}); break;
    case LineStyle::kDot: pen.setDashPattern({1, 2}); break;
    case LineStyle::kDashDot: pen.setDashPattern({5, 2, 1, 2}); break;
  }
  return pen;
}

void DrawHeader(QPainter& painter, const PlotModel& model, const PlotLayout& layout) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kFrame, 0));
  painter.setBrush(Qt::NoBrush);
  for (const QRectF& box : layout.boxes) {
    painter.drawRect(QRectF(Centre(box.left()), Centre(box.top()), std::round(box.width()),
                            std::round(box.height())));
  }
  QFont font = PlotFont();
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  for (const LaidText& text : layout.texts) {
    font.setBold(text.bold);
    font.setItalic(text.italic);
    painter.setFont(font);
    painter.setPen(text.colour);
    painter.drawText(text.box, text.alignment, text.text);
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const LaidSample& sample : layout.samples) {
    painter.setPen(CurvePen(model.presentation.tracks[sample.track].curves[sample.curve]));
    painter.drawLine(sample.line);
  }
  painter.restore();
}

void DrawBody(QPainter& painter, const PlotModel& model, const PlotLayout& layout,
              const DepthAxis& axis) {
  painter.save();
  painter.setClipRect(layout.body, Qt::IntersectClip);
  painter.setFont(PlotFont());
  painter.setRenderHint(QPainter::Antialiasing, false);
  DepthLines lines = LinesFor(model, axis, layout.body);
  const auto& tracks = model.presentation.tracks;
  for (size_t t = 0; t < tracks.size(); ++t) {
    double left = layout.TrackLeft(t);
    double width = layout.TrackWidth(t);
    if (tracks[t].kind == TrackKind::kDepth) {
      DrawDepthTrack(painter, model, lines, axis, left, left + width, layout.body.top(),
                     layout.body.bottom());
    } else {
      DrawTrackGrid(painter, tracks[t], lines, model, axis, left, width, layout.body);
      DrawCurves(painter, model, t, layout, axis);
    }
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kFrame, 0));
  painter.setBrush(Qt::NoBrush);
  for (size_t t = 0; t <= tracks.size(); ++t) {
    double x = Centre(layout.left[t]);
    painter.drawLine(QPointF(x, layout.body.top()), QPointF(x, layout.body.bottom()));
  }
  double bottom = Centre(layout.body.bottom() - 1);
  painter.drawLine(QPointF(layout.left.front(), bottom), QPointF(layout.left.back(), bottom));
  painter.restore();
}

void DrawPlot(QPainter& painter, const PlotModel& model, const PlotLayout& layout,
              const DepthAxis& axis) {
  painter.fillRect(painter.viewport(), Qt::white);
  DrawHeader(painter, model, layout);
  DrawBody(painter, model, layout, axis);
}

}  // namespace tavlo
