// tavlo from the command line: what it says and how it ends for each
// mistake (database, data set, presentation, options), and exports in the
// three formats, each a file of its kind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/tools/tool_runner.h"

namespace quillex {
namespace {

class Tavlo : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    ToolResult put = Dorvex({"put", "WELL:/A/B/C/SET1/GR/1", "--top", "1000", "--step", "0.5",
                             "--units", "GAPI"},
                            "10\n20\n30\n40\n50\n60\n70\n80\n90\n100\n110\n");
    ASSERT_EQ(put.status, 0) << put.err;
  }
  ToolResult Tool(std::vector<std::string> arguments) { return Run("tavlo", std::move(arguments)); }
  std::string Out(const std::string& name) { return folder_.File(name); }
};

TEST_F(Tavlo, MistakesAreToldAndEndTheRun) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string message;  // standard error, the first line
  } cases[] = {
      {{}, 2, "tavlo: give a database and a data set path"},
      {{"WELL"}, 2, "tavlo: give a database and a data set path"},
      {{"--export", "x.png", "WELL", "/A/B/C/SET1", "--width", "wide"}, 2,
       "tavlo: --width needs a whole number of pixels from 100 to 20000"},
      {{"--export", "x.gif", "WELL", "/A/B/C/SET1"}, 2, "tavlo: the export file must end in .png, .svg or .pdf"},
      {{"--export", "x.png", "WELL", "/A/B/C/SET1", "--from"}, 2, "tavlo: --from needs a value"},
      {{"WELL", "/A/B/C/SET1", "--from", "3"}, 2, "tavlo: --from, --to and --height go with --export"},
      {{"--export", "x.png", "WELL", "/A/B/C/SET1", "--colour", "red"}, 2, "tavlo: unknown option --colour"},
      {{"--export", "x.png", "NONE", "/A/B/C/SET1"}, 1, "tavlo: no database HOME/db/NONE.db"},
      {{"--export", "x.png", "WELL", "/A/B/C/SET2"}, 1, "tavlo: no data set /A/B/C/SET2 in HOME/db/WELL.db"},
      {{"--export", "x.png", "WELL", "/A/B/C/SET1", "--presentation", "GONE.PRS"}, 1,
       "tavlo: Presentation GONE.PRS not found in HOME/plots/"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    for (std::string& argument : arguments) {
      if (argument == "x.png" || argument == "x.gif") argument = Out(argument);
    }
    ToolResult result = Tool(arguments);
    std::string expected = c.message;
    if (size_t at = expected.find("HOME"); at != std::string::npos) expected.replace(at, 4, home_);
    EXPECT_EQ(result.status, c.status) << expected;
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')), expected);
    EXPECT_FALSE(std::filesystem::exists(Out("x.png"))) << "nothing written: " << expected;
  }
  ToolResult help = Tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(Holds(help.out, "usage: tavlo [--home DIR] DBFILE PATH [-go]"));
}

TEST_F(Tavlo, ExportsAreFilesOfTheirKind) {
  struct Case {
    const char* name;
    std::string start;  // the file's first bytes
  } cases[] = {
      {"plot.png", "\x89PNG\r\n"},
      {"plot.svg", "<?xml"},
      {"plot.pdf", "%PDF-"},
  };
  for (const Case& c : cases) {
    ToolResult result = Tool({"--export", Out(c.name), "WELL", "/A/B/C/SET1", "--width", "600"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "WELL: /A/B/C/SET1, 1000.0 to 1005.0 FT at 1:240, written to " + Out(c.name) + "\n");
    EXPECT_EQ(ReadWhole(Out(c.name)).substr(0, c.start.size()), c.start) << c.name;
  }
  // The PNG is as wide as asked: its IHDR holds the width, big-endian.
  std::string png = ReadWhole(Out("plot.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ((static_cast<unsigned char>(png[18]) << 8) | static_cast<unsigned char>(png[19]), 600);
  // A presentation naming a curve that is not there: told, and the plot made.
  std::ofstream(home_ + "/plots/LOGS.PRS") << "[Track]\n[Curve GR]\n[Curve NPHI]\n";
  ToolResult result = Tool({"--export", Out("p.png"), "WELL", "/A/B/C/SET1", "--presentation", "logs.prs",
                            "--from", "1001", "--to", "1004", "--height", "400"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "tavlo: Curve NPHI not found beside /A/B/C/SET1.\n");
  EXPECT_TRUE(Holds(result.out, "1001.0 to 1004.0 FT"));
}

}  // namespace
}  // namespace quillex
