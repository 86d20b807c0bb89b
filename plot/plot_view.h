// PlotView: the plot in a window, scrolled and zoomed by wheel and keys.
//
// The view shows the model from a top index at a number of pixels per
// index unit; the header stays put while the tracks scroll under it. Keys:
// Up and Down move a tenth of the view, Page Up and Page Down nine tenths,
// Home and End go to the top and bottom of the data, + and - zoom in and
// out by a quarter, 0 goes back to the scale the plot opened at. The wheel
// scrolls, with Ctrl it zooms about the cursor. While it follows a run the
// view keeps the newest samples in sight; scrolling by hand stops that and
// End takes it up again.
//
// Moving the mouse over the tracks tells, through ReadoutChanged, the depth
// under the cursor and each curve's value there.
#pragma once

#include <QWidget>

#include "plot/plot_layout.h"
#include "plot/plot_model.h"

namespace tavlo {

class PlotView : public QWidget {
  Q_OBJECT

 public:
  PlotView(const PlotModel& model, double topIndex, QWidget* parent = nullptr);

  double topIndex() const { return top_; }
  double pixelsPerIndex() const { return pixelsPerIndex_; }
  bool following() const { return following_; }
  void SetFollowing(bool following) { following_ = following; }
  // The index at the body's last row.
  double BottomIndex() const;

  void ScrollTo(double topIndex);
  void ScrollByRows(double rows);
  // Zooms by a factor, keeping the index at `row` where it is.
  void ZoomBy(double factor, double row);
  // After the curves grew: in sight of the newest samples while following.
  void DataGrew();

  // What the readout says for a row of the widget: depth and values.
  QString ReadoutAt(double row) const;

 signals:
  void ReadoutChanged(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  PlotLayout Layout() const;
  double BodyRows() const;
  // The deepest sample any curve has.
  double DataBottom() const;
  double DataTop() const;

  const PlotModel& model_;
  double top_ = 0;
  double pixelsPerIndex_ = 1;
  double openingPixelsPerIndex_ = 1;
  bool following_ = false;
};

}  // namespace tavlo
