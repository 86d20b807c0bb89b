// Job files: loading what Windows programs and people write, saving the same
// bytes again, and the section work done while the user edits.
#include "jobfile/job_file.h"

#include "curvedata/controls.h"
#include "curvedata/curve_path.h"
#include "formula/compiler.h"
#include "job/job_list.h"
#include "tests/jobfile/job_fixture.h"

namespace {

// Written the way a Windows program or a person would: CRLF, comments, odd
// spacing, quoted values, a missing section that ends the outputs.
const char kHandWritten[] =
    "; made by hand\r\n"
    "[0]\r\n"
    "format = logplot \r\n"
    "scale=240.9\r\n"
    "[Job]\r\n"
    "Option=1\r\n"
    "[1]\r\n"
    "output=GR2,GAPI,7,gamma ray doubled,1500\r\n"
    "formula=\"GR*2\"\r\n"
    "GRunits=GAPI\r\n"
    "GRpath=WELL: /A/B/C/SET1/GR\r\n"
    "\r\n"
    "[2]\r\n"
    "  OUTPUT =  RATIO,V/V,0,rt over rxo \r\n"
    "formula=  rt/rxo  \r\n"
    "[4]\r\n"
    "output=LOST,F,0,never read,1500\r\n"
    "formula=A\r\n";

TEST_F(JobFileTest, LoadsAJobWrittenByHand) {
  WriteBytes(jobs_ + "hand.qxj", kHandWritten);
  context_.job.filePath = "hand.qxj";  // a bare name lies in the job folder
  ASSERT_TRUE(LoadJob(context_));
  Job& job = context_.job;
  EXPECT_EQ(job.filePath, jobs_ + "hand.qxj");
  EXPECT_EQ(screen_.Text(control::kJobTitle), jobs_ + "hand.qxj");
  EXPECT_EQ(job.runOption, kGenerateReport);
  EXPECT_TRUE(screen_.IsChecked(control::kMenuGenerateReport));
  EXPECT_FALSE(screen_.IsEnabled(control::kPresentation)) << "a report run draws no plot";
  EXPECT_EQ(job.presentation, "LOGPLOT.PRS");
  EXPECT_EQ(screen_.Text(control::kScale), "240.9");
  EXPECT_EQ(job.scale, 240.9);
  ASSERT_EQ(job.outputs.size(), 2u) << "section 3 is missing: section 4 is never read";
  const OutputDef& gr2 = *job.outputs[0];
  EXPECT_EQ(gr2.name, "GR2");
  EXPECT_EQ(gr2.units, DorvexUnitCode(context_.dorvex, "GAPI"));
  EXPECT_EQ(gr2.dataId, 7u);
  EXPECT_EQ(gr2.description, "gamma ray doubled");
  EXPECT_EQ(gr2.step, 1500);
  EXPECT_EQ(gr2.formula, "GR*2");
  ASSERT_TRUE(gr2.compiled.has_value());
  const OutputDef& ratio = *job.outputs[1];
  EXPECT_EQ(ratio.name, "RATIO");
  EXPECT_EQ(ratio.description, "rt over rxo");
  EXPECT_EQ(ratio.step, 0) << "four fields: the step comes from the inputs at run time";
  EXPECT_EQ(ratio.formula, "rt/rxo");
  EXPECT_TRUE(screen_.boxes().empty());
}

TEST_F(JobFileTest, PresentationNamesAndScales) {
  struct Case {
    const char* format;
    const char* scale;
    const char* presentation;
    double jobScale;
  } cases[] = {
      {"logplot", "500", "LOGPLOT.PRS", 500},  {"logplot.prs", "0", "LOGPLOT.PRS", 240},
      {"ninechars", "", "NINECHARS", 240},     {"", "abc", "", 240},
      {"a.b", "-3", "A.B", -3},
  };
  for (const Case& c : cases) {
    context_.job.scale = 240;
    WriteBytes(jobs_ + "p.qxj", std::string("[0]\r\nformat=") + c.format + "\r\nscale=" + c.scale);
    context_.job.filePath = jobs_ + "p.qxj";
    LoadJob(context_);
    EXPECT_EQ(context_.job.presentation, c.presentation) << c.format;
    EXPECT_EQ(context_.job.scale, c.jobScale) << c.scale;
  }
}

TEST_F(JobFileTest, FormulasThatNoLongerCompileStayAsText) {
  WriteBytes(jobs_ + "bad.qxj", "[1]\r\noutput=A\r\nformula=GR+\r\n[2]\r\noutput=B\r\nformula=GR\r\n");
  context_.job.filePath = jobs_ + "bad.qxj";
  LoadJob(context_);
  ASSERT_EQ(context_.job.outputs.size(), 2u);
  EXPECT_EQ(context_.job.outputs[0]->formula, "GR+");
  EXPECT_FALSE(context_.job.outputs[0]->compiled.has_value());
  EXPECT_TRUE(context_.job.outputs[0]->variables.empty());
  EXPECT_TRUE(context_.job.outputs[1]->compiled.has_value());
  EXPECT_EQ(screen_.BoxTexts(), std::vector<std::string>{"Error in Formula - invalid operation"});
}

TEST_F(JobFileTest, MalformedFilesLoadWithDefaults) {
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  struct Case {
    const char* why;
    std::string bytes;
    size_t outputs;
  } cases[] = {
      {"binary garbage", garbage, 0},
      {"a huge line", "[1]\r\noutput=" + std::string(1 << 20, 'x') + "\r\nformula=A\r\n", 1},
      {"no sections", "output=A\r\nformula=B\r\n", 0},
      {"numbers that do not read", "[Job]\r\nOption=yes\r\n[1]\r\noutput=A,F,x7,d,zz\r\n", 1},
      {"only commas", "[1]\r\noutput=,,,,\r\n", 0},
      {"empty file", "", 0},
  };
  for (const Case& c : cases) {
    WriteBytes(jobs_ + "m.qxj", c.bytes);
    context_.job.filePath = jobs_ + "m.qxj";
    LoadJob(context_);
    EXPECT_EQ(context_.job.outputs.size(), c.outputs) << c.why;
    EXPECT_EQ(context_.job.runOption, kGenerateCurves) << c.why;
    for (const auto& output : context_.job.outputs) {
      EXPECT_LE(output->name.size(), 10u) << c.why;
      EXPECT_EQ(output->step, 0) << c.why;
    }
  }
}

// Save, load, save: the same bytes; and what Save writes for names too long
// and texts with commas.
TEST_F(JobFileTest, SavingTwiceGivesTheSameBytes) {
  WriteBytes(jobs_ + "hand.qxj", kHandWritten);
  context_.job.filePath = jobs_ + "hand.qxj";
  LoadJob(context_);
  context_.job.outputs[1]->description = "rt, over, rxo";
  ASSERT_TRUE(SaveJob(context_));
  std::string first = ReadBytes(jobs_ + "hand.qxj");
  EXPECT_EQ(first,
            "[0]\r\nformat=LOGPLOT.PRS\r\nscale=240\r\n"
            "[Job]\r\nOption=1\r\n"
            "[1]\r\noutput=GR2,GAPI,7,gamma ray doubled,1500\r\nformula=GR*2\r\n"
            "GRunits=GAPI\r\nGRpath=\r\n"
            "[2]\r\noutput=RATIO,V/V,0,rt; over; rxo,0\r\nformula=rt/rxo\r\n"
            "rtunits=\r\nrtpath=\r\nrxounits=\r\nrxopath=\r\n");
  LoadJob(context_);
  ASSERT_TRUE(SaveJob(context_));
  EXPECT_EQ(ReadBytes(jobs_ + "hand.qxj"), first);
  EXPECT_FALSE(std::filesystem::exists(jobs_ + "hand.qxj.saving"));
}

TEST_F(JobFileTest, EmptyFieldsDoNotShiftTheOthers) {
  WriteBytes(jobs_ + "e.qxj", "[1]\r\noutput=A\r\nformula=X\r\n");
  context_.job.filePath = jobs_ + "e.qxj";
  LoadJob(context_);
  context_.job.outputs[0]->step = 3000;
  ASSERT_TRUE(SaveJob(context_));
  EXPECT_NE(ReadBytes(jobs_ + "e.qxj").find("output=A, ,0, ,3000\r\n"), std::string::npos);
  LoadJob(context_);
  EXPECT_EQ(context_.job.outputs[0]->units, 0);
  EXPECT_EQ(context_.job.outputs[0]->step, 3000);
}

TEST_F(JobFileTest, BindingsTravelThroughTheFile) {
  WriteBytes(jobs_ + "b.qxj", kHandWritten);
  context_.job.filePath = jobs_ + "b.qxj";
  LoadJob(context_);
  OutputDef& gr2 = *context_.job.outputs[0];
  VariableBinding& gr = *gr2.variables[0];
  ReadNodeBindings(context_, gr2, gr);
  EXPECT_EQ(gr.units, DorvexUnitCode(context_.dorvex, "GAPI"));
  EXPECT_EQ(gr.database, home_ + "/db/WELL.db");
  EXPECT_EQ(gr.path, "/A/B/C/SET1/GR");
  ClearInputPaths(context_);
  EXPECT_TRUE(gr.database.empty());
  EXPECT_EQ(ReadBytes(jobs_ + "b.qxj").find("GRpath=WELL"), std::string::npos);
  gr.database = home_ + "/db/OTHER.db";
  gr.path = "/X/Y/Z/S/GR/*";
  WritePathKeys(context_, gr2, 1);
  EXPECT_NE(ReadBytes(jobs_ + "b.qxj").find("GRpath=OTHER: /X/Y/Z/S/GR\r\n"), std::string::npos);
}

TEST_F(JobFileTest, DeletingASectionRenumbersTheRest) {
  std::string file;
  for (int n = 1; n <= 4; ++n) {
    file += "[" + std::to_string(n) + "]\r\noutput=O" + std::to_string(n) + "\r\nformula=A\r\n";
  }
  WriteBytes(jobs_ + "d.qxj", "[0]\r\nscale=240\r\n" + file);
  context_.job.filePath = jobs_ + "d.qxj";
  DeleteOutputSection(context_, 2);
  EXPECT_EQ(ReadBytes(jobs_ + "d.qxj"),
            "[0]\r\nscale=240\r\n"
            "[1]\r\noutput=O1\r\nformula=A\r\n"
            "[2]\r\noutput=O3\r\nformula=A\r\n"
            "[3]\r\noutput=O4\r\nformula=A\r\n");
}

TEST_F(JobFileTest, FilesAreFoundWithoutRegardToCase) {
  WriteBytes(jobs_ + "job1.qxj", "[1]\r\noutput=A\r\nformula=A\r\n");
  context_.job.filePath = "JOB1.QXJ";
  ASSERT_TRUE(LoadJob(context_));
  EXPECT_EQ(context_.job.filePath, jobs_ + "job1.qxj");
  EXPECT_EQ(context_.job.outputs.size(), 1u);
  context_.job.filePath.clear();
  EXPECT_FALSE(LoadJob(context_));
  EXPECT_EQ(screen_.Text(control::kJobTitle), "");
}

}  // namespace
