// Drives the built quillex-job: show prints a job as it is loaded, delete
// renumbers the outputs after the one it takes out, and mistakes get their
// message and exit status.
#include <gtest/gtest.h>

#include "tests/tools/tool_runner.h"

namespace quillex {

namespace {

class QuillexJob : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    std::ofstream(home_ + "/jobs/j.qxj", std::ios::binary)
        << "[0]\r\nformat=logplot\r\nscale=240\r\n[Job]\r\nOption=0\r\n"
           "[1]\r\noutput=GR2,GAPI,7,gamma,1500\r\nformula=GR*2\r\n"
           "GRunits=GAPI\r\nGRpath=WELL: /A/B/C/D/GR\r\n"
           "[2]\r\noutput=BAD,F,0,x,1500\r\nformula=A+\r\n"
           "[3]\r\noutput=SUM, ,0,s,3000\r\nformula=AVG(A, B)\r\n";
  }
  ToolResult Job(std::vector<std::string> arguments) {
    return Run("quillex-job", std::move(arguments));
  }
};

TEST_F(QuillexJob, ShowPrintsTheJobAsLoaded) {
  ToolResult shown = Job({"show", "j.qxj"});
  EXPECT_EQ(shown.status, 1) << "a formula does not compile";
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
  EXPECT_EQ(shown.err,
            "error: Error in Formula - invalid operation\n"
            "quillex-job: output 2 (BAD): the formula does not compile: A+\n");
}

TEST_F(QuillexJob, DeleteRenumbersAndRefusesWhatIsNotThere) {
  ToolResult deleted = Job({"delete", "j.qxj", "2"});
  EXPECT_EQ(deleted.status, 0);
  EXPECT_EQ(deleted.out, "deleted output 2 (BAD)\n");
  std::string after = Job({"show", "j.qxj"}).out;
  EXPECT_TRUE(Holds(after, "output 2: SUM"));
  EXPECT_EQ(after.find("BAD"), std::string::npos) << after;

  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* message;
  } cases[] = {
      {{"delete", "j.qxj", "3"}, 1, "the job has no output 3 (it has 2)"},
      {{"delete", "j.qxj", "two"}, 2, "N must be an output number"},
      {{"show", "missing.qxj"}, 1, "no job file"},
      {{"show", home_ + "/db/WELL.db"}, 1, "WELL.db is not a job file: it has no [Job] section"},
      {{"show", "./j.qxj"}, 1, "no job file"},  // from the working folder, not the job folder
      {{"show"}, 2, "show needs FILE"},
      {{"frob", "j.qxj"}, 2, "unknown command 'frob'"},
  };
  for (const Case& c : cases) {
    ToolResult result = Job(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.message;
    EXPECT_TRUE(Holds(result.err, c.message));
  }
}

// What a load would change without a word is said; a path with a folder is
// read from the working folder.
TEST_F(QuillexJob, WarnsOfWhatTheLoadChanges) {
  std::string file = home_ + "/odd.qxj";
  std::ofstream(file, std::ios::binary)
      << "[Job]\r\nOption=2\r\n[1]\r\noutput=GAMMA_RAY_2X,GAPI,0,g,1500\r\nformula=2\r\n";
  ToolResult shown = Run("quillex-job", {"show", file});
  EXPECT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.err,
            "quillex-job: warning: Option=2 is no run option (0 Generate Curve(s), 1 Generate "
            "Report): the job runs as Generate Curve(s)\n"
            "quillex-job: warning: output 1: the name GAMMA_RAY_2X is cut to its first 10 "
            "characters, GAMMA_RAY_\n");
}

}  // namespace

}  // namespace quillex
