// The window, driven by its widgets' object names: keys scroll and zoom the
// plot, the mouse tells depth and values in the status line, and messages
// from the opening are shown above the plot.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "plot/plot_window.h"
#include "tests/plot/plot_fixture.h"

namespace tavlo {
namespace {

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    // GR rises from 0 at 1000 ft by 1 every half foot.
    std::vector<float> rising(2001);
    for (size_t k = 0; k < rising.size(); ++k) rising[k] = static_cast<float>(k);
    curve_ = MakeCurve("GR", "GAPI", rising);
    Track track;
    track.curves.push_back(Style("GR", ScaleKind::kLinear, 0, 150, Qt::darkGreen));
    opened_.model.presentation.tracks.push_back(track);
    EnsureDepthTrack(opened_.model.presentation);
    opened_.model.data = {{curve_.get()}, {}};
    opened_.model.messages << "Presentation X.PRS not found in /plots/";
    opened_.data = std::make_unique<LogData>(library_);
    window_ = std::make_unique<PlotWindow>(opened_, false);
    window_->resize(600, 500);
    window_->show();
    view_ = window_->findChild<PlotView*>("plot");
    ASSERT_NE(view_, nullptr);
  }

  dorvex::DorvexLibrary library_;
  std::unique_ptr<LogCurve> curve_;
  OpenedPlot opened_;
  std::unique_ptr<PlotWindow> window_;
  PlotView* view_ = nullptr;
};

TEST_F(Window, KeysScrollAndZoom) {
  struct Case {
    const char* name;
    int key;
    double rowsMoved;   // of the top, in body rows
    double zoom;        // pixels per index, after over before
    bool following;
  } cases[] = {
      {"Down: a tenth of the view", Qt::Key_Down, 0.1, 1, false},
      {"Page Down: nine tenths", Qt::Key_PageDown, 0.9, 1, false},
      {"Page Up: back", Qt::Key_PageUp, -0.9, 1, false},
      {"+: zoom in by a quarter", Qt::Key_Plus, 0, 1.25, false},
      {"-: and out", Qt::Key_Minus, 0, 0.8, false},
  };
  for (const Case& c : cases) {
    double top = view_->topIndex();
    double scale = view_->pixelsPerIndex();
    double rows = (view_->BottomIndex() - top) * scale;
    QTest::keyClick(view_, static_cast<Qt::Key>(c.key));
    if (c.zoom == 1) EXPECT_NEAR((view_->topIndex() - top) * scale, c.rowsMoved * rows, 1e-6) << c.name;
    EXPECT_NEAR(view_->pixelsPerIndex() / scale, c.zoom, 1e-9) << c.name;
    EXPECT_EQ(view_->following(), c.following) << c.name;
  }
  QTest::keyClick(view_, Qt::Key_End);
  EXPECT_TRUE(view_->following()) << "End follows the newest samples again";
  EXPECT_GT(view_->BottomIndex(), curve_->Bottom());
  QTest::keyClick(view_, Qt::Key_Home);
  EXPECT_EQ(view_->topIndex(), curve_->top);
  EXPECT_FALSE(view_->following());
}

TEST_F(Window, TheStatusLineTellsDepthAndValuesAndTheMessageShows) {
  auto* message = window_->findChild<QLabel*>("message");
  ASSERT_NE(message, nullptr);
  EXPECT_TRUE(message->isVisible());
  EXPECT_EQ(message->text(), "Presentation X.PRS not found in /plots/");
  QTest::keyClick(view_, Qt::Key_Home);
  // The row of 1010.25 ft: GR there is 20.5, between two samples.
  PlotLayout layout = LayOutPlot(opened_.model, QRectF(view_->rect()));
  double row = layout.body.top() + (1010.25 * 6000 - view_->topIndex()) * view_->pixelsPerIndex();
  QTest::mouseMove(view_, QPoint(50, static_cast<int>(row)));
  auto* readout = window_->findChild<QLabel*>("readout");
  ASSERT_NE(readout, nullptr);
  // The cursor sits on a whole row: the depth and value there, nearly 1010.25 and 20.5.
  QStringList words = readout->text().split(' ', Qt::SkipEmptyParts);
  ASSERT_EQ(words.size(), 5) << readout->text().toStdString();
  EXPECT_NEAR(words[0].toDouble(), 1010.25, 0.3);
  EXPECT_EQ(words[1], "FT");
  EXPECT_EQ(words[2], "GR");
  EXPECT_NEAR(words[3].toDouble(), 20.5, 0.6);
  EXPECT_EQ(words[4], "GAPI");
  EXPECT_EQ(view_->ReadoutAt(layout.header.top()), "") << "nothing over the header";
}

}  // namespace
}  // namespace tavlo
