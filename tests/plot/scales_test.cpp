// Scales across a track, the depth grid down it, and where the automatic
// layout puts the common curves.
#include <gtest/gtest.h>

#include <cmath>

#include "plot/automatic_layout.h"
#include "plot/depth_axis.h"
#include "plot/value_scale.h"

namespace tavlo {
namespace {

TEST(ValueScale, FractionsAcrossTheTrack) {
  struct Case {
    const char* name;
    ValueScale scale;
    double value, fraction;
  } cases[] = {
      {"linear middle", {ScaleKind::kLinear, 0, 150}, 75, 0.5},
      {"linear beyond the right end", {ScaleKind::kLinear, 0, 150}, 300, 2.0},
      {"reversed neutron", {ScaleKind::kLinear, 0.45, -0.15}, 0.15, 0.5},
      {"reversed, left end", {ScaleKind::kLinear, 0.45, -0.15}, 0.45, 0.0},
      {"log, second decade of four", {ScaleKind::kLogarithmic, 0.2, 2000}, 2, 0.25},
      {"log, 20 at the middle", {ScaleKind::kLogarithmic, 0.2, 2000}, 20, 0.5},
      {"log reversed", {ScaleKind::kLogarithmic, 1000, 1}, 10, 2.0 / 3},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(c.scale.Fraction(c.value), c.fraction, 1e-12) << c.name;
    EXPECT_NEAR(c.scale.ValueAt(c.fraction), c.value, 1e-9) << c.name;
  }
  EXPECT_TRUE(std::isinf(ValueScale{ScaleKind::kLogarithmic, 0.2, 2000}.Fraction(0)));
  EXPECT_FALSE((ValueScale{ScaleKind::kLogarithmic, 0, 100}.IsValid()));
  EXPECT_FALSE((ValueScale{ScaleKind::kLinear, 5, 5}.IsValid()));
}

TEST(ValueScale, GridLinesAcrossTheTrack) {
  TrackGrid linear = LinearGrid(10);
  EXPECT_EQ(linear.thin.size(), 8u);
  ASSERT_EQ(linear.heavy.size(), 1u);
  EXPECT_DOUBLE_EQ(linear.heavy[0], 0.5);
  // 0.2 to 2000: heavy at 1, 10, 100, 1000; thin at 0.3 ... 0.9, 2 ... 9,
  // and so on (0.2 is the edge).
  TrackGrid log = LogarithmicGrid({ScaleKind::kLogarithmic, 0.2, 2000});
  ASSERT_EQ(log.heavy.size(), 4u);
  EXPECT_NEAR(log.heavy[0], std::log10(5) / 4, 1e-9);
  EXPECT_NEAR(log.heavy[3], (std::log10(5000)) / 4, 1e-9);
  EXPECT_EQ(log.thin.size(), 7u + 8 + 8 + 8);  // 0.3-0.9, 2-9, 20-90, 200-900; 2000 is the edge
}

TEST(DepthAxis, GridStepsAndLabelsFollowTheZoom) {
  struct Case {
    double pixelsPerUnit;
    double thin, heavy, labelled;
  } cases[] = {
      {4.8, 2, 10, 10},        // 1:240 in feet at 96 to the inch
      {0.96, 10, 50, 50},      // 1:1200
      {48, 0.2, 1, 1},         // zoomed in: tenths of a foot
      {0.01, 500, 5000, 5000}, // a whole well in a few hundred rows
  };
  for (const Case& c : cases) {
    DepthGrid grid = ChooseDepthGrid(c.pixelsPerUnit);
    EXPECT_DOUBLE_EQ(grid.thin, c.thin) << c.pixelsPerUnit;
    EXPECT_DOUBLE_EQ(grid.heavy, c.heavy) << c.pixelsPerUnit;
    EXPECT_DOUBLE_EQ(grid.labelled, c.labelled) << c.pixelsPerUnit;
  }
  EXPECT_EQ(DepthLabel(5550, 10), "5550");
  EXPECT_EQ(DepthLabel(1234.5, 0.5), "1234.5");
  EXPECT_EQ(GridValues(5401, 5430, 10), (std::vector<double>{5410, 5420, 5430}));
  // 1:240 in feet and 1:200 in metres at 96 pixels to the inch.
  EXPECT_DOUBLE_EQ(PixelsPerIndex(240, false) * 6000, 4.8);
  EXPECT_NEAR(PixelsPerIndex(200, false) * 19685, 96 / 0.0254 / 200, 1e-3);
  EXPECT_DOUBLE_EQ(ScaleOf(PixelsPerIndex(500, false), false), 500);
}

TEST(AutomaticLayout, TheCommonCurvesGoWhereAnalystsLookForThem) {
  using D = dorvex::UnitDimension;
  Presentation layout = AutomaticLayout({{"DT", "US/F", D::kSlowness},
                                         {"SP", "MV", D::kPotential},
                                         {"ILD", "OHMM", D::kResistivity},
                                         {"NPHI", "PU", D::kFraction},
                                         {"CALI", "IN", D::kLength},
                                         {"GR", "GAPI", D::kGammaRay},
                                         {"RHOB", "G/C3", D::kDensity},
                                         {"MSFL", "OHMM", D::kResistivity},
                                         {"XYZ", "", D::kUnknown}});
  auto names = [&](size_t track) {
    QStringList list;
    for (const CurveStyle& curve : layout.tracks[track].curves) list << curve.curve;
    return list.join(",");
  };
  ASSERT_EQ(layout.tracks.size(), 5u);
  EXPECT_EQ(names(0), "GR,CALI,SP");
  EXPECT_EQ(layout.tracks[1].kind, TrackKind::kDepth);
  EXPECT_EQ(names(2), "ILD,MSFL");
  EXPECT_EQ(layout.tracks[2].grid, GridKind::kLogarithmic);
  EXPECT_EQ(layout.tracks[2].curves[0].scale.kind, ScaleKind::kLogarithmic);
  EXPECT_EQ(names(3), "RHOB,NPHI");
  EXPECT_EQ(layout.tracks[3].curves[1].scale.left, 45) << "porosity units are percent";
  EXPECT_EQ(layout.tracks[3].curves[1].scale.right, -15);
  EXPECT_EQ(names(4), "DT,XYZ");
  EXPECT_TRUE(layout.tracks[4].curves[1].fitToData);
  EXPECT_EQ(MnemonicOf("LOGS/GR/2"), "GR");
  ValueScale fitted = FittedScale(12.3, 87.6);
  EXPECT_DOUBLE_EQ(fitted.left, 10);
  EXPECT_DOUBLE_EQ(fitted.right, 90);
}

}  // namespace
}  // namespace tavlo
