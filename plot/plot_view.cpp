#include "plot/plot_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "plot/renderer.h"

namespace tavlo {

namespace {

constexpr double kZoomStep = 1.25;

QString Number(double value) {
  return std::isnan(value) ? QString("-") : QString::number(value, 'g', 4);
}

}  // namespace

PlotView::PlotView(const PlotModel& model, double topIndex, QWidget* parent)
    : QWidget(parent), model_(model), top_(topIndex) {
  pixelsPerIndex_ = openingPixelsPerIndex_ = PixelsPerIndex(model.scale, model.timeBased);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(300, 200);
}

PlotLayout PlotView::Layout() const { return LayOutPlot(model_, QRectF(rect())); }

double PlotView::BodyRows() const { return std::max(Layout().body.height(), 1.0); }

double PlotView::BottomIndex() const { return top_ + BodyRows() / pixelsPerIndex_; }

double PlotView::DataTop() const {
  double top = 0, bottom = 0;
  return model_.Extent(&top, &bottom) ? top : top_;
}

double PlotView::DataBottom() const {
  double top = 0, bottom = 0;
  return model_.Extent(&top, &bottom) ? bottom : top_;
}

void PlotView::ScrollTo(double topIndex) {
  top_ = topIndex;
  update();
}

void PlotView::ScrollByRows(double rows) { ScrollTo(top_ + rows / pixelsPerIndex_); }

void PlotView::ZoomBy(double factor, double row) {
  PlotLayout layout = Layout();
  DepthAxis axis(top_, layout.body.top(), pixelsPerIndex_);
  double fixed = axis.IndexAt(row);
  // Between a tenth of a pixel to a thousand index units and a hundred
  // pixels to a sample step of 1: any log fits, no view goes flat.
  pixelsPerIndex_ = std::clamp(pixelsPerIndex_ * factor, 1e-7, 100.0);
  top_ = fixed - (row - layout.body.top()) / pixelsPerIndex_;
  update();
}

void PlotView::DataGrew() {
  if (following_) {
    double bottom = DataBottom();
    double span = BottomIndex() - top_;
    // The newest samples a fifth of the view above its bottom.
    if (bottom > top_ + span * 0.8) top_ = bottom - span * 0.8;
  }
  update();
}

QString PlotView::ReadoutAt(double row) const {
  PlotLayout layout = Layout();
  if (row < layout.body.top() || row >= layout.body.bottom()) return {};
  DepthAxis axis(top_, layout.body.top(), pixelsPerIndex_);
  double index = axis.IndexAt(row);
  double perUnit = model_.unit.indexPerUnit;
  int decimals = pixelsPerIndex_ * perUnit > 50 ? 2 : 1;
  QString text = QString::number(index / perUnit, 'f', decimals) + " " + model_.unit.label.c_str();
  std::vector<const LogCurve*> told;  // a curve drawn twice is told once
  for (const auto& track : model_.data) {
    for (const LogCurve* curve : track) {
      if (curve == nullptr || std::find(told.begin(), told.end(), curve) != told.end()) continue;
      told.push_back(curve);
      text += "   " + curve->name + " " + Number(curve->ValueAt(index)) +
              (curve->units.isEmpty() ? QString() : " " + curve->units);
    }
  }
  return text;
}

void PlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  PlotLayout layout = Layout();
  DrawHeader(painter, model_, layout);
  DrawBody(painter, model_, layout, DepthAxis(top_, layout.body.top(), pixelsPerIndex_));
}

void PlotView::keyPressEvent(QKeyEvent* event) {
  double rows = BodyRows();
  double centre = Layout().body.center().y();
  switch (event->key()) {
    case Qt::Key_Down: following_ = false; ScrollByRows(rows / 10); break;
    case Qt::Key_Up: following_ = false; ScrollByRows(-rows / 10); break;
    case Qt::Key_PageDown: following_ = false; ScrollByRows(rows * 0.9); break;
    case Qt::Key_PageUp: following_ = false; ScrollByRows(-rows * 0.9); break;
    case Qt::Key_Home: following_ = false; ScrollTo(DataTop()); break;
    case Qt::Key_End:
      following_ = true;
      ScrollTo(DataBottom() - rows * 0.8 / pixelsPerIndex_);
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: ZoomBy(kZoomStep, centre); break;
    case Qt::Key_Minus: ZoomBy(1 / kZoomStep, centre); break;
    case Qt::Key_0: ZoomBy(openingPixelsPerIndex_ / pixelsPerIndex_, centre); break;
    default: QWidget::keyPressEvent(event); return;
  }
  emit ReadoutChanged(ReadoutAt(mapFromGlobal(QCursor::pos()).y()));
}

void PlotView::wheelEvent(QWheelEvent* event) {
  double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  if (event->modifiers() & Qt::ControlModifier) {
    ZoomBy(std::pow(kZoomStep, notches), event->position().y());
  } else {
    following_ = false;
    ScrollByRows(-notches * BodyRows() / 10);
  }
  emit ReadoutChanged(ReadoutAt(event->position().y()));
  event->accept();
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
  emit ReadoutChanged(ReadoutAt(event->position().y()));
}

}  // namespace tavlo
