#include "curvedata/dorvex_sample_reader.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "curvedata/curve_info.h"
#include "job/job.h"
#include "job/run_state.h"
#include "libs/dorvex/dorvex.h"

namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr double kUntouched = -777.0;

// A database on a home folder of its own, with a finished curve stored in
// metres: 1.0, 2.5, -3.0, 10.0 and 0.3048 every 100 index units from 0.
class DorvexSampleReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillex_reader_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
    ASSERT_EQ(DorvexInitializeAt(library_, home_), 1);
    std::string file = DorvexDatabaseFile(library_, "WELL");
    ASSERT_EQ(DorvexCreateDatabase(library_, file), 0);
    ASSERT_EQ(DorvexOpenDatabase(library_, file, 0, &database_), 0);
    uint32_t writer = CreateCurve("/L1/L2/L3/SET/DEPTH/1", stored_);
    ASSERT_NE(writer, 0U);
    DorvexCloseCurve(library_, writer);
    ASSERT_EQ(DorvexOpenCurve(library_, database_, "/L1/L2/L3/SET/DEPTH/*", &node_.curve,
                              kDorvexRead, nullptr), 0);
  }

  void TearDown() override {
    DorvexCloseDatabase(library_, database_);
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
  }

  // A curve in metres from index 0 every 100, left open for writing.
  uint32_t CreateCurve(const std::string& path, const std::vector<float>& values) {
    int32_t bottom = values.empty() ? 0 : static_cast<int32_t>(values.size() - 1) * 100;
    CurveInfo info = SampleCurveInfo("in metres", 0, false, kUnitMetres, 0, bottom, 100);
    uint32_t curve = 0;
    if (DorvexCreateCurve(library_, database_, path, kDorvexCurveInfoSize, &info) != 0 ||
        DorvexOpenCurve(library_, database_, path, &curve, kDorvexWrite, &info) != 0) {
      return 0;
    }
    auto count = static_cast<int32_t>(values.size());
    if (count > 0 && DorvexWriteSamples(library_, curve, 0, count, values.data()) != 0) return 0;
    return curve;
  }

  std::string home_;
  DorvexLibrary library_;
  DorvexSampleReader reader_{library_};
  uint32_t database_ = 0;
  std::vector<float> stored_ = {1.0F, 2.5F, -3.0F, 10.0F, 0.3048F};
  VariableBinding node_;
};

TEST_F(DorvexSampleReaderTest, ReadsSamplesConvertedToTheFormulaUnits) {
  node_.conversion = DorvexMakeConversion(library_, kUnitMetres, kUnitFeet);
  ASSERT_NE(node_.conversion, 0U);
  struct Case {
    int32_t index;
    double metres;
  } cases[] = {
      {0, 1.0},     {100, 2.5},    {200, -3.0}, {400, static_cast<double>(0.3048F)},
      {50, 1.75},   // between two samples
      {-500, 1.0},  // above the top of a finished curve: the top sample
      {900, static_cast<double>(0.3048F)},
  };
  for (const Case& c : cases) {
    double value = kUntouched;
    EXPECT_EQ(reader_.ReadSample(node_, c.index, &value), 0) << c.index;
    EXPECT_DOUBLE_EQ(value, c.metres / kMetresPerFoot) << c.index;
  }
}

TEST_F(DorvexSampleReaderTest, WithoutConversionGivesTheStoredValue) {
  for (size_t i = 0; i < stored_.size(); ++i) {
    double value = kUntouched;
    ASSERT_EQ(reader_.ReadSample(node_, static_cast<int32_t>(i) * 100, &value), 0);
    EXPECT_EQ(value, static_cast<double>(stored_[i]));
  }
}

TEST_F(DorvexSampleReaderTest, ASampleNotYetRecordedIsReportedAndLeavesTheValue) {
  uint32_t recording = CreateCurve("/L1/L2/L3/SET/GR/1", {4.0F, 5.0F});
  ASSERT_NE(recording, 0U);
  ASSERT_EQ(DorvexSetRecording(library_, recording, true), 0);
  node_.curve = recording;
  double value = kUntouched;
  EXPECT_EQ(reader_.ReadSample(node_, 100, &value), 0);
  EXPECT_EQ(value, 5.0);
  value = kUntouched;
  EXPECT_EQ(reader_.ReadSample(node_, 200, &value), kStatusNotYetAvailable);
  EXPECT_EQ(value, kUntouched);
}

TEST_F(DorvexSampleReaderTest, AReadThatFailsIsReportedAndLeavesTheValue) {
  uint32_t closed = node_.curve;
  DorvexCloseCurve(library_, closed);
  for (uint32_t curve : {closed, 0U, 9999U}) {
    node_.curve = curve;
    double value = kUntouched;
    int result = reader_.ReadSample(node_, 0, &value);
    EXPECT_NE(result, 0) << curve;
    EXPECT_NE(result, kStatusNotYetAvailable) << curve;
    EXPECT_EQ(value, kUntouched) << curve;
  }
}

}  // namespace
