// The renderer's pictures of known curves: each value drawn where its scale
// puts it (linear, logarithmic, reversed), gaps where values are missing,
// curves of other steps and extents on the same depth axis, the shading on
// its side, log decades on the grid, the header's texts; and the trace of a
// long curve, a few points a pixel row.
#include <gtest/gtest.h>

#include <algorithm>

#include "plot/trace.h"
#include "tests/plot/plot_fixture.h"

namespace tavlo {
namespace {

const QColor kGreen(0, 160, 0);
const QColor kRed(220, 0, 0);
const QColor kBlue(0, 0, 220);
const QColor kGold(255, 200, 0);

// 1000 to 1100 ft every half foot: `value`, missing from 1020 to 1030 ft.
std::vector<float> Constant(float value, bool withGap = false) {
  std::vector<float> samples(201, value);
  if (withGap) std::fill(samples.begin() + 40, samples.begin() + 61, kNaN);
  return samples;
}

class Picture : public PlotPicture {
 protected:
  void SetUp() override {
    AddTrack(MakeCurve("GR", "GAPI", Constant(75, true)),
             Style("GR", ScaleKind::kLinear, 0, 150, kGreen), GridKind::kLinear);
    AddTrack(MakeCurve("ILD", "OHMM", Constant(20)),
             Style("ILD", ScaleKind::kLogarithmic, 0.2, 2000, kRed), GridKind::kLogarithmic);
    AddTrack(MakeCurve("NPHI", "V/V", Constant(0.3F)),
             Style("NPHI", ScaleKind::kLinear, 0.45, -0.15, kBlue));
  }
};

TEST_F(Picture, ValuesLieWhereTheirScalesSayAndGapsStayEmpty) {
  Render(1000, 1100);
  struct Case {
    const char* name;
    size_t track;
    double value;
    QColor colour;
  } cases[] = {
      {"linear: 75 of 0 to 150 in the middle", 0, 75, kGreen},
      {"log: 20 of 0.2 to 2000 in the middle", 2, 20, kRed},
      {"reversed: 0.3 of 0.45 to -0.15 a quarter across", 3, 0.3, kBlue},
  };
  for (const Case& c : cases) {
    for (double feet : {1005.0, 1050.0, 1095.0}) {
      EXPECT_TRUE(ColourNear(c.colour, XOf(c.track, c.value), RowOf(feet))) << c.name << " at " << feet;
    }
    double left = layout_.TrackLeft(c.track);
    EXPECT_FALSE(ColourBetween(c.colour, left, XOf(c.track, c.value) - 4, RowOf(1050))) << c.name;
  }
  EXPECT_NEAR(XOf(3, 0.3), layout_.TrackLeft(3) + layout_.TrackWidth(3) / 4, 1e-9);
  // The gap: nothing green across the track between 1020 and 1030 ft.
  for (double feet : {1021.0, 1025.0, 1029.0}) {
    EXPECT_FALSE(ColourBetween(kGreen, layout_.TrackLeft(0), layout_.TrackLeft(1), RowOf(feet))) << feet;
  }
}

TEST_F(Picture, LogDecadesAndDepthLinesAreOnTheGrid) {
  Render(1000, 1100);
  auto grey = [&](double x, int row) {
    QColor seen = image_.pixelColor(static_cast<int>(x), row);
    return seen.red() == seen.green() && seen.green() == seen.blue() && seen.red() < 250;
  };
  int row = RowOf(1003.5);  // between depth lines (a foot apart here)
  for (double decade : {1.0, 10.0, 100.0, 1000.0}) {
    EXPECT_TRUE(grey(XOf(2, decade), row)) << decade;
  }
  EXPECT_FALSE(grey(XOf(2, 15), row)) << "no line between 10 and 20";
  // At 1:240-like zoom here (100 ft in the body), depth lines every 10 ft
  // are labelled; the line at 1050 ft crosses the log track.
  EXPECT_TRUE(grey(XOf(2, 15), static_cast<int>(axis_.Row(1050 * 6000))));
}

TEST_F(Picture, TheHeaderTellsNamesUnitsAndScaleEnds) {
  Render(1000, 1100);
  auto find = [&](const QString& text, size_t track) -> const LaidText* {
    for (const LaidText& laid : layout_.texts) {
      if (laid.text == text && laid.box.left() >= layout_.TrackLeft(track) &&
          laid.box.right() <= layout_.TrackLeft(track + 1)) {
        return &laid;
      }
    }
    return nullptr;
  };
  struct Case {
    const char* text;
    size_t track;
    int alignment;
  } cases[] = {
      {"GR  GAPI", 0, Qt::AlignHCenter}, {"0", 0, Qt::AlignLeft},      {"150", 0, Qt::AlignRight},
      {"DEPTH", 1, Qt::AlignHCenter},    {"FT", 1, Qt::AlignHCenter},  {"ILD  OHMM", 2, Qt::AlignHCenter},
      {"0.2", 2, Qt::AlignLeft},         {"2000", 2, Qt::AlignRight},  {"0.45", 3, Qt::AlignLeft},
      {"-0.15", 3, Qt::AlignRight},
  };
  for (const Case& c : cases) {
    const LaidText* laid = find(c.text, c.track);
    ASSERT_NE(laid, nullptr) << c.text;
    EXPECT_TRUE(laid->alignment & c.alignment) << c.text;
    EXPECT_LT(laid->box.bottom(), layout_.body.top()) << c.text;
  }
  // Each text is really drawn: ink inside its box.
  const LaidText* name = find("GR  GAPI", 0);
  bool ink = false;
  for (int x = static_cast<int>(name->box.left()); x < name->box.right() && !ink; ++x) {
    for (int y = static_cast<int>(name->box.top()); y < name->box.bottom(); ++y) {
      ink = ink || image_.pixelColor(x, y) != Qt::white;
    }
  }
  EXPECT_TRUE(ink);
}

TEST_F(Picture, CurvesOfOtherStepsAndExtentsShareTheAxisAndShadingKeepsItsSide) {
  // A fine curve (a tenth of a foot) from 1040 to 1060 ft only.
  auto fine = MakeCurve("SP", "MV", std::vector<float>(201, 30), 600);
  fine->top = 1040 * 6000;
  CurveStyle style = Style("SP", ScaleKind::kLinear, 0, 150, kGreen);
  style.fillValue = 75;
  style.fillSide = FillSide::kLeft;
  style.fillColour = kGold;
  model_.presentation.tracks[0].curves.push_back(style);
  model_.data[0].push_back(fine.get());
  curves_.push_back(std::move(fine));
  Render(1000, 1100);
  EXPECT_TRUE(ColourNear(kGreen, XOf(0, 30), RowOf(1050)));
  EXPECT_FALSE(ColourNear(kGreen, XOf(0, 30), RowOf(1035)));
  EXPECT_FALSE(ColourNear(kGreen, XOf(0, 30), RowOf(1065)));
  // Shaded between 30 and 75, where the curve lies left of the value.
  double between = (XOf(0, 35) + XOf(0, 70)) / 2;
  EXPECT_TRUE(ColourNear(kGold, between, RowOf(1050), 0));
  EXPECT_FALSE(ColourNear(kGold, between, RowOf(1035), 0));
  EXPECT_FALSE(ColourBetween(kGold, XOf(0, 80), layout_.TrackLeft(1), RowOf(1050)));
}

TEST(Trace, ALongCurveIsAFewPointsARowAndKeepsItsExtremes) {
  // Two million samples swinging between 10 and 90 in 1,000 rows.
  std::vector<float> values(2'000'000);
  for (size_t k = 0; k < values.size(); ++k) values[k] = k % 7 == 0 ? 10.0F : k % 7 == 3 ? 90.0F : 50.0F;
  values[1'000'000] = kNaN;
  SampleRun run{values.data(), static_cast<int64_t>(values.size()), 0, 10};
  DepthAxis axis(0, 0, 1000.0 / (10.0 * values.size()));
  Across across{{ScaleKind::kLinear, 0, 100}, 0, 100};
  std::vector<QPolygonF> lines = TraceCurve(run, axis, 0, 1000, across);
  ASSERT_EQ(lines.size(), 2u) << "the missing sample splits the line";
  size_t points = 0;
  double low = 1e9, high = -1e9;
  for (const QPolygonF& line : lines) {
    points += line.size();
    for (const QPointF& point : line) {
      low = std::min(low, point.x());
      high = std::max(high, point.x());
      EXPECT_GE(point.y(), 0);
      EXPECT_LE(point.y(), 1001);
    }
  }
  EXPECT_LE(points, 4u * 1001);
  EXPECT_GE(points, 1000u);
  EXPECT_DOUBLE_EQ(low, 10);
  EXPECT_DOUBLE_EQ(high, 90);
}

}  // namespace
}  // namespace tavlo
