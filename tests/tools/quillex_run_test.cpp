// Drives quillex-run over databases made with the dorvex tool, and reads the
// curves it wrote back through the library to compare with values computed
// here; end to end, also over a real LAS file imported with the tool.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "tests/tools/tool_runner.h"

namespace quillex {

namespace {

const char kInput[] = "WELL: /A/B/C/SET1";
const std::vector<double> kGamma = {10, 12, 15, 19, 24, 30, 37, 45, 54, 64, 75};

class QuillexRun : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    Put("GR", "GAPI", kGamma);
  }
  ToolResult Quillex(std::vector<std::string> arguments) {
    return Run("quillex-run", std::move(arguments));
  }
  // A curve of WELL:/A/B/C/SET1 from 1000 ft every half foot.
  void Put(const std::string& name, const std::string& units, const std::vector<double>& values) {
    std::string numbers;
    for (double value : values) numbers += std::to_string(value) + "\n";
    ToolResult put = Dorvex({"put", "WELL:/A/B/C/SET1/" + name + "/1", "--top", "1000", "--step",
                             "0.5", "--units", units},
                            numbers);
    ASSERT_EQ(put.status, 0) << put.err;
  }
  void WriteJob(const std::string& name, const std::string& text) {
    std::ofstream(home_ + "/jobs/" + name, std::ios::binary) << text;
  }
  std::string Job(const std::string& name) { return ReadWhole(home_ + "/jobs/" + name); }
};

std::string JobFile(int option, const std::string& outputs) {
  return "[0]\nformat=\nscale=240\n[Job]\nOption=" + std::to_string(option) + "\n" + outputs;
}

// Every output computed here from the same numbers: the left-to-right rule,
// a unit conversion, and a step finer than the input's.
TEST_F(QuillexRun, WritesCurvesThatMatchValuesComputedIndependently) {
  const std::vector<double> a = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5};
  const std::vector<double> b = {2, 7, 1, 8, 2, 8, 1, 8, 2, 8, 4};
  const std::vector<double> x = {300, 305, 310.5, 320, 331, 340, 352, 360, 371, 380, 390};
  Put("A", "GAPI", a);
  Put("B", "GAPI", b);
  Put("X", "M", x);
  WriteJob("E2E.QXJ", JobFile(0,
                              "[1]\noutput=GR2,GAPI,0,doubled,0\nformula=GR*2\nGRunits=GAPI\n"
                              "GRpath=ELSE: /X/Y/Z/SET\n"
                              "[2]\noutput=MEAN,GAPI,0, ,0\nformula=(A+B)/2\n"
                              "[3]\noutput=LTR,GAPI,0, ,0\nformula=A+B*2\n"
                              "[4]\noutput=XF,F,0,in feet,0\nformula=X\nXunits=F\n"
                              "[5]\noutput=GRQ,GAPI,0, ,1500\nformula=GR\n"));

  ToolResult run = Quillex({"e2e.qxj", "--input", kInput, "--from", "1000", "--to", "1004"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "Done.\n5 curves, 8 to 16 samples, written to WELL: /A/B/C/_qxj1_ (1000 to 1003.75 "
            "ft)\n");
  EXPECT_EQ(run.out, "");

  std::vector<float> doubled, mean, leftToRight, feet, quarter;
  for (size_t n = 0; n < 8; ++n) {
    doubled.push_back(static_cast<float>(kGamma[n] * 2));
    mean.push_back(static_cast<float>((a[n] + b[n]) / 2));
    leftToRight.push_back(static_cast<float>((a[n] + b[n]) * 2));
    feet.push_back(static_cast<float>(x[n] / 0.3048));
    quarter.push_back(static_cast<float>(kGamma[n]));
    quarter.push_back(static_cast<float>((kGamma[n] + kGamma[n + 1]) / 2));
  }
  dorvex::DorvexItem item;
  EXPECT_EQ(Curve("/A/B/C/_qxj1_/GR2/1", &item), doubled);
  EXPECT_EQ(item.top, 1000 * 6000);
  EXPECT_EQ(Curve("/A/B/C/_qxj1_/MEAN/1"), mean);
  EXPECT_EQ(Curve("/A/B/C/_qxj1_/LTR/1"), leftToRight);
  EXPECT_EQ(Curve("/A/B/C/_qxj1_/GRQ/1"), quarter);
  std::vector<float> written = Curve("/A/B/C/_qxj1_/XF/1");
  ASSERT_EQ(written.size(), feet.size());
  for (size_t n = 0; n < feet.size(); ++n) EXPECT_FLOAT_EQ(written[n], feet[n]) << n;
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
  EXPECT_TRUE(Holds(Job("E2E.QXJ"), "GRpath=WELL: A/B/C/SET1/GR\r\n"));
}

TEST_F(QuillexRun, OutputGoesWhereToldAndOneEndOfTheIntervalMayBeOpen) {
  WriteJob("J.QXJ", JobFile(0, "[1]\noutput=GR2,GAPI,0, ,0\nformula=GR*2\n"));
  ToolResult run = Quillex({"J.QXJ", "--input", kInput, "--output", "WELL: /A/B/C/OUT",
                            "--from", "*", "--to", "1002"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Curve("/A/B/C/OUT/GR2/1"), (std::vector<float>{20, 24, 30, 38}));
  EXPECT_NE(Dorvex({"ls", "WELL:/A/B/C/_qxj1_"}).status, 0) << "nothing derived";
}

TEST_F(QuillexRun, FailuresAndMistakesGetTheirMessageAndExitStatus) {
  WriteJob("J.QXJ", JobFile(0, "[1]\noutput=GR,GAPI,0, ,0\nformula=GR*2\n"
                               "GRpath=WELL: /A/B/C/SET1/GR\n"));
  const std::string usage = "Try 'quillex-run --help'.\n";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string err;
  } cases[] = {
      {{}, 2, "quillex-run: no job file given\n" + usage},
      {{"J.QXJ", "--bogus", "1"}, 2, "quillex-run: unknown option '--bogus'\n" + usage},
      {{"J.QXJ", "--from"}, 2, "quillex-run: --from needs a value\n" + usage},
      {{"J.QXJ", "--input", "WELL /A/B/C/SET1"}, 2,
       "quillex-run: 'WELL /A/B/C/SET1' is not a source: write it as \"DB: /L1/L2/L3/SET\"\n"},
      {{"NOPE.QXJ", "--input", kInput}, 1,
       "quillex-run: no job file " + home_ + "/jobs/NOPE.QXJ\n"},
      {{"J.QXJ"}, 2,
       "quillex-run: --input is needed: a job file keeps no input sources (its NAMEpath= lines "
       "are cleared when it is loaded), so give the data set every variable reads from\n" +
           usage},
      {{"J.QXJ", "--input", "WELL: /A/B/C/SET2"}, 1,
       "quillex-run: --input WELL: /A/B/C/SET2: no data set /A/B/C/SET2 (the data sets under "
       "/A/B/C: SET1)\nAborted.\n"},
      {{"J.QXJ", "--input", "NOPE: /A/B/C/SET1"}, 1,
       "quillex-run: --input NOPE: /A/B/C/SET1: no log database " + home_ +
           "/db/NOPE.db\nAborted.\n"},
      {{"J.QXJ", "--input", kInput, "--from", "5000ft"}, 2,
       "quillex-run: --from takes a depth or time in ft (a number, or \"*\" for the end of the "
       "data), not '5000ft'\n" + usage},
      {{"J.QXJ", "--input", kInput, "--to", "abc"}, 2,
       "quillex-run: --to takes a depth or time in ft (a number, or \"*\" for the end of the "
       "data), not 'abc'\n" + usage},
      {{"J.QXJ", "--input", kInput, "--from", "1000", "--to", "1000.5"}, 1,
       "note: This processing run will be cancelled because the interval is too small.\n"
       "Aborted.\n"},
      {{"J.QXJ", "--input", kInput, "--output", kInput}, 1,
       "quillex-run: WELL: /A/B/C/SET1/GR/1 exists already: give another --output, or leave "
       "--output out for a new numbered data set\nAborted.\n"},
  };
  for (const Case& c : cases) {
    ToolResult run = Quillex(c.arguments);
    std::string why = c.arguments.empty() ? "no arguments" : c.arguments.back();
    EXPECT_EQ(run.status, c.status) << why;
    EXPECT_EQ(run.err, c.err) << why;
    EXPECT_EQ(run.out, "") << why;
  }
  ToolResult help = RunTool("quillex-run", {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: quillex-run JOB", 0), 0U) << help.out;
  // A run that did not run leaves nothing behind: no numbered set, empty.
  EXPECT_NE(Dorvex({"ls", "WELL:/A/B/C/_qxj1_"}).status, 0);
  EXPECT_NE(Dorvex({"ls", "WELL:/A/B/C/_qxj2_"}).status, 0);
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
}

TEST_F(QuillexRun, MathErrorsAreAnsweredCountedAndGiveZero) {
  Put("M", "GAPI", {2, 1, 2, 4, 5});
  WriteJob("M.QXJ", JobFile(0, "[1]\noutput=Q,GAPI,0, ,0\nformula=10/(M-2)\n"));
  ToolResult run = Quillex({"M.QXJ", "--input", kInput, "--from", "1000", "--to", "1002"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "2 math errors; each gave the value 0\nDone.\n1 curve, 4 samples, written to WELL: "
            "/A/B/C/_qxj1_ (1000 to 1001.5 ft)\n");
  EXPECT_EQ(Curve("/A/B/C/_qxj1_/Q/1"), (std::vector<float>{0, -10, 0, 5}));
}

TEST_F(QuillexRun, AReportRunPrintsItsReport) {
  WriteJob("R.QXJ", JobFile(1, "[1]\noutput=GRMAX,GAPI,0, ,0\nformula=MAXIMUM(GR)\n"
                               "[2]\noutput=GRAVG,GAPI,0, ,0\nformula=AVERAGE(GR)\n"));
  ToolResult run = Quillex({"R.QXJ", "--input", kInput, "--from", "1001", "--to", "1003"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "Done.\nReport of 2 outputs (1001 to 1002.5 ft) stored as WELL: "
            "/A/B/C/_plots_/_qxrp_/2\n");
  EXPECT_EQ(Dorvex({"ls", "WELL:/A/B/C/_plots_/_qxrp_"}).out,
            "        /A/B/C/_plots_/_qxrp_\n"
            "          /A/B/C/_plots_/_qxrp_/2  file \"Quillex Report\"\n")
      << "the result made ready before the run, and not used, is gone";
  EXPECT_EQ(run.out,
            "                         Quillex Results\n"
            "\n"
            "                         Interval - 1000.00- 1005.00 ft\n"
            "\n"
            "Output    Source                                            Result\n"
            "------    ------                                            ------\n"
            "\n"
            "GRMAX     WELL: A/B/C/SET1/GR                               30.0      GAPI    \n"
            "\n"
            "GRAVG     WELL: A/B/C/SET1/GR                               22.0      GAPI    \n");
}

// Over time-based inputs the interval is in seconds: the runner learns time
// from the input before it reads the interval (or from --time), and the
// report says seconds.
TEST_F(QuillexRun, TimeBasedInputsTakeTheirIntervalInSeconds) {
  std::string numbers;
  for (int k = 1; k <= 300; ++k) numbers += std::to_string(k) + "\n";
  for (const auto& [set, top, count] : {std::tuple{"TIME", "10", 300}, {"SHORT", "0", 50}}) {
    ToolResult put = Dorvex({"put", std::string("WELL:/A/B/C/") + set + "/X/1", "--top", top,
                             "--step", "0.5", "--units", "GAPI", "--time"},
                            numbers.substr(0, numbers.find(std::to_string(count + 1) + "\n")));
    ASSERT_EQ(put.status, 0) << put.err;
  }
  Put("X", "GAPI", kGamma);  // depth-based
  WriteJob("T.QXJ", JobFile(0, "[1]\noutput=Y,GAPI,0, ,0\nformula=X*2\n"));
  auto done = [](size_t samples, const char* set, const char* interval) {
    return "Done.\n1 curve, " + std::to_string(samples) + " samples, written to WELL: " + set +
           " (" + interval + " s)\n";
  };
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string err;
    size_t samples;
    int32_t top;  // hundredths of a second
  } cases[] = {
      {{"--input", "WELL: /A/B/C/TIME", "--from", "10", "--to", "30"}, 0,
       done(40, "/A/B/C/OUT1", "10 to 29.5"), 40, 1000},
      {{"--input", "WELL: /A/B/C/SHORT"}, 0, done(49, "/A/B/C/OUT2", "0 to 24"), 49, 0},
      {{"--input", "WELL: /A/B/C/TIME", "--time", "--from", "20", "--to", "21"}, 0,
       done(2, "/A/B/C/OUT3", "20 to 20.5"), 2, 2000},
      {{"--input", kInput, "--time"}, 2,
       "quillex-run: --time given, but the input data are depth-based\n", 0, 0},
  };
  int number = 0;
  for (const auto& c : cases) {
    std::string output = "/A/B/C/OUT" + std::to_string(++number);
    std::vector<std::string> arguments = {"T.QXJ", "--output", "WELL: " + output};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    ToolResult run = Quillex(arguments);
    EXPECT_EQ(run.status, c.status) << number;
    EXPECT_EQ(run.err, c.err) << number;
    dorvex::DorvexItem item{};
    EXPECT_EQ(Curve(output + "/Y/1", &item).size(), c.samples) << number;
    EXPECT_EQ(item.top, c.top) << number;
  }
  WriteJob("R.QXJ", JobFile(1, "[1]\noutput=Y,GAPI,0, ,0\nformula=MAXIMUM(X)\n"));
  ToolResult report = Quillex({"R.QXJ", "--input", "WELL: /A/B/C/TIME", "--from", "10", "--to", "30"});
  EXPECT_EQ(report.status, 0) << report.err;
  EXPECT_TRUE(Holds(report.out, "Interval - 10.00- 159.50 s\n")) << report.out;
  EXPECT_TRUE(Holds(report.out, "Y         WELL: A/B/C/TIME/X                                40.0 "));
}

// Ctrl-C during a run held by a recording: the run ends "Cancelled." with
// what it wrote committed.
TEST_F(QuillexRun, InterruptingAHeldRunCancelsItAndKeepsWhatWasWritten) {
  {
    dorvex::DorvexLibrary library;
    ASSERT_EQ(dorvex::DorvexInitializeAt(library, home_), 1);
    uint32_t database = 0;
    uint32_t curve = 0;
    ASSERT_EQ(dorvex::DorvexOpenDatabase(library, home_ + "/db/WELL.db", 0, &database), 0);
    ASSERT_EQ(dorvex::DorvexOpenCurve(library, database, "/A/B/C/SET1/GR/1", &curve, dorvex::kDorvexWrite,
                              nullptr), 0);
    ASSERT_EQ(dorvex::DorvexSetRecording(library, curve, true), 0);  // never finished
    dorvex::DorvexCloseDatabase(library, database);
  }
  WriteJob("J.QXJ", JobFile(0, "[1]\noutput=GR2,GAPI,0, ,0\nformula=GR*2\n"));
  std::string err = home_ + "/err";
  Background run(ToolCommand("quillex-run", {"--home", home_, "J.QXJ", "--input", kInput,
                                             "--from", "1000", "--to", "1010"}),
                 err);
  // The output curve exists once the run has started; its 11 samples take
  // no time, then the run waits for the recording.
  EXPECT_TRUE(WaitFor([&] { return Dorvex({"ls", "WELL:/A/B/C/_qxj1_/GR2"}).status == 0; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  run.Signal(SIGINT);
  EXPECT_EQ(run.Wait(), 130) << "quillex-run ends after SIGINT";
  EXPECT_EQ(ReadWhole(err), "Cancelled.\n");
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
  std::vector<float> doubled;
  for (double value : kGamma) doubled.push_back(static_cast<float>(value * 2));
  EXPECT_EQ(Curve("/A/B/C/_qxj1_/GR2/1"), doubled);
}

// Within float rounding of what was worked out here, missing just where
// that is; a curve all missing would match nothing worth checking.
void ExpectClose(const std::vector<float>& got, const std::vector<double>& wanted,
                 const char* what) {
  ASSERT_EQ(got.size(), wanted.size()) << what;
  int missing = 0;
  for (size_t k = 0; k < got.size(); ++k) {
    if (std::isnan(wanted[k])) {
      EXPECT_TRUE(std::isnan(got[k])) << what << " at " << k;
      ++missing;
    } else {
      EXPECT_NEAR(got[k], wanted[k], 1e-5 * std::max(1.0, std::fabs(wanted[k])))
          << what << " at " << k;
    }
  }
  EXPECT_LT(missing, static_cast<int>(got.size())) << what << ": every value missing";
}

// A job over a real LAS file imported with the dorvex tool, the written
// curves checked against values worked out here from the imported inputs.
using LasRun = ToolTest;

TEST_F(LasRun, AJobOverARealFileWritesWhatTheFormulasGive) {
  const char* folder = std::getenv("QUILLEX_LAS_DIR");
  std::string las = std::string(folder != nullptr ? folder : QUILLEX_LAS_FOLDER) + "/f03_02.las";
  if (!std::filesystem::exists(las)) GTEST_SKIP() << "no " << las;
  ToolResult imported = Dorvex({"import-las", las, "WELL:/F/L/W/LOGS"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  // The third output wants DT in microseconds per metre: the file's US/F are
  // converted as they are read.
  std::ofstream(home_ + "/jobs/las.qxj", std::ios::binary)
      << "[Job]\r\nOption=0\r\n"
         "[1]\r\noutput=TWICE,US/F,0,twice DT,0\r\nformula=DT*2\r\n"
         "[2]\r\noutput=MEAN,GAPI,0,left to right,0\r\nformula=DT+GR/2\r\n"
         "[3]\r\noutput=DTM,US/M,0,DT per metre,0\r\nformula=DT\r\nDTunits=US/M\r\n";
  ToolResult run = Run("quillex-run", {"las.qxj", "--input", "WELL: /F/L/W/LOGS", "--from",
                                       "1000", "--to", "3000"});
  ASSERT_EQ(run.status, 0) << run.err;

  // The outputs lie on the file's half foot from 1000 ft; the sample at the
  // bottom is not computed.
  const int32_t top = 1000 * 6000;
  const size_t count = (3000 - 1000) * 2;
  dorvex::DorvexItem input, grInput;
  std::vector<float> dt = Curve("/F/L/W/LOGS/DT/1", &input);
  std::vector<float> gr = Curve("/F/L/W/LOGS/GR/1", &grInput);
  ASSERT_EQ(input.step, 3000);
  ASSERT_EQ(grInput.top, input.top);
  ASSERT_EQ((top - input.top) % 3000, 0);
  const size_t first = static_cast<size_t>((top - input.top) / 3000);
  ASSERT_LE(first + count, std::min(dt.size(), gr.size()));
  std::vector<double> twice(count), mean(count), perMetre(count);
  for (size_t k = 0; k < count; ++k) {
    double d = dt[first + k];
    twice[k] = d * 2;
    mean[k] = (d + gr[first + k]) / 2;  // no precedence: (DT+GR)/2
    perMetre[k] = d / 0.3048;
  }
  // Each output from the top of the interval, as many samples as computed.
  auto expect = [&](const std::string& name, const std::vector<double>& wanted) {
    dorvex::DorvexItem output;
    ExpectClose(Curve("/F/L/W/_qxj1_/" + name + "/1", &output), wanted, name.c_str());
    EXPECT_EQ(output.top, top) << name;
  };
  expect("TWICE", twice);
  expect("MEAN", mean);
  expect("DTM", perMetre);
}

}  // namespace

}  // namespace quillex
