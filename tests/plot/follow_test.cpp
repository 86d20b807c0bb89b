// Reading a plot from a real database: curves named relative to the data
// set, the run's settings and presentation, the automatic layout when the
// presentation is missing, and following a writer in another connection.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cstring>
#include <fstream>

#include "libs/dorvex/curve_info.h"
#include "plot/live_follower.h"
#include "plot/plot_opening.h"
#include "tests/support/temp_folder.h"

namespace tavlo {
namespace {

using namespace dorvex;

constexpr int32_t kTop = 1000 * 6000;
constexpr int32_t kStep = 3000;

class PlotDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DorvexInitializeAt(writer_, folder_.path()), 1);
    file_ = DorvexDatabaseFile(writer_, "WELL");
    ASSERT_EQ(DorvexCreateDatabase(writer_, file_), 0);
    ASSERT_EQ(DorvexOpenDatabase(writer_, file_, 0, &database_), 0);
    ASSERT_EQ(DorvexInitializeAt(reader_, folder_.path()), 1);
  }

  // A curve planned for `planned` samples with the first `count` written;
  // it stays open for writing more.
  uint32_t Write(const std::string& path, const char* units, int planned, int count, float value) {
    CurveInfo info = SampleCurveInfo("test", 0, false, DorvexUnitCode(writer_, units), kTop,
                                     kTop + (planned - 1) * kStep, kStep);
    uint32_t curve = 0;
    EXPECT_EQ(DorvexCreateCurve(writer_, database_, path, sizeof info, &info), 0);
    EXPECT_EQ(DorvexOpenCurve(writer_, database_, path, &curve, kDorvexWrite, nullptr), 0);
    std::vector<float> values(static_cast<size_t>(count), value);
    EXPECT_EQ(DorvexWriteSamples(writer_, curve, kTop, count, values.data()), 0);
    EXPECT_EQ(DorvexFlush(writer_, curve), 0);
    return curve;
  }

  void WriteDefaults(const std::string& dataSet, const char* presentation,
                     int32_t runBottom = kTop + 9 * kStep) {
    CurveInfo info = EmptyCurveInfo();
    info.elementSize = sizeof(RunDefaults);
    info.step = 100;
    info.typeA = 10;
    info.typeB = 3;
    RunDefaults defaults{};
    defaults.flags = kRunDepthMetric;
    defaults.scale = 500;
    defaults.runTop = kTop;
    defaults.runBottom = runBottom;
    std::strncpy(defaults.presentation, presentation, sizeof defaults.presentation - 1);
    uint32_t item = 0;
    std::string path = dataSet + "/_defaults_/1";
    ASSERT_EQ(DorvexCreateCurve(writer_, database_, path, sizeof info, &info), 0);
    ASSERT_EQ(DorvexOpenCurve(writer_, database_, path, &item, kDorvexWrite, nullptr), 0);
    ASSERT_EQ(DorvexWriteSamples(writer_, item, 0, 1, &defaults), 0);
    ASSERT_EQ(DorvexCloseCurve(writer_, item), 0);
  }

  test_support::TempFolder folder_{"tavlo_plot"};
  DorvexLibrary writer_;
  DorvexLibrary reader_;
  std::string file_;
  uint32_t database_ = 0;
};

TEST_F(PlotDatabase, ARunsDataSetOpensWithItsSettingsAndCurvesBesideIt) {
  ASSERT_EQ(DorvexCloseCurve(writer_, Write("/F/L/W/LOGS/GR/1", "GAPI", 10, 10, 50)), 0);
  ASSERT_EQ(DorvexCloseCurve(writer_, Write("/F/L/W/LOGS/GR/2", "GAPI", 10, 10, 60)), 0);
  ASSERT_EQ(DorvexCloseCurve(writer_, Write("/F/L/W/_qxj1_/VSH/1", "V/V", 10, 10, 0.3F)), 0);
  WriteDefaults("/F/L/W/_qxj1_", "MAIN.PRS");
  std::ofstream(folder_.File("plots/main.prs")) << "[Track]\n[Curve LOGS/GR]\n[Curve LOGS/GR/1]\n"
                                                   "[Curve VSH]\n[Curve NOPE]\n";
  OpenedPlot opened = OpenPlot(reader_, {"WELL", "/F/L/W/_qxj1_", "", std::nullopt});
  ASSERT_EQ(opened.failure, OpenFailure::kNone) << opened.message.toStdString();
  const PlotModel& model = opened.model;
  EXPECT_EQ(model.unit.label, "M") << "the run's metric depths";
  EXPECT_EQ(model.scale, 500);
  ASSERT_TRUE(opened.runInterval);
  EXPECT_EQ(opened.runInterval->second, kTop + 9 * kStep);
  ASSERT_EQ(model.data[0].size(), 4u);
  EXPECT_EQ(model.data[0][0]->path, "/F/L/W/LOGS/GR/2") << "the highest pass";
  EXPECT_EQ(model.data[0][0]->samples[9], 60);
  EXPECT_EQ(model.data[0][1]->path, "/F/L/W/LOGS/GR/1");
  EXPECT_EQ(model.data[0][2]->units, "V/V");
  EXPECT_EQ(model.data[0][3], nullptr);
  EXPECT_EQ(model.messages.join("|"), "Curve NOPE not found beside /F/L/W/_qxj1_.");
}

TEST_F(PlotDatabase, AMissingPresentationGivesTheAutomaticLayoutAndWrongPlacesAreTold) {
  ASSERT_EQ(DorvexCloseCurve(writer_, Write("/F/L/W/LOGS/ILD/1", "OHMM", 10, 10, 20)), 0);
  WriteDefaults("/F/L/W/LOGS", "GONE.PRS");
  OpenedPlot opened = OpenPlot(reader_, {"WELL", "/F/L/W/LOGS", "", std::nullopt});
  ASSERT_EQ(opened.failure, OpenFailure::kNone);
  EXPECT_TRUE(opened.presentationFailed);
  EXPECT_TRUE(opened.model.messages.join("|").startsWith("Presentation GONE.PRS not found in "));
  ASSERT_EQ(opened.model.presentation.tracks.size(), 2u);
  EXPECT_EQ(opened.model.presentation.tracks[0].curves[0].scale.kind, ScaleKind::kLogarithmic);

  OpenedPlot noSet = OpenPlot(reader_, {"WELL", "/F/L/W/NONE", "", std::nullopt});
  EXPECT_EQ(noSet.failure, OpenFailure::kDataSet);
  EXPECT_EQ(noSet.message.toStdString(), "no data set /F/L/W/NONE in " + file_);
  OpenedPlot curve = OpenPlot(reader_, {"WELL", "/F/L/W/LOGS/ILD", "", std::nullopt});
  EXPECT_EQ(curve.failure, OpenFailure::kDataSet) << "a curve is no data set";
  OpenedPlot noDatabase = OpenPlot(reader_, {"GONE", "/F/L/W/LOGS", "", std::nullopt});
  EXPECT_EQ(noDatabase.failure, OpenFailure::kDatabase);
  EXPECT_EQ(noDatabase.message.toStdString(), "no database " + folder_.path() + "/db/GONE.db");
}

TEST_F(PlotDatabase, TheFollowerTakesOnlyWhatTheWriterCommits) {
  uint32_t curve = Write("/F/L/W/_qxj1_/GR/1", "GAPI", 10000, 100, 1);
  WriteDefaults("/F/L/W/_qxj1_", "", kTop + 10000 * kStep);  // the run's end
  OpenedPlot opened = OpenPlot(reader_, {"WELL", "/F/L/W/_qxj1_", "", std::nullopt});
  ASSERT_EQ(opened.failure, OpenFailure::kNone);
  const LogCurve* read = opened.model.data[0][0];
  ASSERT_EQ(read->samples.size(), 100u);
  EXPECT_FALSE(read->Complete());
  LiveFollower follower(*opened.data);
  QSignalSpy grew(&follower, &LiveFollower::Grew);
  EXPECT_FALSE(follower.Look()) << "nothing committed since";

  std::vector<float> more(9900, 2);
  ASSERT_EQ(DorvexWriteSamples(writer_, curve, kTop + 100 * kStep, 9900, more.data()), 0);
  EXPECT_EQ(DorvexCloseCurve(writer_, curve), 0);
  EXPECT_TRUE(follower.Look());
  EXPECT_EQ(grew.count(), 1);
  ASSERT_EQ(read->samples.size(), 10000u);
  EXPECT_EQ(read->samples[99], 1);
  EXPECT_EQ(read->samples[100], 2);
  EXPECT_TRUE(read->Complete());
  EXPECT_FALSE(follower.Look());
  EXPECT_EQ(grew.count(), 1);
}

}  // namespace
}  // namespace tavlo
