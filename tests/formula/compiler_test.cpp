// Tests of the formula compiler: the compiled text and node list of good
// formulas, the messages of bad ones, the node limit, control ids, and the
// reset of a compiled form.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "formula/builtin_functions.h"
#include "formula/compiler.h"
#include "formula/dump.h"
#include "libs/sift32/sift32.h"
#include "model/job_list.h"
#include "tests/formula/formula_fixture.h"

namespace quillex {

namespace {

const char* const kInvalid = "Error in Formula - invalid operation";
const char* const kParenthesis = "Error in Formula - parenthesis do not match";
const char* const kEllipsis = "Error in Formula - please remove ', ...'";
const char* const kTooMany = "Error in Formula - too many variables";
const char* const kNegation =
    "Make sure parenthesis are around item to be negated, or results may not be correct";

std::string CompiledText(const OutputDef& output) {
  return output.compiled ? DumpCompiledText(*output.compiled) : "<none>";
}

// One node as "#code kind 'name'", then the value of a constant, and for a
// call the function, its argument texts between brackets separated by "|",
// and argCount/argValues.size().
std::string Describe(const VariableBinding& node) {
  std::string text =
      "#" + std::to_string(node.code) + " " + std::to_string(node.kind) + " '" + node.name + "'";
  if (node.kind == kNodeConstant) {
    char value[64];
    std::snprintf(value, sizeof value, " %.9g", static_cast<double>(node.value));
    text += value;
  }
  if (node.handler != nullptr) {
    text += std::string(" ") + node.handler->name + "[";
    for (size_t i = 0; i < node.arguments.size(); ++i) {
      if (i > 0) text += "|";
      const auto& compiled = node.arguments[i].compiled;
      text += compiled ? DumpCompiledText(*compiled) : "<none>";
    }
    text += "] " + std::to_string(node.argCount) + "/" + std::to_string(node.argValues.size());
  }
  return text;
}

std::vector<std::string> DescribeNodes(const OutputDef& output) {
  std::vector<std::string> lines;
  for (const auto& node : output.variables) lines.push_back(Describe(*node));
  return lines;
}

// "P1+P2+...+Pn" with each Pi the piece for i.
template <typename Piece>
std::string Joined(int count, Piece piece) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) text += "+";
    text += piece(i);
  }
  return text;
}

std::string Variables(int count) {
  return Joined(count, [](int i) { return "V" + std::to_string(i); });
}

// ---------------------------------------------------------------------------
// Good formulas: compiled text, node list and the notes on unary minus.

TEST(CompilerGoodFormulas, CompiledTextAndNodes) {
  struct Row {
    const char* name;
    std::string text;
    std::string compiled;
    std::vector<std::string> nodes;
    int notes;
  };
  const std::vector<Row> rows = {
      {"single variable", "A", "#128", {"#128 0 'A'"}, 0},
      {"unary minus is the constant -1 and a product", "-A", "#128*#129",
       {"#128 4 'Const' -1", "#129 0 'A'"}, 1},
      {"operators keep their source order", "A+B*C", "#128+#129*#130",
       {"#128 0 'A'", "#129 0 'B'", "#130 0 'C'"}, 0},
      {"sign behind an operator", "B+-A*C", "#128+#129*#130*#131",
       {"#128 0 'B'", "#129 4 'Const' -1", "#130 0 'A'", "#131 0 'C'"}, 1},
      {"minus minus", "A--B", "#128-#129*#130", {"#128 0 'A'", "#129 4 'Const' -1", "#130 0 'B'"},
       1},
      {"plus sign is copied", "+A", "+#128", {"#128 0 'A'"}, 0},
      {"blanks are dropped", "  ( A /  2 ) ", "(#128/#129)", {"#128 0 'A'", "#129 4 'Const' 2"},
       0},
      {"closing before opening passes on totals", "A)+(B", "#128)+(#129",
       {"#128 0 'A'", "#129 0 'B'"}, 0},
      {"variables ignore case and keep their first spelling", "gr+GR", "#128+#128",
       {"#128 0 'gr'"}, 0},
      {"other lengths, digits, points and function prefixes make names", "GR+GRA+A.2+SQRT2+MINX",
       "#128+#129+#130+#131+#132",
       {"#128 0 'GR'", "#129 0 'GRA'", "#130 0 'A.2'", "#131 0 'SQRT2'", "#132 0 'MINX'"}, 0},
      {"lone fraction", ".5", "#128", {"#128 4 'Const' 0.5"}, 0},
      {"second point ends the value", "2.5.3", "#128", {"#128 4 'Const' 2.5"}, 0},
      {"lone point reads as 0", ".", "#128", {"#128 4 'Const' 0"}, 0},
      {"numbers are rounded to float", "0.1", "#128", {"#128 4 'Const' 0.100000001"}, 0},
      {"equal numbers are two nodes, and Const names the first", "1+Const+1", "#128+#128+#129",
       {"#128 4 'Const' 1", "#129 4 'Const' 1"}, 0},
      {"scalar call", "SQRT(A)", "#129", {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0"}, 0},
      {"blank before the call's parenthesis, closing one behind it", "(sqrt (A))", "(#129)",
       {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0"}, 0},
      {"operator right behind a call", "LOG10(A)*2", "#129*#130",
       {"#128 0 'A'", "#129 2 '' LOG10[(#128)] 0/0", "#130 4 'Const' 2"}, 0},
      {"blank behind a call", "ABS(A) +B", "#129+#130",
       {"#128 0 'A'", "#129 2 '' ABS[(#128)] 0/0", "#130 0 'B'"}, 0},
      {"two-argument call", "POW(A,2)", "#130",
       {"#128 0 'A'", "#129 4 'Const' 2", "#130 2 '' POW[#128|#129] 0/0"}, 0},
      {"list call with one argument", "MAX(A)", "#129",
       {"#128 0 'A'", "#129 3 '' MAX[(#128)] 1/1"}, 0},
      {"list call with a nested comma", "AVG(A, POW(B,2))", "#132",
       {"#128 0 'A'", "#129 0 'B'", "#130 4 'Const' 2", "#131 2 '' POW[#129|#130] 0/0",
        "#132 3 '' AVG[#128|#131] 2/2"},
       0},
      {"list call with three arguments", "min(A,B,-C)", "#132",
       {"#128 0 'A'", "#129 0 'B'", "#130 4 'Const' -1", "#131 0 'C'",
        "#132 3 '' MIN[#128|#129|#130*#131] 3/3"},
       1},
      {"filter call", "FILTGAUS(A,5)", "#130",
       {"#128 0 'A'", "#129 4 'Const' 5", "#130 6 '' FILTGAUS[#128|#129] 0/0"}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    EXPECT_EQ(f.Compile(row.text), 1) << row.text;
    EXPECT_EQ(CompiledText(f.output), row.compiled) << row.text;
    EXPECT_EQ(DescribeNodes(f.output), row.nodes) << row.text;
    EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>(row.notes, kNegation)) << row.text;
  }
}

// ---------------------------------------------------------------------------
// Bad formulas: one message, and the nodes made before it stay.

TEST(CompilerBadFormulas, MessageAndNodesLeft) {
  struct Row {
    const char* name;
    std::string text;
    const char* message;
    size_t nodesLeft;
  };
  const std::vector<Row> rows = {
      {"empty text", "", kInvalid, 0},
      {"ends with an operator", "A+", kInvalid, 1},
      {"name right after a number", "2A", kInvalid, 1},
      {"number after a name", "A 2", kInvalid, 1},
      {"exponent notation", "1e5", kInvalid, 1},
      {"leading product", "*A", kInvalid, 0},
      {"quotient behind an operator", "A+/B", kInvalid, 1},
      {"empty parentheses", "()", kInvalid, 0},
      {"opening parenthesis after a name", "LOG1(A)", kInvalid, 1},
      {"opening parenthesis after a number", "2(A)", kInvalid, 1},
      {"parenthesis totals are checked before a missing operand", "(", kParenthesis, 0},
      {"surplus closing parenthesis", "A)", kParenthesis, 1},
      {"comma outside a call", "A,B", kInvalid, 1},
      {"other character after a number", "2%", kInvalid, 1},
      {"tab", "\tA", kInvalid, 0},
      {"non-ASCII byte", "A+\xB5", kInvalid, 1},
      {"list functions' template left in", "AVG(Curve1, Curve2, ...)", kEllipsis, 0},
      {"ellipsis wins over an earlier error", "*A...", kEllipsis, 0},
      {"variable spelled like a function", "min+1", kParenthesis, 0},
      {"function name ending the text", "SQRT", kInvalid, 0},
      {"two-argument function name ending the text", "POW", kInvalid, 0},
      {"call not closed", "SQRT(A", kParenthesis, 0},
      {"call ending the text inside parentheses", "(SQRT(A)", kParenthesis, 2},
      {"name behind a call", "SQRT(A)B", kInvalid, 2},
      {"surplus argument leaves a comma", "SQRT(A,B)", kInvalid, 1},
      {"missing argument leaves a parenthesis", "POW(A)", kParenthesis, 1},
      {"empty argument", "POW(A,)", kInvalid, 1},
      {"empty last list argument", "AVG(A,)", kInvalid, 1},
      {"comma inside nested parentheses", "AVG((A,B))", kInvalid, 1},
      {"compilation stops at the first error", "POW(A)+SQRT(B,C)", kParenthesis, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    EXPECT_EQ(f.Compile(row.text), 0) << row.text;
    EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>{row.message}) << row.text;
    EXPECT_EQ(f.output.variables.size(), row.nodesLeft) << row.text;
  }
}

TEST(CompilerMessages, NotesAreInformationErrorsStopTheScan) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("-A B -C"), 0);
  const auto& boxes = f.screen.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, kNegation);
  EXPECT_TRUE(boxes[0].IsInfo());
  EXPECT_EQ(boxes[1].text, kInvalid);
  EXPECT_TRUE(boxes[1].IsError());
  for (const auto& box : boxes) EXPECT_EQ(box.caption, "Quillex");
  EXPECT_EQ(f.output.variables.size(), 2u);
}

// ---------------------------------------------------------------------------
// The node limit: 128 nodes, whatever makes them.

TEST(CompilerNodeLimit, OneHundredTwentyEightNodesAndNoMore) {
  struct Row {
    const char* name;
    std::string text;
    bool compiles;
  };
  const std::vector<Row> rows = {
      {"128 variables", Variables(128), true},
      {"129th variable ending the text", Variables(129), false},
      {"129th variable before an operator", Variables(129) + "+1", false},
      {"129th node an argument of a call", Joined(65, [](int i) {
         return "SQRT(V" + std::to_string(i) + ")";
       }),
       false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    EXPECT_EQ(f.Compile(row.text), row.compiles ? 1 : 0);
    if (row.compiles) {
      EXPECT_TRUE(f.screen.boxes().empty());
      ASSERT_EQ(f.output.variables.size(), 128u);
      EXPECT_EQ(f.output.variables.back()->code, 255);
    } else {
      EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>{kTooMany});
    }
  }
}

// ---------------------------------------------------------------------------
// Every table function compiles by name in either case to the node of its
// kind, and no variable can bear its name.

TEST(CompilerCalls, EveryBuiltinFunctionCompilesToItsNodeKind) {
  int functions = 0;
  for (const BuiltinFunction* row = kBuiltinFunctions; row->name != nullptr; ++row) {
    ++functions;
    std::string upper = row->name;
    std::string lower;
    for (char c : upper) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
    int32_t expectedKind = row->kind == kListFunction     ? kNodeListFunction
                           : row->kind == kFilterFunction ? kNodeFilter
                                                          : kNodeFunction;
    size_t arguments = row->kind == kListFunction ? 1 : static_cast<size_t>(row->argumentCount);
    std::string list = "A";
    for (size_t i = 1; i < arguments; ++i) list += ",3";
    for (const std::string& name : {upper, lower}) {
      SCOPED_TRACE(name);
      FormulaFixture f;
      ASSERT_EQ(f.Compile(name + "(" + list + ")"), 1);
      const VariableBinding& call = *f.output.variables.back();
      EXPECT_EQ(call.kind, expectedKind);
      EXPECT_EQ(call.handler, row);
      EXPECT_EQ(call.arguments.size(), arguments);
      EXPECT_EQ(CompiledText(f.output), "#" + std::to_string(call.code));
    }
    FormulaFixture f;
    EXPECT_EQ(f.Compile(lower + "+1"), 0) << lower;
    EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>{kParenthesis}) << lower;
  }
  EXPECT_EQ(functions, 16);
}

// ---------------------------------------------------------------------------
// Control ids, and what CompileFormula and the reset do to the node list.

TEST(CompilerVariables, ControlIdsAndCodesAppendUntilTheReset) {
  FormulaFixture f;
  f.context.job.nextControlId = 20300;  // the reset starts it at 20200
  ASSERT_EQ(f.Compile("A+b+a+2+SQRT(C)"), 1);
  using Ids = std::array<int32_t, 4>;
  std::vector<Ids> ids;
  for (const auto& node : f.output.variables) ids.push_back(node->controlIds);
  // A, b, 2, C, SQRT: only variables take ids, four each.
  EXPECT_EQ(ids, (std::vector<Ids>{{20200, 20201, 20202, 20203},
                                   {20204, 20205, 20206, 20207},
                                   {0, 0, 0, 0},
                                   {20208, 20209, 20210, 20211},
                                   {0, 0, 0, 0}}));
  // CompileFormula itself appends to the list.
  ASSERT_EQ(CompileFormula(f.context, "c*D", f.output.compiled, f.output), 1);
  EXPECT_EQ(CompiledText(f.output), "#131*#133");
  EXPECT_EQ(f.Node(5).controlIds[0], 20212);
  // Compiling afresh after the reset starts codes and ids again.
  ASSERT_EQ(f.Compile("c*D"), 1);
  EXPECT_EQ(CompiledText(f.output), "#128*#129");
  EXPECT_EQ(DescribeNodes(f.output), (std::vector<std::string>{"#128 0 'c'", "#129 0 'D'"}));
  EXPECT_EQ(f.Node(0).controlIds[0], 20200);
  EXPECT_EQ(f.context.job.nextControlId, 20208);
}

TEST(CompilerReset, ReleasesFiltersNodesAndTextOfAFailedFormulaButKeepsTheFormula) {
  FormulaFixture f;
  f.output.name = "OUT";
  EXPECT_EQ(f.Compile("FILTGAUS(A,5)+"), 0);
  EXPECT_EQ(f.output.variables.size(), 3u);
  EXPECT_EQ(f.context.filters.InstanceCount(), 1u);
  EXPECT_EQ(f.context.job.nextControlId, 20204);

  ResetCompiledFormula(f.context, &f.output);
  EXPECT_EQ(f.context.filters.InstanceCount(), 0u);
  EXPECT_FALSE(f.output.compiled.has_value());
  EXPECT_TRUE(f.output.variables.empty());
  EXPECT_EQ(f.context.job.nextControlId, 20200);
  EXPECT_EQ(f.output.formula, "FILTGAUS(A,5)+");
  EXPECT_EQ(f.output.name, "OUT");
}

TEST(CompilerReset, WithoutAnOutputOnlyTheCounterIsReset) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTGAUS(A,5)"), 1);
  ResetCompiledFormula(f.context, nullptr);
  EXPECT_EQ(f.context.job.nextControlId, 20200);
  EXPECT_EQ(f.output.variables.size(), 3u);
  EXPECT_EQ(CompiledText(f.output), "#130");
  EXPECT_EQ(f.context.filters.InstanceCount(), 1u);
}

TEST(CompilerReset, DiscardAllOutputsReleasesEveryOutput) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTGAUS(A,5)"), 1);
  OutputDef& second = AppendOutput(f.context.job, std::make_unique<OutputDef>());
  ASSERT_EQ(CompileFormula(f.context, "FILTSQUARE(B,3)+FILTGAUS(C,2)", second.compiled, second),
            1);
  f.context.editor.gridWindows = {20200, 20204};
  ASSERT_EQ(f.context.filters.InstanceCount(), 3u);

  DiscardAllOutputs(f.context);  // f.output is gone from here on
  EXPECT_TRUE(f.context.job.outputs.empty());
  EXPECT_EQ(f.context.filters.InstanceCount(), 0u);
  EXPECT_TRUE(f.context.editor.gridWindows.empty());
}

// The formula builder removes the list functions' template with it.
TEST(CompilerRemoveFirstOccurrence, RemovesTheFirstOccurrenceOnly) {
  struct Row {
    std::string text;
    std::string part;
    size_t position;
    std::string result;
  };
  const std::vector<Row> rows = {
      {"AVG(Curve1, Curve2, ...)", ", ...", 18, "AVG(Curve1, Curve2)"},
      {"AB+AB", "AB", 0, "+AB"},
      {"sqrt(A)", "SQRT", std::string::npos, "sqrt(A)"},
  };
  for (const auto& row : rows) {
    std::string text = row.text;
    EXPECT_EQ(RemoveFirstOccurrence(text, row.part), row.position) << row.text;
    EXPECT_EQ(text, row.result) << row.text;
  }
}

}  // namespace

}  // namespace quillex
