// Drives the built dorvex tool: curves put, listed and read back; LAS files
// imported and exported, with what the commands print and the files they
// write; every mistake answered with its message and exit status, leaving
// the database and the file system as they were; and a recording followed
// from this process as a run would.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/tools/tool_runner.h"

namespace quillex {

namespace {

// Three depth steps of a gamma ray and a resistivity, in feet; STOP says
// more than the data holds.
const char kLas[] =
    "~Version\n VERS. 2.0 :\n WRAP. NO :\n"
    "~Well\n STRT.F 1000 : START\n STOP.F 1002 : STOP\n STEP.F 0.5 : STEP\n"
    " NULL. -999.25 :\n WELL. SMITH 1 : WELL\n"
    "~Curve\n DEPT.F : depth\n GR.GAPI : gamma ray\n ILD.OHMM : deep resistivity\n"
    "~A\n1000 10 1.5\n1000.5 -999.25 2.5\n1001 12 3.5\n";

class DorvexTool : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    las_ = home_ + "/well.las";
    out_ = home_ + "/out.las";
    std::ofstream(las_) << kLas;
  }
  std::string las_;
  std::string out_;
};

TEST_F(DorvexTool, PutListCatInfoCheck) {
  ToolResult put = Dorvex({"put", "WELL:/A/B/C/SET1/GR/1", "--top", "1000", "--step", "0.5",
                           "--units", "gapi", "--description", "gamma ray"},
                          "10 20\n30\tnan\n50\n");
  ASSERT_EQ(put.status, 0) << put.err;
  EXPECT_EQ(put.out, "5 samples written to /A/B/C/SET1/GR/1\n");

  ToolResult ls = Dorvex({"ls", "WELL:/a/b/c/set1"});
  EXPECT_EQ(ls.out,
            "      /A/B/C/SET1\n"
            "        /A/B/C/SET1/GR\n"
            "          /A/B/C/SET1/GR/1  1000 to 1002 ft  step 0.5  units GAPI  5 samples\n");
  ToolResult cat = Dorvex({"cat", "WELL:/A/B/C/SET1/GR/1", "--from", "1000.5", "--to", "1001.5"});
  EXPECT_EQ(cat.out, "1000.5\t20\n1001\t30\n1001.5\tnan\n");
  std::string info = Dorvex({"info", "WELL:/A/B/C/SET1/GR/*"}).out;
  for (const char* line : {"description\tgamma ray\n", "bottom\t6012000 (1002 ft)\n",
                           "step\t3000 (0.5 ft)\n"}) {
    EXPECT_TRUE(Holds(info, line));
  }
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
}

// One process records with `dorvex record`; this one reads the curve as it
// grows, and gets 32 past the recorded end until the recording is finished.
TEST_F(DorvexTool, ARecordingIsFollowedFromAnotherProcess) {
  std::string command = ToolCommand("dorvex", {"--home", home_, "record", "WELL:/A/B/C/D/GR/1",
                                               "--top", "100", "--step", "1", "--units", "GAPI",
                                               "--rate", "1000"}) +
                        " >/dev/null";
  FILE* recorder = ::popen(command.c_str(), "w");
  ASSERT_NE(recorder, nullptr);

  dorvex::DorvexLibrary library;
  ASSERT_EQ(dorvex::DorvexInitializeAt(library, home_), 1);
  uint32_t database = 0;
  uint32_t curve = 0;
  ASSERT_EQ(dorvex::DorvexOpenDatabase(library, home_ + "/db/WELL.db", 0, &database), 0);
  ASSERT_TRUE(WaitFor([&] {
    return dorvex::DorvexOpenCurve(library, database, "/A/B/C/D/GR/1", &curve, dorvex::kDorvexRead, nullptr) == 0;
  }));
  float value = 0;
  EXPECT_EQ(dorvex::DorvexReadSamples(library, curve, 600000, 1, &value), dorvex::kDorvexNotYetAvailable);
  for (int sample = 0; sample < 3; ++sample) {
    std::fprintf(recorder, "%d.5\n", sample);
    std::fflush(recorder);
    int32_t index = 600000 + sample * 6000;
    ASSERT_TRUE(WaitFor([&] { return dorvex::DorvexReadSamples(library, curve, index, 1, &value) == 0; }))
        << "sample " << sample;
    EXPECT_EQ(value, sample + 0.5F);
    EXPECT_EQ(dorvex::DorvexReadSamples(library, curve, index + 6000, 1, &value), dorvex::kDorvexNotYetAvailable);
  }
  EXPECT_EQ(::pclose(recorder), 0);
  ASSERT_TRUE(WaitFor([&] {
    return dorvex::DorvexQueryState(library, curve, 1073741400, 1073741400, 0, 0) == 0;
  })) << "the end closes when the input ends";
  EXPECT_EQ(dorvex::DorvexReadSamples(library, curve, 700000, 1, &value), 0);
  EXPECT_EQ(value, 2.5F) << "past a finished end: the last sample";
}

TEST_F(DorvexTool, ImportsListsAndExports) {
  ToolResult import = Dorvex({"import-las", las_, "WELL:/A/B/C/SET"});
  ASSERT_EQ(import.status, 0) << import.err;
  EXPECT_EQ(import.out, "2 curves of 3 samples imported from " + las_ + " to /A/B/C/SET, pass 1\n");
  EXPECT_EQ(import.err, "dorvex: " + las_ +
                            ":6: warning: STOP 1002 is not the data's last index "
                            "value, 1001; the data wins\n");
  EXPECT_EQ(Dorvex({"ls", "WELL:/A/B/C/SET/ILD"}).out,
            "        /A/B/C/SET/ILD\n"
            "          /A/B/C/SET/ILD/1  1000 to 1001 ft  step 0.5  units OHMM  3 samples\n");
  EXPECT_EQ(Dorvex({"cat", "WELL:/A/B/C/SET/GR/1"}).out, "1000\t10\n1000.5\tnan\n1001\t12\n");

  ToolResult out =
      Dorvex({"export-las", "WELL:/A/B/C/SET", out_, "--curves", "ILD,GR", "--null", "-9999.0"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out, "2 curves of 3 samples written to " + out_ + "\n");
  std::string text = ReadWhole(out_);
  EXPECT_TRUE(Holds(text, " STOP.F 1001.0  : STOP DEPTH\r\n"));
  EXPECT_TRUE(Holds(text, " NULL.  -9999   : NULL VALUE\r\n"));
  EXPECT_TRUE(Holds(text, "~A\r\n 1000.0   1.5    10\r\n 1000.5   2.5 -9999\r\n"));

  ASSERT_EQ(Dorvex({"import-las", out_, "WELL:/A/B/C/BACK", "--pass", "3"}).status, 0);
  EXPECT_EQ(Dorvex({"cat", "WELL:/A/B/C/BACK/GR/3"}).out, "1000\t10\n1000.5\tnan\n1001\t12\n");
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
}

TEST_F(DorvexTool, WrapsAndResamples) {
  ASSERT_EQ(Dorvex({"import-las", las_, "WELL:/A/B/C/SET", "--step", "0.25"}).status, 0);
  EXPECT_EQ(Dorvex({"cat", "WELL:/A/B/C/SET/ILD/1"}).out,
            "1000\t1.5\n1000.25\t2\n1000.5\t2.5\n1000.75\t3\n1001\t3.5\n");
  ASSERT_EQ(Dorvex({"export-las", "WELL:/A/B/C/SET", out_, "--wrap"}).status, 0);
  std::string text = ReadWhole(out_);
  EXPECT_TRUE(Holds(text, " WRAP. YES : MULTIPLE LINES PER DEPTH STEP\r\n"));
  EXPECT_TRUE(Holds(text, "~A\r\n1000.00\r\n      10     1.5\r\n1000.25\r\n -999.25       2\r\n"));
}

// What a user types, and the first line the tool answers: the highest pass
// when none is given, floats and depths in their shortest exact form, the
// units asked for, database names in any case.
TEST_F(DorvexTool, AnswersInPlainNumbers) {
  ASSERT_EQ(Dorvex({"put", "WELL:/A/B/C/SET/GR/1", "--top", "1000", "--step", "0.25", "--units",
                    "GAPI"},
                   "26.585 1").status,
            0);
  ASSERT_EQ(Dorvex({"put", "WELL:/A/B/C/SET/GR/2", "--top", "1000", "--step", "0.5", "--units",
                    "GAPI"},
                   "7").status,
            0);
  ASSERT_EQ(Dorvex({"put", "WELL:/A/B/C/SET/DT/1", "--metric", "--top", "0.05", "--step",
                    "0.1524", "--units", "US/M"},
                   "1 2").status,
            0);
  const struct {
    std::vector<std::string> arguments;
    std::string first;  // the first line printed
  } cases[] = {
      {{"cat", "WELL:/A/B/C/SET/GR/1"}, "1000\t26.585"},
      {{"cat", "WELL:/A/B/C/SET/GR"}, "1000\t7"},
      {{"info", "WELL:/A/B/C/SET/GR"}, "version\t1"},
      {{"cat", "wElL:/A/B/C/SET/GR/1", "--from", "1000.25"}, "1000.25\t1"},
      {{"cat", "WELL:/A/B/C/SET/DT/1", "--metric"}, "0.05\t1"},
      {{"ls", "WELL:/A/B/C/SET/DT/1", "--metric"},
       "          /A/B/C/SET/DT/1  0.05 to 0.2024 m  step 0.1524  units US/M  2 samples"},
      {{"ls", "WELL:/A/B/C/SET/DT/1", "--feet"},
       "          /A/B/C/SET/DT/1  0.164 to 0.664 ft  step 0.5  units US/M  2 samples"},
      {{"rm", "WELL:/A/B/C/SET/GR"}, "removed /A/B/C/SET/GR (3 items, 2 curves, 3 samples)"},
      {{"ls", "WELL:/A/B/C/SET"}, "      /A/B/C/SET"},
  };
  for (const auto& c : cases) {
    ToolResult result = Dorvex(c.arguments);
    EXPECT_EQ(result.status, 0) << c.arguments[1] << ": " << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')), c.first) << c.arguments[1];
  }
}

// The curve commands' mistakes and the LAS commands', over a database that
// holds one imported set.
TEST_F(DorvexTool, MistakesGetAMessageAnExitCodeAndWriteNothing) {
  std::string bad = home_ + "/bad.las";
  std::ofstream(bad) << std::string(kLas).substr(0, std::string(kLas).find("~A"));
  std::string none = home_ + "/none.las";
  std::string nowhere = home_ + "/no/such/dir/x.las";
  ASSERT_EQ(Dorvex({"import-las", las_, "WELL:/A/B/C/OLD"}).status, 0);
  struct Case {
    const char* why;
    std::vector<std::string> arguments;
    std::string input;
    int status;
    std::string message;
  } cases[] = {
      {"create twice", {"create", "WELL"}, "", 1, "cannot create database WELL"},
      {"no such database", {"ls", "NOPE"}, "", 1, "cannot open database NOPE"},
      {"no such curve", {"cat", "WELL:/A/B/C/D/GR/1"}, "", 1, "no curve /A/B/C/D/GR/1"},
      {"not a number", {"put", "WELL:/A/B/C/D/GR/1", "--top", "0", "--step", "1", "--units", "F"},
       "1 2 x 4", 1, "'x' on standard input is not a number; nothing written"},
      {"step too fine", {"put", "WELL:/A/B/C/D/GR/1", "--top", "0", "--step", "0", "--units", "F"},
       "1", 2, "--step must come to between 1 and 65535 index units"},
      {"too few components", {"put", "WELL:/A/B/GR/1", "--top", "0", "--step", "1", "--units", "F"},
       "1", 1, "cannot create curve /A/B/GR/1"},
      {"missing option", {"put", "WELL:/A/B/C/D/GR/1", "--top", "0"}, "", 2, "--step is required"},
      {"unknown command", {"frob", "WELL"}, "", 2, "unknown command 'frob'"},
      {"unknown option", {"cat", "WELL:/A/B/C/D/GR/1", "--bogus", "1"}, "", 2,
       "unknown option '--bogus' for cat"},
      {"path needed", {"info", "WELL"}, "", 2, "info needs NAME:PATH"},
      {"nothing to remove", {"rm", "WELL:/A/B/C/NOPE"}, "", 1, "no item /A/B/C/NOPE in WELL"},
      {"rate needed", {"record", "WELL:/A/B/C/D/GR/1", "--top", "0", "--step", "1", "--units", "F"},
       "", 2, "--rate must be a number of samples a second above 0"},
      {"malformed", {"import-las", bad, "WELL:/A/B/C/SET"}, "", 1,
       "dorvex: " + bad + ":13: no ~A section: the file holds no data; nothing written\n"},
      {"no such file", {"import-las", none, "WELL:/A/B/C/SET"}, "", 1,
       "dorvex: cannot read " + none + "\n"},
      {"no data set path", {"import-las", las_, "WELL:/A/B/C"}, "", 2,
       "import-las needs NAME:/L1/L2/L3/SET, four components of at most 10 characters"},
      {"a bad pass", {"import-las", las_, "WELL:/A/B/C/SET", "--pass", "0"}, "", 2,
       "--pass takes a whole number from 1"},
      {"a bad step", {"import-las", las_, "WELL:/A/B/C/SET", "--step", "-1"}, "", 2,
       "--step takes a depth or time above 0"},
      {"no FILE", {"import-las"}, "", 2, "import-las needs a FILE"},
      {"no FILE to export to", {"export-las", "WELL:/A/B/C/OLD"}, "", 2,
       "export-las needs a FILE"},
      {"an unknown export option", {"export-las", "WELL:/A/B/C/OLD", out_, "--pass", "1"}, "", 2,
       "unknown option '--pass' for export-las"},
      {"a bad NULL", {"export-las", "WELL:/A/B/C/OLD", out_, "--null", "none"}, "", 2,
       "--null takes a number"},
      {"an unknown curve", {"export-las", "WELL:/A/B/C/OLD", out_, "--curves", "GR,NOPE"}, "", 1,
       "dorvex: no curve NOPE in /A/B/C/OLD; nothing written\n"},
      {"an unwritable file", {"export-las", "WELL:/A/B/C/OLD", nowhere}, "", 1,
       "cannot write " + nowhere + "; nothing written"},
  };
  std::string before = Dorvex({"ls", "WELL"}).out;
  for (const Case& c : cases) {
    ToolResult result = Dorvex(c.arguments, c.input);
    EXPECT_EQ(result.status, c.status) << c.why << ": " << result.err;
    EXPECT_TRUE(Holds(result.err, c.message)) << c.why;
    EXPECT_EQ(result.out, "") << c.why;
  }
  EXPECT_EQ(Dorvex({"ls", "WELL"}).out, before) << "nothing was written by the failures";
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
  // Neither the file nor a half-written one beside it.
  for (const auto& entry : std::filesystem::directory_iterator(home_)) {
    EXPECT_EQ(entry.path().string().find("out.las"), std::string::npos) << entry.path();
  }
  EXPECT_EQ(RunTool("dorvex", {"--help"}).status, 0);
}

}  // namespace

}  // namespace quillex
