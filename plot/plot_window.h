// PlotWindow: the plotting program's window. The plot, a message line above
// it when the plot opened with something to say (a presentation that could
// not be used, curves not found), and a status line with the depth and the
// values under the cursor and, while a run writes the curves, how far it
// has come.
//
// Widgets carry object names for the tests: "plot", "message", "readout"
// and "progress".
#pragma once

#include <QLabel>
#include <QMainWindow>

#include "plot/live_follower.h"
#include "plot/plot_opening.h"
#include "plot/plot_view.h"

namespace tavlo {

class PlotWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `go`: the run has just started; follow it from the top down.
  PlotWindow(OpenedPlot& opened, bool go, QWidget* parent = nullptr);

  PlotView& view() { return *view_; }
  LiveFollower& follower() { return follower_; }
  // What the progress field says: how much of the curves being written is
  // there ("written: 45 %"), that they are complete, or nothing when no
  // curve says how long it will be (a recording).
  QString ProgressText() const;

 private:
  void DataGrew();

  OpenedPlot& opened_;
  PlotView* view_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* readout_ = nullptr;
  QLabel* progress_ = nullptr;
  LiveFollower follower_;
};

// The index the plot opens at: the run's top, else the data's, a little
// above it so that the first samples are not on the header's edge.
double OpeningTop(const OpenedPlot& opened);

}  // namespace tavlo
