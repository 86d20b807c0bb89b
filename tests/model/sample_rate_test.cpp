#include "model/sample_rate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quillex {

namespace {

constexpr int32_t kFeet = 6000;
constexpr int32_t kMetres = 19685;

TEST(SampleRate, RateToStep) {
  struct Case {
    int32_t factor;
    double rate;
    int32_t step;
  } cases[] = {
      {kFeet, 4.0, 1500},
      {kFeet, 3.0, 2000},
      {kFeet, 7.0, 857},  // 6000 / 7 truncated toward zero
      {kFeet, 0.0, 1500},
      {kFeet, -2.0, 1500},
      {kFeet, std::nan(""), 1500},
      {kMetres, 10.0, 1968},
      {100, 0.5, 200},
      {kFeet, 1e-9, INT32_MAX},  // too coarse to sample: the largest step
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RateToStep(c.factor, c.rate), c.step) << c.factor << " at rate " << c.rate;
  }
}

TEST(SampleRate, StepToRateReadsZeroAsTheDefaultStep) {
  EXPECT_DOUBLE_EQ(StepToRate(kFeet, 0), 4.0);
  EXPECT_DOUBLE_EQ(StepToRate(kFeet, 1500), 4.0);
  EXPECT_DOUBLE_EQ(StepToRate(kFeet, 857), 6000.0 / 857);
  EXPECT_DOUBLE_EQ(StepToRate(kMetres, 0), 19685.0 / 1500);
}

TEST(SampleRate, OutputListLineLinesUpInColumns) {
  OutputDef output;
  output.name = "GR2";
  output.step = 1500;
  output.formula = "GR*2";
  EXPECT_EQ(OutputListLine(kFeet, output), "GR2        4     GR*2");
  output.name = "ABCDEFGHIJ";
  output.step = 857;
  output.formula = "A";
  EXPECT_EQ(OutputListLine(kFeet, output), "ABCDEFGHIJ 7.00117 A");
}

}  // namespace

}  // namespace quillex
