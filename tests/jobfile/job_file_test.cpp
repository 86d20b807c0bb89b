// Job files: loading what Windows programs and people write, saving the same
// bytes again, and the section work done while the user edits.
#include "jobfile/job_file.h"

#include "model/controls.h"
#include "model/job_list.h"
#include "tests/jobfile/job_fixture.h"

namespace quillex {

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

// The fields that Save writes back are checked in the saved bytes; the rest
// as loaded. A bare name in other case is the job folder's file of that name.
TEST_F(JobFileTest, AJobWrittenByHandLoadsAndSavesTheSameBytesTwice) {
  PutBytes(jobs_ + "hand.qxj", kHandWritten);
  context_.job.filePath = "HAND.QXJ";
  ASSERT_TRUE(LoadJob(context_));
  Job& job = context_.job;
  EXPECT_EQ(job.filePath, jobs_ + "hand.qxj");
  EXPECT_EQ(screen_.Text(control::kJobTitle), jobs_ + "hand.qxj");
  EXPECT_TRUE(screen_.IsChecked(control::kMenuGenerateReport));
  EXPECT_FALSE(screen_.IsEnabled(control::kPresentation)) << "a report run draws no plot";
  EXPECT_EQ(job.presentation, "LOGPLOT.PRS");
  EXPECT_EQ(screen_.Text(control::kScale), "240.9");
  EXPECT_EQ(job.scale, 240.9);
  ASSERT_EQ(job.outputs.size(), 2u) << "section 3 is missing: section 4 is never read";
  EXPECT_EQ(job.outputs[0]->units, dorvex::DorvexUnitCode(context_.dorvex, "GAPI"));
  EXPECT_TRUE(job.outputs[0]->compiled.has_value());
  EXPECT_EQ(job.outputs[1]->description, "rt over rxo");
  EXPECT_TRUE(screen_.boxes().empty());

  job.outputs[1]->description = "rt, over, rxo";
  ASSERT_TRUE(SaveJob(context_));
  std::string first = Saved("hand.qxj");
  EXPECT_EQ(first,
            "[0]\r\nformat=LOGPLOT.PRS\r\nscale=240\r\n"
            "[Job]\r\nOption=1\r\n"
            "[1]\r\noutput=GR2,GAPI,7,gamma ray doubled,1500\r\nformula=GR*2\r\n"
            "GRunits=\r\nGRpath=\r\n"  // the node keys are not loaded
            "[2]\r\noutput=RATIO,V/V,0,rt; over; rxo,0\r\nformula=rt/rxo\r\n"
            "rtunits=\r\nrtpath=\r\nrxounits=\r\nrxopath=\r\n");
  LoadJob(context_);
  ASSERT_TRUE(SaveJob(context_));
  EXPECT_EQ(Saved("hand.qxj"), first);
  EXPECT_FALSE(std::filesystem::exists(jobs_ + "hand.qxj.saving"));

  job.filePath.clear();
  EXPECT_FALSE(LoadJob(context_));
  EXPECT_EQ(screen_.Text(control::kJobTitle), "");
}

TEST_F(JobFileTest, FormulasThatNoLongerCompileStayAsText) {
  Load("bad.qxj", "[1]\r\noutput=A\r\nformula=GR+\r\n[2]\r\noutput=B\r\nformula=GR\r\n");
  ASSERT_EQ(context_.job.outputs.size(), 2u);
  EXPECT_EQ(context_.job.outputs[0]->formula, "GR+");
  EXPECT_FALSE(context_.job.outputs[0]->compiled.has_value());
  EXPECT_TRUE(context_.job.outputs[0]->variables.empty());
  EXPECT_TRUE(context_.job.outputs[1]->compiled.has_value());
  EXPECT_EQ(screen_.BoxTexts(), std::vector<std::string>{"Error in Formula - invalid operation"});
}

// Whatever the file holds, it loads: a format without an extension gets
// ".PRS", a scale that does not read (or reads as 0) leaves the job's own,
// and what else cannot be read takes the default.
TEST_F(JobFileTest, OddFilesLoadWithDefaults) {
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  const struct {
    std::string bytes;
    size_t outputs;
    const char* presentation;
    double scale;
  } cases[] = {
      {"[0]\r\nformat=logplot\r\nscale=500", 0, "LOGPLOT.PRS", 500},
      {"[0]\r\nformat=logplot.prs\r\nscale=0", 0, "LOGPLOT.PRS", 240},
      {"[0]\r\nformat=ninechars\r\nscale=", 0, "NINECHARS", 240},
      {"[0]\r\nformat=\r\nscale=abc", 0, "", 240},
      {"[0]\r\nformat=a.b\r\nscale=-3", 0, "A.B", -3},
      {garbage, 0, "", 240},
      {"[1]\r\noutput=" + std::string(1 << 20, 'x') + "\r\nformula=A\r\n", 1, "", 240},
      {"output=A\r\nformula=B\r\n", 0, "", 240},
      {"[Job]\r\nOption=yes\r\n[1]\r\noutput=A,F,x7,d,zz\r\n", 1, "", 240},
      {"[1]\r\noutput=,,,,\r\n", 0, "", 240},
      {"", 0, "", 240},
  };
  for (const auto& c : cases) {
    std::string why = c.bytes.substr(0, 40);
    context_.job.scale = 240;
    Load("odd.qxj", c.bytes);
    EXPECT_EQ(context_.job.outputs.size(), c.outputs) << why;
    EXPECT_EQ(context_.job.presentation, c.presentation) << why;
    EXPECT_EQ(context_.job.scale, c.scale) << why;
    EXPECT_EQ(context_.job.runOption, kGenerateCurves) << why;
    for (const auto& output : context_.job.outputs) {
      EXPECT_LE(output->name.size(), 10u) << why;
      EXPECT_EQ(output->step, 0) << why;
    }
  }
}

TEST_F(JobFileTest, EmptyFieldsDoNotShiftTheOthers) {
  Load("e.qxj", "[1]\r\noutput=A\r\nformula=X\r\n");
  context_.job.outputs[0]->step = 3000;
  ASSERT_TRUE(SaveJob(context_));
  EXPECT_NE(Saved("e.qxj").find("output=A, ,0, ,3000\r\n"), std::string::npos);
  LoadJob(context_);
  EXPECT_EQ(context_.job.outputs[0]->units, 0);
  EXPECT_EQ(context_.job.outputs[0]->step, 3000);
}

TEST_F(JobFileTest, BindingsTravelThroughTheFile) {
  Load("b.qxj", kHandWritten);
  OutputDef& gr2 = *context_.job.outputs[0];
  VariableBinding& gr = *gr2.variables[0];
  ReadNodeBindings(context_, gr2, gr);
  EXPECT_EQ(gr.units, dorvex::DorvexUnitCode(context_.dorvex, "GAPI"));
  EXPECT_EQ(gr.database, home_ + "/db/WELL.db");
  EXPECT_EQ(gr.path, "/A/B/C/SET1/GR");
  ClearInputPaths(context_);
  EXPECT_TRUE(gr.database.empty());
  EXPECT_EQ(Saved("b.qxj").find("GRpath=WELL"), std::string::npos);
  gr.database = home_ + "/db/OTHER.db";
  gr.path = "/X/Y/Z/S/GR/*";
  WritePathKeys(context_, gr2, 1);
  EXPECT_NE(Saved("b.qxj").find("GRpath=OTHER: /X/Y/Z/S/GR\r\n"), std::string::npos);
}

TEST_F(JobFileTest, DeletingASectionRenumbersTheRest) {
  std::string file;
  for (int n = 1; n <= 4; ++n) {
    file += "[" + std::to_string(n) + "]\r\noutput=O" + std::to_string(n) + "\r\nformula=A\r\n";
  }
  PutBytes(jobs_ + "d.qxj", "[0]\r\nscale=240\r\n" + file);
  context_.job.filePath = jobs_ + "d.qxj";
  DeleteOutputSection(context_, 2);
  EXPECT_EQ(Saved("d.qxj"),
            "[0]\r\nscale=240\r\n"
            "[1]\r\noutput=O1\r\nformula=A\r\n"
            "[2]\r\noutput=O3\r\nformula=A\r\n"
            "[3]\r\noutput=O4\r\nformula=A\r\n");
}

}  // namespace

}  // namespace quillex
