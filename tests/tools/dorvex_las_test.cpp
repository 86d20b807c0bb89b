// Drives the dorvex tool's LAS commands: what they print, the files they
// write, and that every failure leaves the database and the file system as
// they were.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "tests/tools/tool_runner.h"

namespace {

// Three depth steps of a gamma ray and a resistivity, in feet; STOP says
// more than the data holds.
const char kLas[] =
    "~Version\n VERS. 2.0 :\n WRAP. NO :\n"
    "~Well\n STRT.F 1000 : START\n STOP.F 1002 : STOP\n STEP.F 0.5 : STEP\n"
    " NULL. -999.25 :\n WELL. SMITH 1 : WELL\n"
    "~Curve\n DEPT.F : depth\n GR.GAPI : gamma ray\n ILD.OHMM : deep resistivity\n"
    "~A\n1000 10 1.5\n1000.5 -999.25 2.5\n1001 12 3.5\n";

class DorvexLasTool : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dorvex_las_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
    las_ = home_ + "/well.las";
    std::ofstream(las_) << kLas;
    ASSERT_EQ(Dorvex({"create", "WELL"}).status, 0);
  }
  void TearDown() override { std::filesystem::remove_all(home_); }

  ToolResult Dorvex(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--home", home_});
    return RunTool("dorvex", arguments);
  }

  std::string home_;
  std::string las_;
};

TEST_F(DorvexLasTool, ImportsListsAndExports) {
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

  std::string exported = home_ + "/out.las";
  ToolResult out = Dorvex(
      {"export-las", "WELL:/A/B/C/SET", exported, "--curves", "ILD,GR", "--null", "-9999.0"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out, "2 curves of 3 samples written to " + exported + "\n");
  std::string text = ReadWhole(exported);
  EXPECT_NE(text.find(" STOP.F 1001.0  : STOP DEPTH\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" NULL.  -9999   : NULL VALUE\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("~A\r\n 1000.0   1.5    10\r\n 1000.5   2.5 -9999\r\n"), std::string::npos)
      << text;

  ASSERT_EQ(Dorvex({"import-las", exported, "WELL:/A/B/C/BACK", "--pass", "3"}).status, 0);
  EXPECT_EQ(Dorvex({"cat", "WELL:/A/B/C/BACK/GR/3"}).out, "1000\t10\n1000.5\tnan\n1001\t12\n");
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
}

TEST_F(DorvexLasTool, WrapsAndResamples) {
  ASSERT_EQ(Dorvex({"import-las", las_, "WELL:/A/B/C/SET", "--step", "0.25"}).status, 0);
  EXPECT_EQ(Dorvex({"cat", "WELL:/A/B/C/SET/ILD/1"}).out,
            "1000\t1.5\n1000.25\t2\n1000.5\t2.5\n1000.75\t3\n1001\t3.5\n");
  std::string exported = home_ + "/out.las";
  ASSERT_EQ(Dorvex({"export-las", "WELL:/A/B/C/SET", exported, "--wrap"}).status, 0);
  std::string text = ReadWhole(exported);
  EXPECT_NE(text.find(" WRAP. YES : MULTIPLE LINES PER DEPTH STEP\r\n"), std::string::npos);
  EXPECT_NE(text.find("~A\r\n1000.00\r\n      10     1.5\r\n1000.25\r\n -999.25       2\r\n"),
            std::string::npos)
      << text;
}

TEST_F(DorvexLasTool, MistakesGetAMessageAnExitCodeAndWriteNothing) {
  std::string bad = home_ + "/bad.las";
  std::string text = kLas;
  std::ofstream(bad) << text.substr(0, text.find("~A"));
  std::string out = home_ + "/out.las";
  ASSERT_EQ(Dorvex({"import-las", las_, "WELL:/A/B/C/OLD"}).status, 0);
  struct Case {
    const char* why;
    std::vector<std::string> arguments;
    int status;
    std::string message;
  } cases[] = {
      {"malformed",
       {"import-las", bad, "WELL:/A/B/C/SET"},
       1,
       "dorvex: " + bad + ":13: no ~A section: the file holds no data; nothing written\n"},
      {"a curve that exists",
       {"import-las", las_, "WELL:/A/B/C/OLD"},
       1,
       "dorvex: " + las_ +
           ":12: cannot create the curve /A/B/C/OLD/GR/1: it exists; nothing "
           "written\n"},
      {"no such file",
       {"import-las", home_ + "/none.las", "WELL:/A/B/C/SET"},
       1,
       "dorvex: cannot read " + home_ + "/none.las\n"},
      {"no data set path",
       {"import-las", las_, "WELL:/A/B/C"},
       2,
       "import-las needs NAME:/L1/L2/L3/SET, four components of at most 10 characters"},
      {"a bad pass",
       {"import-las", las_, "WELL:/A/B/C/SET", "--pass", "0"},
       2,
       "--pass takes a whole number from 1"},
      {"a bad step",
       {"import-las", las_, "WELL:/A/B/C/SET", "--step", "-1"},
       2,
       "--step takes a depth or time above 0"},
      {"no FILE", {"import-las"}, 2, "import-las needs a FILE"},
      {"no FILE to export to", {"export-las", "WELL:/A/B/C/OLD"}, 2, "export-las needs a FILE"},
      {"an unknown option",
       {"export-las", "WELL:/A/B/C/OLD", out, "--pass", "1"},
       2,
       "unknown option '--pass' for export-las"},
      {"a bad NULL",
       {"export-las", "WELL:/A/B/C/OLD", out, "--null", "none"},
       2,
       "--null takes a number"},
      {"an unknown curve",
       {"export-las", "WELL:/A/B/C/OLD", out, "--curves", "GR,NOPE"},
       1,
       "dorvex: no curve NOPE in /A/B/C/OLD; nothing written\n"},
      {"no such set",
       {"export-las", "WELL:/A/B/C/NONE", out},
       1,
       "no data set /A/B/C/NONE in the database; nothing written"},
      {"an unwritable file",
       {"export-las", "WELL:/A/B/C/OLD", home_ + "/no/such/dir/x.las"},
       1,
       "cannot write " + home_ + "/no/such/dir/x.las; nothing written"},
  };
  std::string before = Dorvex({"ls", "WELL"}).out;
  for (const Case& c : cases) {
    ToolResult result = Dorvex(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.why << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.why << ": " << result.err;
    EXPECT_EQ(result.out, "") << c.why;
  }
  EXPECT_EQ(Dorvex({"ls", "WELL"}).out, before) << "nothing was written by the failures";
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  for (const auto& entry : std::filesystem::directory_iterator(home_)) {
    EXPECT_EQ(entry.path().string().find("out.las"), std::string::npos) << entry.path();
  }
}

}  // namespace
