#include "plot/plot_window.h"

#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

namespace tavlo {

double OpeningTop(const OpenedPlot& opened) {
  double top = 0, bottom = 0;
  if (opened.runInterval) {
    top = opened.runInterval->first;
  } else if (!opened.model.Extent(&top, &bottom)) {
    top = 0;
  }
  // Ten pixels of room above.
  return top - 10 / PixelsPerIndex(opened.model.scale, opened.model.timeBased);
}

PlotWindow::PlotWindow(OpenedPlot& opened, bool go, QWidget* parent)
    : QMainWindow(parent), opened_(opened), follower_(*opened.data) {
  setWindowTitle("tavlo - " + opened.model.source);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  message_ = new QLabel(opened.model.messages.join("\n"), central);
  message_->setObjectName("message");
  message_->setWordWrap(true);
  message_->setMargin(6);
  message_->setStyleSheet("background: #fff4c0; color: black;");
  message_->setVisible(!opened.model.messages.isEmpty());
  view_ = new PlotView(opened.model, OpeningTop(opened), central);
  view_->setObjectName("plot");
  view_->SetFollowing(go);
  layout->addWidget(message_);
  layout->addWidget(view_, 1);
  setCentralWidget(central);
  readout_ = new QLabel(this);
  readout_->setObjectName("readout");
  progress_ = new QLabel(this);
  progress_->setObjectName("progress");
  statusBar()->addWidget(readout_, 1);
  statusBar()->addPermanentWidget(progress_);
  connect(view_, &PlotView::ReadoutChanged, readout_, &QLabel::setText);
  connect(&follower_, &LiveFollower::Grew, this, &PlotWindow::DataGrew);
  // A data set complete from the start is no run: nothing to tell.
  if (ProgressText() != "complete") progress_->setText(ProgressText());
  follower_.Start();
  // As wide as the presentation's tracks at 96 pixels to the inch, as tall
  // as the screen allows.
  double inches = 0;
  for (const Track& track : opened.model.presentation.tracks) inches += track.width;
  QSize wanted(static_cast<int>(inches * kPixelsPerInch) + 8, 900);
  if (QScreen* screen = this->screen()) wanted = wanted.boundedTo(screen->availableSize() * 0.95);
  resize(wanted);
  view_->setFocus();
}

QString PlotWindow::ProgressText() const {
  double planned = 0, written = 0;
  bool any = false;
  for (const auto& curve : opened_.data->curves()) {
    if (curve->plannedBottom <= curve->top) continue;
    planned += static_cast<double>(curve->PlannedCount());
    written += std::min<double>(static_cast<double>(curve->samples.size()),
                                static_cast<double>(curve->PlannedCount()));
    any = any || !curve->Complete();
  }
  if (planned == 0) return {};  // nothing says how long the curves will be
  if (!any) return "complete";
  return QString("written: %1 %").arg(static_cast<int>(100 * written / planned));
}

void PlotWindow::DataGrew() {
  view_->DataGrew();
  progress_->setText(ProgressText());
}

}  // namespace tavlo
