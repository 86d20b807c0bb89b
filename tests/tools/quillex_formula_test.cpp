// Drives the built quillex-formula and compares what it prints: results,
// notes and errors, the --dump of the compiled nodes, and the command-line
// mistakes that exit 2.
#include <gtest/gtest.h>

#include "tests/tools/tool_runner.h"

namespace quillex {

namespace {

const char kNote[] =
    "note: Make sure parenthesis are around item to be negated, or results may not be correct\n";

// Standard error word for word; nullptr for a command-line mistake, whose
// message only has to name the tool.
TEST(QuillexFormula, CompilesTestsAndReports) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {"counter values", {"A+B"}, 0, "1.000000+2.000000 = 3.000000\n", ""},
      {"typed values, names without regard to case",
       {"A+B*C", "a=1", "B=2", "c=3"}, 0, "1.000000+2.000000*3.000000 = 9.000000\n", ""},
      {"value split at the first =", {"A", "A=2=3"}, 0, "2.000000 = 2.000000\n", ""},
      {"text that is no number takes the counter, and is told", {"A+B", "A=-5", "B=5"}, 0,
       "1.000000+5.000000 = 6.000000\n",
       "quillex-formula: note: A=-5 does not begin with a digit or a point, so A takes the next "
       "counter value, as in the formula editor's Test\n"},
      {"unary minus notes", {"-A", "A=4"}, 0, "-1.000000*4.000000 = -4.000000\n", kNote},
      {"math error box", {"A/(B-B)"}, 0, "1.000000/(2.000000-2.000000) = 0.000000\n",
       "error: Math error has occurred, result will be 0\n"},
      {"compile error", {"A+"}, 1, "", "error: Error in Formula - invalid operation\n"},
      {"parenthesis error", {"POW(A)"}, 1, "",
       "error: Error in Formula - parenthesis do not match\n"},
      // The interval state of an output never run is all zero: its minimum so far is 0.
      {"interval function in a report", {"--report", "MINIMUM(A, 3)", "A=5"}, 0,
       "0.000000 = 0.000000\n", ""},
      {"options end at --", {"--", "-A"}, 0, "-1.000000*1.000000 = -1.000000\n", kNote},
      {"dump", {"--dump", "FILTGAUS(GR, 5)+sqrt(gr)*0.1", "GR=4"}, 0,
       "compiled: #130+#131*#132\n"
       "#128 kind=0 name=GR value=0\n"
       "#129 kind=4 name=Const value=5\n"
       "#130 kind=6 name=- value=0 function=FILTGAUS args=2 filter=\"Gaussian,5.000000\"\n"
       "#131 kind=2 name=- value=0 function=SQRT args=1\n"
       "#132 kind=4 name=Const value=0.100000001\n"
       "4.000000+2.000000*0.100000 = 0.600000\n",
       ""},
      {"no formula", {}, 2, "", nullptr},
      {"unknown option", {"--bogus", "A"}, 2, "", nullptr},
      {"not NAME=TEXT", {"A", "B"}, 2, "", nullptr},
      {"no such variable", {"A", "B=1"}, 2, "", nullptr},
  };
  for (const Case& c : cases) {
    ToolResult result = RunTool("quillex-formula", c.arguments);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(result.out, c.out) << c.name;
    if (c.err != nullptr) {
      EXPECT_EQ(result.err, c.err) << c.name;
    } else {
      EXPECT_TRUE(Holds(result.err, "quillex-formula: ")) << c.name;
    }
  }
  ToolResult help = RunTool("quillex-formula", {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: quillex-formula", 0), 0u);
}

}  // namespace

}  // namespace quillex
