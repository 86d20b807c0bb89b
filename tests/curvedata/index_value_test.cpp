#include "curvedata/index_value.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "curvedata/context.h"
#include "curvedata/controls.h"
#include "curvedata/recording_screen.h"

namespace {

// A context whose library starts on a home folder of its own, with the
// metric setting written into the library's settings file.
class IndexValueTest : public ::testing::Test {
 protected:
  void StartLibrary(int metric) {
    char pattern[] = "/tmp/quillex_index_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
    std::filesystem::create_directories(home_ + "/jobs");
    std::ofstream(home_ + "/jobs/corvane.ini") << "[Corvane]\nMetric=" << metric << "\n";
    ASSERT_EQ(DorvexInitializeAt(context_.dorvex, home_), 1);
  }

  void TearDown() override {
    std::error_code ignored;
    if (!home_.empty()) std::filesystem::remove_all(home_, ignored);
  }

  RecordingScreen screen_;
  Context context_{screen_};
  std::string home_;
};

TEST_F(IndexValueTest, FactorAndLabelFollowRunModeAndMetricSetting) {
  struct Case {
    int metricSetting;
    int32_t runMode;
    int32_t factor;
    bool metric;
    const char* label;
    const char* from;  // 59055 index units: 3 m, 9.8425 ft, 590.55 s
  } cases[] = {
      {0, 1, 6000, false, "ft", "9.84"}, {1, 1, 19685, true, "m", "3.00"},
      {0, 0, 100, false, "s", "590.55"}, {1, 0, 100, true, "s", "590.55"},
      {2, 1, 6000, false, "ft", "9.84"},  // only 1 means metres
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "metric " << c.metricSetting << " mode " << c.runMode);
    StartLibrary(c.metricSetting);
    context_.runMode = c.runMode;
    context_.job.intervalFrom = 59055;
    context_.job.intervalTo = IndexUnset;
    SetIndexFactor(context_);
    EXPECT_EQ(context_.indexFactor, c.factor);
    EXPECT_EQ(context_.metric, c.metric);
    EXPECT_EQ(screen_.Text(control::kFromUnits), c.label);
    EXPECT_EQ(screen_.Text(control::kToUnits), c.label);
    EXPECT_EQ(screen_.Text(control::kIntervalFrom), c.from);
    EXPECT_EQ(screen_.Text(control::kIntervalTo), "*");
    TearDown();
  }
}

TEST_F(IndexValueTest, TextToIndexReadsTheLeadingDecimalNumber) {
  const std::string tinyWithoutExponent = "0." + std::string(400, '0') + "1";
  const std::string hugeWithoutExponent = "1" + std::string(400, '0');
  struct Case {
    std::string text;
    int32_t factor;
    int32_t index;
  } cases[] = {
      {"1.5", 19685, 29527},  // truncated, not rounded
      {" \t1.5  ", 19685, 29527},
      {"-1.5", 19685, -29527},  // toward zero, not down
      {"", 6000, IndexUnset},
      {"   ", 6000, IndexUnset},
      {"*", 6000, IndexUnset},
      {"  *12", 6000, IndexUnset},
      {"1.15", 100, 115},  // 114.99999999999999 in binary
      {"-1.15", 100, -115},
      {"0.29", 100, 29},
      {"abc", 6000, 0},
      {"12abc", 6000, 72000},
      {"1,5", 6000, 6000},  // a comma is no decimal point
      {"+2", 6000, 12000},
      {".5", 6000, 3000},
      {"-.5", 6000, -3000},
      {"5.", 100, 500},
      {".", 6000, 0},
      {"-", 6000, 0},
      {"+-1", 6000, 0},
      {"1e2", 100, 10000},
      {"2.5E-1", 100, 25},
      {"inf", 6000, 0},
      {"nan", 6000, 0},
      {"0x10", 6000, 0},
      {"178956.8", 6000, 1073740800},
      {"178956.9", 6000, IndexLimit - 1},    // exactly IndexLimit
      {"-178956.9", 6000, IndexUnset + 1},   // exactly IndexUnset
      {"5000000", 19685, IndexLimit - 1},    // beyond 32 bits
      {"-5000000", 19685, IndexUnset + 1},
      {"1e300", 6000, IndexLimit - 1},
      {"1e400", 6000, IndexLimit - 1},       // beyond double range
      {"-1e400", 6000, IndexUnset + 1},
      {"1e99999999999999999999", 6000, IndexLimit - 1},
      {"1e-400", 6000, 0},
      {tinyWithoutExponent, 6000, 0},
      {hugeWithoutExponent, 6000, IndexLimit - 1},
  };
  for (const Case& c : cases) {
    context_.indexFactor = c.factor;
    EXPECT_EQ(TextToIndex(context_, c.text), c.index) << '"' << c.text << "\" at " << c.factor;
  }
}

TEST_F(IndexValueTest, IndexToTextShowsTwoDecimalsOfDisplayedUnits) {
  struct Case {
    int32_t index;
    int32_t factor;
    const char* text;
  } cases[] = {
      {IndexUnset, 6000, "*"},           {0, 6000, "0.00"},
      {29527, 19685, "1.50"},            {-3000, 6000, "-0.50"},
      {1, 100, "0.01"},                  {-59055, 19685, "-3.00"},
      {IndexLimit, 6000, "178956.90"},   {IndexLimit, 100, "10737414.00"},
      {IndexUnset + 1, 100, "-10737413.99"},
  };
  for (const Case& c : cases) {
    context_.indexFactor = c.factor;
    EXPECT_EQ(IndexToText(context_, c.index), c.text) << c.index << " at " << c.factor;
  }
}

TEST_F(IndexValueTest, IndexToTextSetsAnUnsetFactorFirst) {
  context_.runMode = 0;
  EXPECT_EQ(IndexToText(context_, 150), "1.50");
  EXPECT_EQ(context_.indexFactor, 100);
  EXPECT_EQ(screen_.Text(control::kFromUnits), "s");
  EXPECT_EQ(screen_.Text(control::kIntervalFrom), "*") << "the interval is redisplayed";
}

// What the interval fields show is read back at the next run: every
// two-decimal value must survive the trip through an index in every unit.
TEST_F(IndexValueTest, ShownValuesReadBackAsShown) {
  for (int32_t factor : {100, 6000, 19685}) {
    context_.indexFactor = factor;
    for (int32_t hundredths = -20000; hundredths <= 20000; ++hundredths) {
      int32_t whole = std::abs(hundredths) / 100;
      int32_t part = std::abs(hundredths) % 100;
      std::string text = std::string(hundredths < 0 ? "-" : "") + std::to_string(whole) + "." +
                         (part < 10 ? "0" : "") + std::to_string(part);
      int32_t index = TextToIndex(context_, text);
      ASSERT_EQ(IndexToText(context_, index), text) << "at " << factor;
      if (factor == 100) {
        ASSERT_EQ(index, hundredths) << text;
      }
    }
  }
}

}  // namespace
