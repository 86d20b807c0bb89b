// The File menu's commands and the run option, driven through the screen
// port's scripted dialogs.
#include "jobfile/job_commands.h"

#include "model/controls.h"
#include "tests/jobfile/job_fixture.h"

namespace quillex {

namespace {

using JobCommandTest = JobFileTest;

const char kJob[] =
    "[Job]\r\nOption=0\r\n[1]\r\noutput=GR2,GAPI,0,d,1500\r\nformula=GR*2\r\n"
    "GRunits=GAPI\r\nGRpath=WELL: /A/B/C/D/GR\r\n";

TEST_F(JobCommandTest, OpenAsksForAJobAndStartsItWithoutSources) {
  PutBytes(jobs_ + "a.qxj", kJob);
  screen_.SetText(control::kPresentation, "OLD.PRS");
  OpenJob(context_);  // cancelled: an empty script
  EXPECT_TRUE(context_.job.outputs.empty());
  EXPECT_EQ(screen_.Text(control::kPresentation), "OLD.PRS");
  const FileDialogRequest& asked = screen_.fileDialogs().at(0);
  EXPECT_FALSE(asked.save);
  EXPECT_EQ(asked.title, "Select Quillex Job");
  EXPECT_EQ(asked.filterName, "Quillex Jobs");
  EXPECT_EQ(asked.pattern, "*.QXJ");
  EXPECT_EQ(asked.initialFolder, home_ + "/jobs");
  EXPECT_EQ(asked.fileName, "");
  EXPECT_TRUE(asked.mustExist);

  screen_.ScriptFileName(jobs_ + "a.qxj");
  OpenJob(context_);
  ASSERT_EQ(context_.job.outputs.size(), 1u);
  EXPECT_EQ(screen_.ListLines(control::kOutputList),
            std::vector<std::string>{"GR2        4     GR*2"});
  EXPECT_EQ(screen_.Text(control::kPresentation), "");
  EXPECT_EQ(Saved("a.qxj").find("GRpath=WELL"), std::string::npos)
      << "the sources are cleared in the file too";
}

TEST_F(JobCommandTest, SaveAsNewAndPresentation) {
  Load("a.qxj", kJob);
  screen_.ScriptFileName(jobs_ + "b.qxj");
  SaveJobAs(context_);
  const FileDialogRequest& saveAs = screen_.fileDialogs().back();
  EXPECT_TRUE(saveAs.save);
  EXPECT_EQ(saveAs.fileName, ".qxj");
  EXPECT_TRUE(saveAs.promptOverwrite);
  EXPECT_EQ(context_.job.filePath, jobs_ + "b.qxj");
  EXPECT_NE(Saved("b.qxj").find("output=GR2,GAPI,0,d,1500"), std::string::npos);

  EXPECT_FALSE(NewJob(context_)) << "cancelled";
  EXPECT_EQ(context_.job.outputs.size(), 1u);
  EXPECT_EQ(screen_.fileDialogs().back().fileName, "");
  screen_.ScriptFileName(jobs_ + "new.qxj");
  ASSERT_TRUE(NewJob(context_));
  EXPECT_TRUE(context_.job.outputs.empty());
  EXPECT_FALSE(std::filesystem::exists(jobs_ + "new.qxj")) << "New writes nothing";

  screen_.ScriptFileName("/somewhere/plots/GR.PRS");
  ASSERT_TRUE(SelectPresentationFile(context_));
  EXPECT_EQ(context_.job.presentation, "GR.PRS");
  EXPECT_EQ(screen_.Text(control::kPresentation), "GR.PRS");
  EXPECT_EQ(screen_.fileDialogs().back().title, "Select Presentation File");
  EXPECT_EQ(screen_.fileDialogs().back().pattern, "*.PRS");
  EXPECT_EQ(screen_.fileDialogs().back().initialFolder, home_ + "/plots");
}

TEST_F(JobCommandTest, RunOptionStartsANewJobOnlyWhenThereAreOutputs) {
  SetRunOption(context_, kGenerateReport);
  EXPECT_EQ(context_.job.runOption, kGenerateReport);
  EXPECT_TRUE(screen_.fileDialogs().empty()) << "no outputs: no new job";
  EXPECT_FALSE(screen_.IsEnabled(control::kScale));

  Load("a.qxj", kJob);
  SetRunOption(context_, kGenerateReport);  // New is cancelled
  EXPECT_EQ(context_.job.runOption, kGenerateCurves);
  EXPECT_EQ(context_.job.outputs.size(), 1u);
  EXPECT_TRUE(screen_.IsChecked(control::kMenuGenerateCurves));
  screen_.ScriptFileName(jobs_ + "r.qxj");
  SetRunOption(context_, kGenerateReport);
  EXPECT_EQ(context_.job.runOption, kGenerateReport);
  EXPECT_TRUE(context_.job.outputs.empty());
  EXPECT_TRUE(screen_.IsChecked(control::kMenuGenerateReport));
  EXPECT_FALSE(screen_.IsChecked(control::kMenuGenerateCurves));
}

TEST_F(JobCommandTest, NothingButSaveWhileARunIsOn) {
  Load("a.qxj", kJob);
  context_.run.running = true;
  screen_.ScriptFileName(jobs_ + "x.qxj");
  OpenJob(context_);
  SaveJobAs(context_);
  EXPECT_FALSE(NewJob(context_));
  EXPECT_FALSE(SelectPresentationFile(context_));
  SetRunOption(context_, kGenerateReport);
  EXPECT_TRUE(screen_.fileDialogs().empty());
  EXPECT_EQ(context_.job.runOption, kGenerateCurves);
  SaveJobCommand(context_);
  EXPECT_NE(Saved("a.qxj").find("[0]\r\nformat=\r\nscale=240\r\n"), std::string::npos);
}

}  // namespace

}  // namespace quillex
