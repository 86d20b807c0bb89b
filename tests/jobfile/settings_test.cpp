// The program's settings and its command line.
#include "jobfile/settings.h"

#include "model/controls.h"
#include "tests/jobfile/job_fixture.h"

namespace quillex {

namespace {

// Missing settings give depth and the scale of the depth units; those there
// are read, and written back with the rest of the file untouched.
TEST_F(JobFileTest, SettingsAreReadWithDefaultsAndWrittenBack) {
  context_.job.intervalFrom = context_.job.intervalTo = 500;
  LoadSettings(context_, "");
  EXPECT_EQ(context_.runMode, 1);
  EXPECT_EQ(context_.job.scale, 240.0);
  EXPECT_EQ(context_.job.intervalFrom, IndexUnset);
  EXPECT_EQ(context_.job.intervalTo, IndexUnset);

  PutBytes(jobs_ + "corvane.ini",
           "[Corvane]\r\nMetric=0\r\n[Quillex]\r\nDrive= 0 \r\nScale=abc\r\nScript=old.qxj\r\n");
  LoadSettings(context_, "quillex");
  EXPECT_EQ(context_.runMode, 0);
  EXPECT_EQ(context_.indexFactor, 100) << "time labels";
  EXPECT_EQ(screen_.Text(control::kFromUnits), dorvex::DorvexUnitLabel(context_.dorvex, 70));
  EXPECT_EQ(context_.job.scale, 0.0) << "only an empty text takes the default";
  EXPECT_EQ(context_.job.filePath, "") << "Script is never reopened";

  context_.runMode = 1;
  context_.job.filePath = jobs_ + "now.qxj";
  SaveSettings(context_);
  EXPECT_EQ(Saved("corvane.ini"),
            "[Corvane]\r\nMetric=0\r\n[Quillex]\r\nDrive=1\r\nScale=abc\r\nScript=" + jobs_ +
                "now.qxj\r\n");

  PutBytes(jobs_ + "corvane.ini", "[Corvane]\r\nMetric=1\r\n");
  ASSERT_EQ(dorvex::DorvexInitializeAt(context_.dorvex, home_), 1);
  LoadSettings(context_, "");
  EXPECT_EQ(context_.job.scale, 200.0) << "metric depths";
}

TEST_F(JobFileTest, CommandLineNamesTheJob) {
  struct Case {
    std::string commandLine;
    std::string path;
  } cases[] = {
      {"quillex -args job1.qxj", jobs_ + "job1.qxj"},
      {"quillex -args " + jobs_ + "sub/b.qxj mode=1", jobs_ + "sub/b.qxj"},
      {"quillex -args \"my job.qxj\"", jobs_ + "my job.qxj"},
      {"quillex -args", ""},
      {"quillex -ARGS job1.qxj", ""},
      {"-args  x.qxj", jobs_ + "x.qxj"},
  };
  for (const Case& c : cases) {
    LoadSettings(context_, c.commandLine);
    EXPECT_EQ(context_.job.filePath, c.path) << c.commandLine;
  }
}

}  // namespace

}  // namespace quillex
