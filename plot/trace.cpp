#include "plot/trace.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {

// Positions far outside the track are held a little outside it: the clip
// hides them either way, and painters handle huge or infinite ones badly.
double XOf(double value, const Across& across) {
  double fraction = across.scale.Fraction(value);
  if (std::isnan(fraction)) return fraction;
  return across.left + std::clamp(fraction, -1.0, 2.0) * across.width;
}

// Gathers the positions of one row.
struct Row {
  bool any = false;
  double y = 0;
  double first = 0, low = 0, high = 0, last = 0;

  void Add(double x) {
    if (!any) {
      first = low = high = x;
      any = true;
    }
    low = std::min(low, x);
    high = std::max(high, x);
    last = x;
  }
  // First, then the extreme nearer to it, the other, and last.
  void EmitTo(QPolygonF& line) const {
    bool lowFirst = std::fabs(first - low) <= std::fabs(first - high);
    for (double x : {first, lowFirst ? low : high, lowFirst ? high : low, last}) {
      if (line.isEmpty() || line.back() != QPointF(x, y)) line << QPointF(x, y);
    }
  }
};

class Tracer {
 public:
  explicit Tracer(std::vector<QPolygonF>& lines) : lines_(lines) {}

  void Point(double x, double y) { line_ << QPointF(x, y); }

  void AddToRow(double x, double y) {
    if (row_.any && y != row_.y) FlushRow();
    row_.y = y;
    row_.Add(x);
  }

  void Gap() {
    FlushRow();
    if (line_.size() == 1) line_ << line_.front();  // a lone sample, drawn as a dot
    if (!line_.isEmpty()) lines_.push_back(line_);
    line_.clear();
  }

 private:
  void FlushRow() {
    if (row_.any) row_.EmitTo(line_);
    row_.any = false;
  }

  std::vector<QPolygonF>& lines_;
  QPolygonF line_;
  Row row_;
};

}  // namespace

std::vector<QPolygonF> TraceCurve(const SampleRun& samples, const DepthAxis& axis,
                                  double firstRow, double lastRow, const Across& across) {
  std::vector<QPolygonF> lines;
  if (samples.count <= 0 || samples.step <= 0 || !(lastRow >= firstRow)) return lines;
  // One sample beyond each end, so that lines run on out of the range.
  double step = samples.step;
  auto first = static_cast<int64_t>(std::floor((axis.IndexAt(firstRow) - samples.top) / step)) - 1;
  auto last = static_cast<int64_t>(std::ceil((axis.IndexAt(lastRow) - samples.top) / step)) + 1;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, samples.count - 1);
  bool byRow = step * axis.pixelsPerIndex() < 1;
  Tracer tracer(lines);
  for (int64_t k = first; k <= last; ++k) {
    float value = samples.values[k];
    double x = std::isnan(value) ? value : XOf(value, across);
    if (std::isnan(x)) {
      tracer.Gap();
      continue;
    }
    double y = axis.Row(samples.top + static_cast<double>(k) * step);
    if (byRow) {
      tracer.AddToRow(x, std::floor(y) + 0.5);
    } else {
      tracer.Point(x, y);
    }
  }
  tracer.Gap();
  return lines;
}

}  // namespace tavlo
