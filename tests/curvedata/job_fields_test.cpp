#include "curvedata/job_fields.h"

#include <gtest/gtest.h>

#include "curvedata/context.h"
#include "curvedata/controls.h"
#include "curvedata/recording_screen.h"

namespace {

TEST(JobFields, ClearEmptiesSourcesAndResetsScale) {
  RecordingScreen screen;
  Context context(screen);
  Job& job = context.job;
  job.filePath = "/jobs/a.qxj";
  job.presentation = "plot.prs";
  job.scale = 500;
  job.input = {"/db/W.db", "/a/b/c/d"};
  job.destination = {"/db/W.db", "/a/b/c/e"};
  job.intervalFrom = 100;
  job.intervalTo = 200;
  screen.SetText(control::kPresentation, "plot.prs");
  screen.SetText(control::kScale, "500");
  ClearJobFields(context);
  EXPECT_EQ(job.presentation, "");
  EXPECT_EQ(job.scale, 240.0);
  EXPECT_FALSE(job.input.chosen());
  EXPECT_FALSE(job.destination.chosen());
  EXPECT_EQ(job.filePath, "/jobs/a.qxj") << "the job file path stays";
  EXPECT_EQ(job.intervalFrom, 100) << "the interval stays";
  EXPECT_EQ(job.intervalTo, 200);
  EXPECT_EQ(screen.Text(control::kPresentation), "");
  EXPECT_EQ(screen.Text(control::kInputSource), "");
  EXPECT_EQ(screen.Text(control::kDestination), "");
  EXPECT_EQ(screen.Text(control::kScale), "240");
}

TEST(JobFields, ScaleRulesDifferForRunAndSave) {
  struct Case {
    const char* text;
    double run;
    double save;
  } cases[] = {
      {"500", 500, 500}, {"-5", 240, -5}, {"0", 240, 240},   {"", 240, 240},
      {"abc", 240, 240}, {"0.5", 0.5, 0.5}, {"12x", 12, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleForRun(c.text), c.run) << c.text;
    EXPECT_EQ(ScaleForSave(c.text), c.save) << c.text;
  }
}

}  // namespace
