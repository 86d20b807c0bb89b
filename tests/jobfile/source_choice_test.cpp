// Choosing the main input source: every variable of every output is pointed
// at the chosen data set, the destination is made beside it, and the job
// file and the main window learn the new sources.
#include "jobfile/source_choice.h"

#include "formula/compiler.h"
#include "libs/profile/profile.h"
#include "model/controls.h"
#include "model/job_list.h"
#include "tests/jobfile/job_fixture.h"

namespace quillex {

namespace {

class SourceChoiceTest : public JobFileTest {
 protected:
  void SetUp() override {
    JobFileTest::SetUp();
    file_ = dorvex::DorvexDatabaseFile(context_.dorvex, "WELL");
    ASSERT_EQ(dorvex::DorvexCreateDatabase(context_.dorvex, file_), 0);
    for (const char* formula : {"GR*2", "AVG(GR, SP)+rt"}) {
      OutputDef& output = AppendOutput(context_.job, std::make_unique<OutputDef>());
      output.formula = formula;
      ASSERT_EQ(CompileFormula(context_, formula, output.compiled, output), 1);
    }
    screen_.SetText(control::kInputSource, "WELL: /OLD/B/C/D");
  }

  // "name=database path" for every variable, in job order.
  std::vector<std::string> Bindings() const {
    std::vector<std::string> bindings;
    for (const auto& output : context_.job.outputs) {
      for (const auto& node : output->variables) {
        if (node->kind == kNodeInput) {
          bindings.push_back(node->name + "=" + node->database + " " + node->path);
        }
      }
    }
    return bindings;
  }

  std::string file_;
};

TEST_F(SourceChoiceTest, ASourceRebindsEveryVariableAndMakesTheDestinationBesideIt) {
  uint32_t database = 0;
  ASSERT_EQ(dorvex::DorvexOpenDatabase(context_.dorvex, file_, 0, &database), 0);
  ASSERT_EQ(dorvex::DorvexCreateNode(context_.dorvex, database, "/A/B/C/_qxj1_", 0, nullptr, 3, 0), 1);
  dorvex::DorvexCloseDatabase(context_.dorvex, database);
  VariableBinding& sp = *context_.job.outputs[1]->variables[1];
  ASSERT_EQ(sp.name, "SP");
  sp.database = home_ + "/db/OTHER.db";  // chosen for this variable alone
  sp.path = "/X/Y/Z/W/SP/3";
  context_.job.filePath = jobs_ + "a.qxj";
  screen_.ScriptBrowse(DataSource{file_, "/A/B/C/D"});

  ASSERT_TRUE(ChooseInputSource(context_));
  const BrowseRequest& request = screen_.browseRequests().at(0);
  EXPECT_EQ(request.title, "Input Source");
  EXPECT_EQ(request.pattern, "/*/*/*/*");
  EXPECT_EQ(request.flags, 3);
  EXPECT_EQ(request.current.database, file_) << "the field is read first";
  EXPECT_EQ(request.current.path, "/OLD/B/C/D");

  EXPECT_EQ(context_.job.input.path, "/A/B/C/D");
  EXPECT_EQ(screen_.Text(control::kInputSource), "WELL: /A/B/C/D");
  EXPECT_EQ(context_.job.destination.database, file_);
  EXPECT_EQ(context_.job.destination.path, "/A/B/C/_qxj2_");
  EXPECT_EQ(screen_.Text(control::kDestination), "WELL: /A/B/C/_qxj2_");
  std::string set = file_ + " /A/B/C/D/";
  EXPECT_EQ(Bindings(), (std::vector<std::string>{"GR=" + set + "GR/*", "GR=" + set + "GR/*",
                                                  "SP=" + set + "SP/*", "rt=" + set + "rt/*"}));
  EXPECT_EQ(screen_.ListLines(control::kOutputList).size(), 2U);
  EXPECT_EQ(profile::ReadProfileString(context_.job.filePath, "2", "SPpath", "-", 480), "WELL: /A/B/C/D/SP");
  EXPECT_EQ(profile::ReadProfileString(context_.job.filePath, "1", "GRpath", "-", 480), "WELL: /A/B/C/D/GR");
  EXPECT_TRUE(screen_.boxes().empty());
  EXPECT_EQ(context_.dorvex.OpenDatabaseCount(), 0U);
}

TEST_F(SourceChoiceTest, ReportJobsAndDestinationsAlreadySet) {
  struct Case {
    int32_t option;
    DataSource destination;
    std::string after;
  } cases[] = {
      {kGenerateReport, {}, "/A/B/C/_plots_/_qxrp_/1"},
      {kGenerateCurves, {file_, "/K/L/M/OUT"}, "/K/L/M/OUT"},
  };
  for (const Case& c : cases) {
    context_.job.runOption = c.option;
    context_.job.destination = c.destination;
    screen_.ScriptBrowse(DataSource{file_, "/A/B/C/D"});
    ASSERT_TRUE(ChooseInputSource(context_));
    EXPECT_EQ(context_.job.destination.path, c.after);
    EXPECT_EQ(screen_.Text(control::kDestination), "WELL: " + c.after);
  }
}

TEST_F(SourceChoiceTest, NothingChangesWhileARunIsOnOrWhenCancelled) {
  std::vector<std::string> before = Bindings();
  context_.run.running = true;
  EXPECT_FALSE(ChooseInputSource(context_));
  EXPECT_TRUE(screen_.browseRequests().empty());
  context_.run.running = false;
  EXPECT_FALSE(ChooseInputSource(context_));
  EXPECT_EQ(screen_.browseRequests().size(), 1U);
  EXPECT_EQ(Bindings(), before);
  EXPECT_EQ(screen_.Text(control::kInputSource), "WELL: /OLD/B/C/D");
  EXPECT_FALSE(context_.job.destination.chosen());
  EXPECT_TRUE(screen_.boxes().empty());
}

}  // namespace

}  // namespace quillex
