#include "plot/plot_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {

constexpr double kMargin = 4;
constexpr double kPad = 2;

struct Metrics {
  double line;  // height of a line of text
  double box;   // height of a curve's header box
};

void AddText(PlotLayout& layout, const QString& text, const QRectF& box, int alignment,
             QColor colour = Qt::black, bool bold = false, bool italic = false) {
  layout.texts.push_back({text, box, alignment, colour, bold, italic});
}

void LayOutDepthHeader(PlotLayout& layout, const PlotModel& model, const QRectF& box,
                       const Metrics& metrics) {
  QRectF line(box.left(), box.top() + kPad, box.width(), metrics.line);
  AddText(layout, model.timeBased ? "TIME" : "DEPTH", line, Qt::AlignCenter, Qt::black, true);
  line.translate(0, metrics.line);
  AddText(layout, model.unit.label.c_str(), line, Qt::AlignCenter);
  line.translate(0, metrics.line);
  AddText(layout, ScaleText(model.scale, model.timeBased), line, Qt::AlignCenter);
}

// Name and units on the first line; left value, line sample, right value on
// the second.
void LayOutCurveHeader(PlotLayout& layout, const PlotModel& model, int track, int curve,
                       const QRectF& box, const Metrics& metrics) {
  const CurveStyle& style = model.presentation.tracks[track].curves[curve];
  const LogCurve* data = model.data[track][curve];
  QRectF first(box.left() + kPad, box.top() + kPad, box.width() - 2 * kPad, metrics.line);
  QRectF second = first.translated(0, metrics.line);
  if (data == nullptr) {
    AddText(layout, style.curve, first, Qt::AlignCenter, Qt::darkGray, true);
    AddText(layout, "not found", second, Qt::AlignCenter, Qt::darkGray, false, true);
    return;
  }
  QString title = data->name + (data->units.isEmpty() ? QString() : "  " + data->units);
  AddText(layout, title, first, Qt::AlignCenter, style.colour, true);
  AddText(layout, ValueText(style.scale.left), second, Qt::AlignLeft | Qt::AlignVCenter, style.colour);
  AddText(layout, ValueText(style.scale.right), second, Qt::AlignRight | Qt::AlignVCenter, style.colour);
  QFontMetricsF fontMetrics(PlotFont());
  double reserve = std::max(fontMetrics.horizontalAdvance(ValueText(style.scale.left)),
                            fontMetrics.horizontalAdvance(ValueText(style.scale.right))) + 6;
  double y = second.center().y();
  layout.samples.push_back(
      {QLineF(second.left() + reserve, y, std::max(second.left() + reserve, second.right() - reserve), y),
       track, curve});
}

}  // namespace

QFont PlotFont() {
  QFont font("DejaVu Sans");
  font.setPointSizeF(7.5);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QString ValueText(double value) { return QString::number(value, 'g', 5); }

int PlotLayout::TrackAt(double x) const {
  for (size_t track = 0; track + 1 < left.size(); ++track) {
    if (x >= left[track] && x < left[track + 1]) return static_cast<int>(track);
  }
  return -1;
}

PlotLayout LayOutPlot(const PlotModel& model, const QRectF& area, const QFont& font) {
  PlotLayout layout;
  QFontMetricsF fontMetrics(font);
  Metrics metrics{std::ceil(fontMetrics.height()) + 1, 0};
  metrics.box = 2 * metrics.line + 2 * kPad;
  const auto& tracks = model.presentation.tracks;
  double total = 0;
  for (const Track& track : tracks) total += track.width;
  double x = area.left() + kMargin;
  double usable = area.width() - 2 * kMargin;
  for (const Track& track : tracks) {
    layout.left.push_back(std::round(x));
    x += usable * track.width / std::max(total, 1e-9);
  }
  layout.left.push_back(std::round(x));
  size_t rows = 1;
  for (const Track& track : tracks) rows = std::max(rows, track.curves.size());
  // The depth track's header has three lines; keep room for them.
  double boxes = std::max(rows * metrics.box, 3 * metrics.line + 2 * kPad);
  double titleBottom = area.top() + kMargin + metrics.line;
  layout.header = QRectF(layout.left.front(), area.top() + kMargin, layout.left.back() - layout.left.front(),
                         titleBottom - area.top() - kMargin + 2 + boxes);
  QString title = model.source + (model.presentation.title.isEmpty() ? "" : "   " + model.presentation.title);
  AddText(layout, title, QRectF(layout.header.left(), layout.header.top(), layout.header.width(), metrics.line),
          Qt::AlignLeft | Qt::AlignVCenter, Qt::black, true);
  double boxesTop = titleBottom + 2;
  for (size_t t = 0; t < tracks.size(); ++t) {
    QRectF column(layout.TrackLeft(t), boxesTop, layout.TrackWidth(t), boxes);
    if (tracks[t].kind == TrackKind::kDepth) {
      layout.boxes.push_back(column);
      LayOutDepthHeader(layout, model, column, metrics);
      continue;
    }
    layout.boxes.push_back(column);
    for (size_t c = 0; c < tracks[t].curves.size(); ++c) {
      QRectF box(column.left(), column.top() + c * metrics.box, column.width(), metrics.box);
      layout.boxes.push_back(box);
      LayOutCurveHeader(layout, model, static_cast<int>(t), static_cast<int>(c), box, metrics);
    }
  }
  layout.body = QRectF(layout.header.left(), layout.header.bottom(), layout.header.width(),
                       std::max(0.0, area.bottom() - kMargin - layout.header.bottom()));
  return layout;
}

}  // namespace tavlo
