// Interval values between the text the user types or sees and index units:
// the factor and unit labels each run mode and metric setting choose, the
// reading of awkward and out-of-range numbers, and the two-decimal display.
#include "curvedata/index_value.h"

#include <cstdio>
#include <cstdlib>

#include "model/controls.h"
#include "tests/curvedata/binding_fixture.h"

namespace quillex {

namespace {

using IndexValueTest = BindingTest;

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
    UseSettings("Metric=" + std::to_string(c.metricSetting));
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
      {"1.5", 19685, 29527}, {" \t1.5  ", 19685, 29527},  // truncated, not rounded
      {"-1.5", 19685, -29527},                             // toward zero, not down
      {"1.15", 100, 114}, {"-1.15", 100, -114},            // 114.99999999999999 in binary
      {"1.15", 6000, 6899}, {"0.1", 6000, 600}, {"2.5", 100, 250},
      {"", 6000, IndexUnset}, {"   ", 6000, IndexUnset}, {"  *12", 6000, IndexUnset},
      {"abc", 6000, 0}, {"12abc", 6000, 72000}, {"1,5", 6000, 6000},  // a comma is no point
      {"+2", 6000, 12000}, {".5", 6000, 3000}, {"-.5", 6000, -3000}, {"5.", 100, 500},
      {".", 6000, 0}, {"-", 6000, 0}, {"+-1", 6000, 0}, {"1e2", 100, 10000}, {"2.5E-1", 100, 25},
      {"inf", 6000, 0}, {"nan", 6000, 0}, {"0x10", 6000, 0}, {"178956.8", 6000, 1073740799},
      {"178956.9", 6000, IndexLimit - 1},   // exactly IndexLimit
      {"-178956.9", 6000, IndexUnset + 1},  // exactly IndexUnset
      {"5000000", 19685, IndexLimit - 1},   // beyond 32 bits
      {"1e400", 6000, IndexLimit - 1}, {"-1e400", 6000, IndexUnset + 1},  // beyond doubles
      {"1e99999999999999999999", 6000, IndexLimit - 1}, {"1e-400", 6000, 0},
      {tinyWithoutExponent, 6000, 0}, {hugeWithoutExponent, 6000, IndexLimit - 1},
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
  } cases[] = {  // values within 200 units each way are read back in the test below
      {IndexUnset, 6000, "*"},         {29527, 19685, "1.50"},
      {IndexLimit, 6000, "178956.90"}, {IndexLimit, 100, "10737414.00"},
      {IndexUnset + 1, 100, "-10737413.99"},
  };
  for (const Case& c : cases) {
    context_.indexFactor = c.factor;
    EXPECT_EQ(IndexToText(context_, c.index), c.text) << c.index << " at " << c.factor;
  }

  // A factor not yet set is set first, which redisplays the interval.
  context_.indexFactor = 0;
  context_.runMode = 0;
  EXPECT_EQ(IndexToText(context_, 150), "1.50");
  EXPECT_EQ(context_.indexFactor, 100);
  EXPECT_EQ(screen_.Text(control::kFromUnits), "s");
  EXPECT_EQ(screen_.Text(control::kIntervalFrom), "*");
}

}  // namespace

}  // namespace quillex
