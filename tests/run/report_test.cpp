// The results report: its decimals, its lines written out by hand from the
// formats, a report run through the engine, and the report's failures.
#include <filesystem>

#include "model/job_list.h"
#include "run/report.h"
#include "tests/run/engine_fixture.h"

namespace quillex {

namespace {

TEST(ResultDecimals, BringTheFirstDigitBeforeThePointUpToSix) {
  struct Case {
    double result;
    int decimals;
  } cases[] = {{123.4, 1}, {-5, 1}, {1.0, 1}, {0.5, 2}, {-0.99, 2}, {0.05, 3},
               {-0.004, 4}, {0.0031, 4}, {0, 1}, {1e-9, 6}, {-1e-5, 6}};
  for (const Case& c : cases) EXPECT_EQ(ResultDecimals(c.result), c.decimals) << c.result;
}

class ReportTest : public EngineTest {
 public:
  void AddNode(OutputDef& output, const std::string& name, const std::string& path) {
    auto node = std::make_unique<VariableBinding>();
    node->name = name;
    node->database = path.empty() ? "" : well_;
    node->path = path;
    output.variables.push_back(std::move(node));
  }
  OutputDef& AddOutput(const std::string& name, const std::string& units, double result) {
    auto output = std::make_unique<OutputDef>();
    output->name = name;
    output->units = dorvex::DorvexUnitCode(context_.dorvex, units);
    output->result = result;
    return AppendOutput(context_.job, std::move(output));
  }
  // The title and bytes of a file stored in WELL; nothing when there is none.
  std::optional<std::pair<std::string, std::string>> StoredFile(const std::string& path) {
    uint32_t database = 0;
    std::pair<std::string, std::string> file;
    EXPECT_EQ(dorvex::DorvexOpenDatabase(data_, well_, 0, &database), 0);
    bool read = dorvex::DorvexReadFile(data_, database, path, &file.first, &file.second) == 0;
    dorvex::DorvexCloseDatabase(data_, database);
    return read ? std::optional(file) : std::nullopt;
  }
};

TEST_F(ReportTest, LinesFollowTheFormats) {
  OutputDef& empty = AddOutput("EMPTY", "GAPI", 7);
  empty.top = 1000 * kFoot;
  empty.bottom = 1002 * kFoot + kFoot / 2;
  OutputDef& twice = AddOutput("TWICE", "GAPI", -0.004);
  AddNode(twice, "Const", "");
  AddNode(twice, "GR", "/A/B/C/SET1/GR/*");
  AddNode(twice, "", "");
  AddNode(twice, "RT", "/A/B/C/SET1/RT/*");  // after the call: not listed
  OutputDef& mean = AddOutput("GRAVG", "OHMM", 123.4);
  AddNode(mean, "RT", "A/B/C/SET1/RT/*");

  // The interval comes from the first output, which has no nodes: its own range.
  EXPECT_EQ(ReportText(context_),
            "                         Quillex Results\n"
            "\n"
            "                         Interval - 1000.00- 1002.50 ft\n"
            "\n"
            "Output    Source                                            Result\n"
            "------    ------                                            ------\n"
            "\n"
            "EMPTY     \n"
            "TWICE                                                       -0.0040   GAPI    \n"
            "          WELL: /A/B/C/SET1/GR                              \n"
            "\n"
            "GRAVG     WELL: A/B/C/SET1/RT                               123.4     OHMM    \n");
}

// The report run as the tool drives it: the source chosen before Run.
TEST_F(ReportTest, AReportRunWritesStoresAndShowsItsReport) {
  std::string temporary = home_ + "/tmp";
  std::filesystem::create_directory(temporary);
  ::setenv("TMPDIR", temporary.c_str(), 1);
  PutCurve("/A/B/C/SET1/GR/1", "GAPI", 1000, 0.5, {10, 12, 15, 19, 24, 30, 37, 45, 54, 64, 75});
  PutCurve("/A/B/C/SET1/RT/1", "OHMM", 1000, 0.5, {5, 80, 1, 1, 1, 1, 1, 1, 1, 1, 99});
  Load("REPORT.QXJ", JobFile({{"GRAVG,GAPI,0, ,0", "AVERAGE(GR)", ""},
                              {"TWICE,GAPI,0, ,30000", "2*AVERAGE(GR)", ""},
                              {"SMALL,OHMM,0, ,0", "AVERAGE(GR/10000)", ""},
                              {"PEAK,GAPI,0, ,0", "MAXIMUM(GR, RT)", ""}},
                             1));
  ChooseInput();
  quillex::Run(context_);
  ASSERT_TRUE(context_.run.running);
  EXPECT_EQ(screen_.Text(control::kExitButton), "Cancel");
  StepToEnd();
  ::unsetenv("TMPDIR");

  const std::string expected =
      "                         Quillex Results\n"
      "\n"
      "                         Interval - 1000.00- 1005.00 ft\n"
      "\n"
      "Output    Source                                            Result\n"
      "------    ------                                            ------\n"
      "\n"
      "GRAVG     WELL: A/B/C/SET1/GR                               31.0      GAPI    \n"
      "\n"
      "TWICE                                                       20.0      GAPI    \n"
      "          WELL: A/B/C/SET1/GR                               \n"
      "\n"
      "SMALL     WELL: A/B/C/SET1/GR                               0.0031    OHMM    \n"
      "                                                            \n"
      "\n"
      "PEAK      WELL: A/B/C/SET1/GR                               80.0      GAPI    \n"
      "          WELL: A/B/C/SET1/RT                               \n";
  EXPECT_EQ(context_.run.statusText, "Done.");
  EXPECT_EQ(screen_.Text(control::kExitButton), "Exit");
  EXPECT_TRUE(screen_.BoxTexts().empty());
  ASSERT_EQ(screen_.reports().size(), 1U);
  EXPECT_EQ(screen_.reports()[0], expected);

  // Stored in the fresh result made at the end of the run.
  EXPECT_EQ(context_.job.destination.path, "/A/B/C/_plots_/_qxrp_/2");
  EXPECT_EQ(StoredFile("/A/B/C/_plots_/_qxrp_/2"),
            std::make_pair(std::string("Quillex Report"), expected));
  EXPECT_TRUE(std::filesystem::is_empty(temporary)) << "the temporary file is removed";
}

TEST_F(ReportTest, AReportThatCannotBeWrittenOrStoredIsTold) {
  PutCurve("/A/B/C/SET1/GR/1", "GAPI", 1000, 0.5, {10, 12, 15});
  const std::string job = JobFile({{"GRAVG,GAPI,0, ,0", "AVERAGE(GR)", ""}}, 1);

  // No temporary file: told with the destination, nothing stored or shown.
  Load("REPORT.QXJ", job);
  ChooseInput();
  ::setenv("TMPDIR", (home_ + "/missing").c_str(), 1);
  quillex::Run(context_);
  StepToEnd();
  ::unsetenv("TMPDIR");
  ASSERT_EQ(screen_.boxes().size(), 1U);
  EXPECT_EQ(screen_.boxes()[0].caption, "Unable to create file for results");
  EXPECT_EQ(screen_.boxes()[0].text, "WELL: /A/B/C/_plots_/_qxrp_/2");
  EXPECT_TRUE(screen_.reports().empty());
  EXPECT_FALSE(StoredFile("/A/B/C/_plots_/_qxrp_/2"));

  // A destination database that does not open: told, and the report still shown.
  Load("REPORT.QXJ", job);
  ChooseInput();
  screen_.SetText(control::kDestination, "NOPE: /A/B/C/_plots_/_qxrp_/1");
  quillex::Run(context_);
  StepToEnd();
  std::string nope = dorvex::DorvexDatabaseFile(data_, "NOPE");
  EXPECT_EQ(screen_.BoxTexts(),
            (std::vector<std::string>{"The database " + nope + " cannot be opened.", nope}));
  EXPECT_EQ(screen_.boxes().back().caption, "Problem opening database");
  EXPECT_EQ(screen_.reports().size(), 1U);
  EXPECT_EQ(context_.run.statusText, "Done.");
}

}  // namespace

}  // namespace quillex
