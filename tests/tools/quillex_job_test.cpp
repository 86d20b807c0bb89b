// Drives the built quillex-job.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "tests/tools/tool_runner.h"

namespace {

class QuillexJob : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillex_job_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
    std::filesystem::create_directories(home_ + "/jobs");
    std::ofstream(home_ + "/jobs/j.qxj", std::ios::binary)
        << "[0]\r\nformat=logplot\r\nscale=240\r\n[Job]\r\nOption=0\r\n"
           "[1]\r\noutput=GR2,GAPI,7,gamma,1500\r\nformula=GR*2\r\n"
           "GRunits=GAPI\r\nGRpath=WELL: /A/B/C/D/GR\r\n"
           "[2]\r\noutput=BAD,F,0,x,1500\r\nformula=A+\r\n"
           "[3]\r\noutput=SUM, ,0,s,3000\r\nformula=AVG(A, B)\r\n";
  }
  void TearDown() override { std::filesystem::remove_all(home_); }

  ToolResult Job(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--home", home_});
    return RunTool("quillex-job", arguments);
  }

  std::string home_;
};

TEST_F(QuillexJob, ShowPrintsTheJobAsLoaded) {
  ToolResult shown = Job({"show", "j.qxj"});
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out,
            "job " + home_ + "/jobs/j.qxj\n"
            "run option 0 (Generate Curve(s))\n"
            "presentation LOGPLOT.PRS\n"
            "scale 240\n"
            "output 1: GR2        4     GR*2\n"
            "  units GAPI, data ID 7, description \"gamma\", step 1500, formula compiles\n"
            "  variable GR: units GAPI, source WELL: /A/B/C/D/GR\n"
            "output 2: BAD        4     A+\n"
            "  units F, data ID 0, description \"x\", step 1500, formula does not compile\n"
            "output 3: SUM        2     AVG(A, B)\n"
            "  units , data ID 0, description \"s\", step 3000, formula compiles\n"
            "  variable A: units -, source -\n"
            "  variable B: units -, source -\n");
  EXPECT_EQ(shown.err, "error: Error in Formula - invalid operation\n");
}

TEST_F(QuillexJob, DeleteRenumbersAndRefusesWhatIsNotThere) {
  ToolResult deleted = Job({"delete", "j.qxj", "2"});
  EXPECT_EQ(deleted.status, 0);
  EXPECT_EQ(deleted.out, "deleted output 2 (BAD)\n");
  std::string after = Job({"show", "j.qxj"}).out;
  EXPECT_NE(after.find("output 2: SUM"), std::string::npos) << after;
  EXPECT_EQ(after.find("BAD"), std::string::npos);

  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* message;
  } cases[] = {
      {{"delete", "j.qxj", "3"}, 1, "the job has no output 3 (it has 2)"},
      {{"delete", "j.qxj", "two"}, 2, "N must be an output number"},
      {{"show", "missing.qxj"}, 1, "no job file"},
      {{"show"}, 2, "show needs FILE"},
      {{"frob", "j.qxj"}, 2, "unknown command 'frob'"},
  };
  for (const Case& c : cases) {
    ToolResult result = Job(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
}

}  // namespace
