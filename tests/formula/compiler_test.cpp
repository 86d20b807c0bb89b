// Tests of the formula compiler: the lexical and order rules, the compiled
// text and node list of good formulas, the messages of bad ones, function
// calls with their argument splitting, filter instances, the node limit and
// the reset of a compiled form.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formula/builtin_functions.h"
#include "formula/compiler.h"
#include "formula/dump.h"
#include "formula/evaluator.h"
#include "job/job_list.h"
#include "libs/sift32/sift32.h"
#include "tests/formula/formula_fixture.h"

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

std::vector<std::string> ErrorTexts(const RecordingScreen& screen) {
  std::vector<std::string> texts;
  for (const auto& box : screen.boxes()) {
    if (box.IsError()) texts.push_back(box.text);
  }
  return texts;
}

int InfoCount(const RecordingScreen& screen) {
  int count = 0;
  for (const auto& box : screen.boxes()) count += box.IsInfo() ? 1 : 0;
  return count;
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
// Good formulas: compiled text and node list.

struct GoodCase {
  const char* name;
  std::string text;
  std::string compiled;
  std::vector<std::string> nodes;
  int notes;  // unary minus notes shown
};

TEST(CompilerGoodFormulas, CompiledTextAndNodes) {
  const std::vector<GoodCase> cases = {
      {"single variable", "A", "#128", {"#128 0 'A'"}, 0},
      {"unary minus is the constant -1 and a product", "-A", "#128*#129",
       {"#128 4 'Const' -1", "#129 0 'A'"}, 1},
      {"operators keep their source order", "A+B*C", "#128+#129*#130",
       {"#128 0 'A'", "#129 0 'B'", "#130 0 'C'"}, 0},
      {"sign behind a sum", "B+-A*C", "#128+#129*#130*#131",
       {"#128 0 'B'", "#129 4 'Const' -1", "#130 0 'A'", "#131 0 'C'"}, 1},
      {"sign behind a product", "B*-A", "#128*#129*#130",
       {"#128 0 'B'", "#129 4 'Const' -1", "#130 0 'A'"}, 1},
      {"sign behind a difference", "A--B", "#128-#129*#130",
       {"#128 0 'A'", "#129 4 'Const' -1", "#130 0 'B'"}, 1},
      {"two unary minus signs", "-A*-B", "#128*#129*#130*#131",
       {"#128 4 'Const' -1", "#129 0 'A'", "#130 4 'Const' -1", "#131 0 'B'"}, 2},
      {"plus sign is copied", "+A", "+#128", {"#128 0 'A'"}, 0},
      {"plus sign behind an operator is copied", "A++B", "#128++#129",
       {"#128 0 'A'", "#129 0 'B'"}, 0},
      {"unary minus inside parentheses", "(-A)", "(#128*#129)",
       {"#128 4 'Const' -1", "#129 0 'A'"}, 1},
      {"blanks are dropped", "  ( A /  2 ) ", "(#128/#129)",
       {"#128 0 'A'", "#129 4 'Const' 2"}, 0},
      {"division and difference", "A/B-C", "#128/#129-#130",
       {"#128 0 'A'", "#129 0 'B'", "#130 0 'C'"}, 0},
      {"nested parentheses", "((A))-B", "((#128))-#129", {"#128 0 'A'", "#129 0 'B'"}, 0},
      {"closing before opening passes on totals", "A)+(B", "#128)+(#129",
       {"#128 0 'A'", "#129 0 'B'"}, 0},
      {"variables ignore case", "gr+GR", "#128+#128", {"#128 0 'gr'"}, 0},
      {"variable keeps its first spelling", "Gr*gR-GR", "#128*#128-#128", {"#128 0 'Gr'"}, 0},
      {"names of other lengths are other variables", "GR+GRA+G", "#128+#129+#130",
       {"#128 0 'GR'", "#129 0 'GRA'", "#130 0 'G'"}, 0},
      {"points and digits inside names", "A.B+GR2+A.", "#128+#129+#130",
       {"#128 0 'A.B'", "#129 0 'GR2'", "#130 0 'A.'"}, 0},
      {"names that begin with a function's name", "SQRT2+MINX+Avg1", "#128+#129+#130",
       {"#128 0 'SQRT2'", "#129 0 'MINX'", "#130 0 'Avg1'"}, 0},
      {"lone fraction", ".5", "#128", {"#128 4 'Const' 0.5"}, 0},
      {"second point ends the value", "2.5.3", "#128", {"#128 4 'Const' 2.5"}, 0},
      {"lone point reads as 0", ".", "#128", {"#128 4 'Const' 0"}, 0},
      {"trailing point", "5.", "#128", {"#128 4 'Const' 5"}, 0},
      {"leading zeros", "007", "#128", {"#128 4 'Const' 7"}, 0},
      {"points run on in the number's text", "1..5*A", "#128*#129",
       {"#128 4 'Const' 1", "#129 0 'A'"}, 0},
      {"equal numbers are separate nodes", "1+1", "#128+#129",
       {"#128 4 'Const' 1", "#129 4 'Const' 1"}, 0},
      {"Const after a number is that number", "2+Const", "#128+#128", {"#128 4 'Const' 2"}, 0},
      {"const after a unary minus is the -1", "-A+const", "#128*#129+#128",
       {"#128 4 'Const' -1", "#129 0 'A'"}, 1},
      {"Const before any number is a variable", "Const+2", "#128+#129",
       {"#128 0 'Const'", "#129 4 'Const' 2"}, 0},
      {"scalar call", "SQRT(A)", "#129", {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0"}, 0},
      {"blank between name and parenthesis", "sqrt (A) + B", "#129+#130",
       {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0", "#130 0 'B'"}, 0},
      {"two-argument call", "POW(A,2)", "#130",
       {"#128 0 'A'", "#129 4 'Const' 2", "#130 2 '' POW[#128|#129] 0/0"}, 0},
      {"one variable twice in a call", "pow(a, A)", "#129",
       {"#128 0 'a'", "#129 2 '' POW[#128|#128] 0/0"}, 0},
      {"call of a call", "SQRT(SQRT(A))", "#130",
       {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0", "#130 2 '' SQRT[(#129)] 0/0"}, 0},
      {"call inside parentheses", "(SQRT(A))", "(#129)",
       {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0"}, 0},
      {"call of a known variable", "A*SQRT(a)", "#128*#129",
       {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0"}, 0},
      {"call followed by an operator", "LOG10(A)*2", "#129*#130",
       {"#128 0 'A'", "#129 2 '' LOG10[(#128)] 0/0", "#130 4 'Const' 2"}, 0},
      {"call followed by a blank", "ABS(A) ", "#129",
       {"#128 0 'A'", "#129 2 '' ABS[(#128)] 0/0"}, 0},
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
      {"list call with a parenthesised argument", "AVG(A,(B+C))", "#131",
       {"#128 0 'A'", "#129 0 'B'", "#130 0 'C'", "#131 3 '' AVG[#128|(#129+#130)] 2/2"}, 0},
      {"interval function with blanks", "AVERAGE( A , B )", "#130",
       {"#128 0 'A'", "#129 0 'B'", "#130 3 '' AVERAGE[#128|#129] 2/2"}, 0},
      {"filter call", "FILTGAUS(A,5)", "#130",
       {"#128 0 'A'", "#129 4 'Const' 5", "#130 6 '' FILTGAUS[#128|#129] 0/0"}, 0},
      {"two calls of one function are two nodes", "SQRT(A)+SQRT(A)", "#129+#130",
       {"#128 0 'A'", "#129 2 '' SQRT[(#128)] 0/0", "#130 2 '' SQRT[(#128)] 0/0"}, 0},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    EXPECT_EQ(f.Compile(row.text), 1) << row.text;
    EXPECT_EQ(CompiledText(f.output), row.compiled) << row.text;
    EXPECT_EQ(DescribeNodes(f.output), row.nodes) << row.text;
    EXPECT_TRUE(ErrorTexts(f.screen).empty()) << row.text;
    EXPECT_EQ(InfoCount(f.screen), row.notes) << row.text;
  }
}

TEST(CompilerGoodFormulas, CodesRiseFromOneHundredTwentyEightAlongTheList) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("A+-2*POW(B, SQRT(C))+AVG(D,E)+FILTSQUARE(A,3)"), 1);
  ASSERT_EQ(f.output.variables.size(), 12u);
  for (size_t i = 0; i < f.output.variables.size(); ++i) {
    EXPECT_EQ(f.Node(i).code, 128 + i) << i;
  }
}

TEST(CompilerGoodFormulas, CompiledTextHoldsOnlyCodesOperatorsAndParentheses) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile(" ( A + B ) * - C / SQRT ( D ) "), 1);
  for (char c : *f.output.compiled) {
    auto byte = static_cast<unsigned char>(c);
    EXPECT_TRUE(byte >= 128 || std::string("+-*/()").find(c) != std::string::npos)
        << "byte " << static_cast<int>(byte);
  }
  EXPECT_EQ(CompiledText(f.output), "(#128+#129)*#130*#131/#133");
}

// Numbers are rounded to single precision when compiled.
TEST(CompilerGoodFormulas, ConstantsAreRoundedToFloat) {
  struct Row {
    std::string text;
    std::string stored;  // the stored float widened and printed with %.15g
  };
  const std::vector<Row> rows = {
      {"0.1", "0.100000001490116"},
      {"0.2", "0.200000002980232"},
      {"16777217", "16777216"},
      {"3.14159265358979", "3.14159274101257"},
      {"1.5", "1.5"},
  };
  for (const auto& row : rows) {
    FormulaFixture f;
    ASSERT_EQ(f.Compile(row.text), 1) << row.text;
    ASSERT_EQ(f.output.variables.size(), 1u) << row.text;
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.15g", static_cast<double>(f.Node(0).value));
    EXPECT_EQ(std::string(printed), row.stored) << row.text;
  }
}

// The compiled text keeps the source order; the evaluator applies it from
// left to right, which is what these values show.
TEST(CompilerGoodFormulas, CompiledTextEvaluatesLeftToRight) {
  struct Row {
    const char* name;
    std::string text;
    std::map<std::string, float> values;
    double expected;
  };
  const std::vector<Row> rows = {
      {"negation", "-A", {{"A", 3}}, -3},
      {"sign behind a product", "B*-A", {{"B", 2}, {"A", 3}}, -6},
      {"sign behind a sum takes the pending sum first", "B+-A*C", {{"B", 2}, {"A", 3}, {"C", 4}},
       12},
      {"no precedence", "A+B*C", {{"A", 1}, {"B", 2}, {"C", 3}}, 9},
      {"parentheses group", "A+(B*C)", {{"A", 1}, {"B", 2}, {"C", 3}}, 7},
      {"minus minus", "A--B", {{"A", 5}, {"B", 2}}, 12},
      {"plus sign", "+A", {{"A", 4}}, 4},
      {"closing before opening", "A)+(B", {{"A", 5}, {"B", 7}}, 5},
      {"one variable in two spellings", "x*X", {{"x", 3}}, 9},
      {"numbers", "2.5.3*A+.5", {{"A", 2}}, 5.5},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    ASSERT_EQ(f.Compile(row.text), 1) << row.text;
    for (auto& node : f.output.variables) {
      if (node->kind != kNodeInput) continue;
      auto found = row.values.find(node->name);
      ASSERT_NE(found, row.values.end()) << node->name;
      node->value = found->second;
    }
    EXPECT_DOUBLE_EQ(EvaluateFormula(f.context, f.output, *f.output.compiled, 0), row.expected)
        << row.text;
  }
}

// ---------------------------------------------------------------------------
// Bad formulas: one message each, and the nodes made before it stay.

struct BadCase {
  const char* name;
  std::string text;
  const char* message;
  size_t nodesLeft;  // nodes created before the error
};

TEST(CompilerBadFormulas, MessageAndNodesLeft) {
  const std::vector<BadCase> cases = {
      // Empty text and formulas ending where an operand is expected.
      {"empty text", "", kInvalid, 0},
      {"only blanks", "   ", kInvalid, 0},
      {"ends with an operator", "A+", kInvalid, 1},
      {"ends with a product", "A*", kInvalid, 1},
      {"only a minus sign", "-", kInvalid, 1},
      {"only a plus sign", "+", kInvalid, 0},
      {"ends with a sign", "A*-", kInvalid, 2},
      // Misplaced operands.
      {"name right after a number", "2A", kInvalid, 1},
      {"number after a name", "A 2", kInvalid, 1},
      {"two names", "A B", kInvalid, 1},
      {"two numbers", "2 3", kInvalid, 1},
      {"exponent notation", "1e5", kInvalid, 1},
      {"exponent after a blank", "1 e5", kInvalid, 1},
      {"name after a closing parenthesis", "(A)B", kInvalid, 1},
      {"number after a closing parenthesis", "(A)2", kInvalid, 1},
      {"call after a closing parenthesis", "(A)SQRT(B)", kInvalid, 1},
      // Misplaced operators.
      {"leading product", "*A", kInvalid, 0},
      {"leading quotient", "/A", kInvalid, 0},
      {"two products", "A**B", kInvalid, 1},
      {"quotient behind a sum", "A+/B", kInvalid, 1},
      {"product behind an opening parenthesis", "(*A)", kInvalid, 0},
      // Misplaced parentheses.
      {"closing parenthesis first", ")A", kInvalid, 0},
      {"opening parenthesis after a name", "A(", kInvalid, 1},
      {"opening parenthesis after a number", "2(", kInvalid, 1},
      {"opening parenthesis after a closing one", "(A)(B)", kInvalid, 1},
      {"empty parentheses", "()", kInvalid, 0},
      {"empty parentheses after an operator", "A+()", kInvalid, 1},
      {"closing parenthesis behind an operator", "(A+)", kInvalid, 1},
      // Parenthesis totals; they are tested before a missing operand.
      {"only an opening parenthesis", "(", kParenthesis, 0},
      {"unclosed parenthesis", "(A", kParenthesis, 1},
      {"one closing short", "((A)", kParenthesis, 1},
      {"surplus closing parenthesis", "A)", kParenthesis, 1},
      {"operator and opening parenthesis at the end", "A*(", kParenthesis, 1},
      // Characters outside the language.
      {"underscore", "A_B", kInvalid, 1},
      {"comma outside a call", "A,B", kInvalid, 1},
      {"equals sign", "A=B", kInvalid, 1},
      {"caret", "A^2", kInvalid, 1},
      {"percent after a number", "2%", kInvalid, 1},
      {"tab between operands", "A\t+B", kInvalid, 1},
      {"tab at the start", "\tA", kInvalid, 0},
      {"tab at the end", "A+B\t", kInvalid, 2},
      {"tab after an operator", "A+\tB", kInvalid, 1},
      {"newline at the end", "A\n", kInvalid, 1},
      {"carriage return after an operator", "A+\r", kInvalid, 1},
      {"non-ASCII letter alone", "\xC3\xA9", kInvalid, 0},
      {"non-ASCII letter after a name", "A\xC3\xA9", kInvalid, 1},
      {"non-ASCII sign after an operator", "A+\xB5", kInvalid, 1},
      {"non-ASCII sign before a name", "\xB5" "A", kInvalid, 0},
      {"non-ASCII after a number", "2\xC2\xB0", kInvalid, 1},
      // The list functions' template left in the text.
      {"ellipsis in a list call", "AVG(Curve1, Curve2, ...)", kEllipsis, 0},
      {"ellipsis alone", "...", kEllipsis, 0},
      {"ellipsis inside a name", "A...B", kEllipsis, 0},
      {"ellipsis wins over an earlier error", "*A...", kEllipsis, 0},
      {"four points hold an ellipsis", "2....", kEllipsis, 0},
      // Function names without a parenthesised argument list.
      {"name followed by an operator", "SQRT+1", kParenthesis, 0},
      {"variable spelled like a function", "min+1", kParenthesis, 0},
      {"name followed by a name", "SQRT A", kParenthesis, 0},
      {"closing parenthesis before the opening one", "SQRT)A(", kParenthesis, 0},
      {"name at the end of the text", "SQRT", kInvalid, 0},
      {"name and a blank at the end", "SQRT ", kInvalid, 0},
      {"name at the end after an operand", "A+sqrt", kInvalid, 1},
      {"two-argument name at the end", "POW", kInvalid, 0},
      {"name with digits not a function", "LOG1(A)", kInvalid, 1},
      {"variable with a function's prefix called", "SQRT2(A)", kInvalid, 1},
      // Calls whose ")" is missing or surplus.
      {"call not closed", "SQRT(A", kParenthesis, 0},
      {"call with one closing short", "SQRT((A)", kParenthesis, 0},
      {"call not closed after an operand", "A+SQRT(B", kParenthesis, 1},
      {"call ending the text inside parentheses", "(SQRT(A)", kParenthesis, 2},
      {"surplus parenthesis after a call", "SQRT(A))", kParenthesis, 2},
      // What may follow a call.
      {"name after a call", "SQRT(A)B", kInvalid, 2},
      {"number after a call", "SQRT(A)2", kInvalid, 2},
      {"point after a call", "SQRT(A).5", kInvalid, 2},
      {"opening parenthesis after a call", "SQRT(A)(B)", kInvalid, 2},
      {"name after a call and a blank", "SQRT(A) B", kInvalid, 2},
      {"tab after a call", "SQRT(A)\t", kInvalid, 2},
      // Argument counts of fixed-count functions.
      {"surplus argument leaves a comma", "SQRT(A,B)", kInvalid, 1},
      {"missing argument leaves a parenthesis", "POW(A)", kParenthesis, 1},
      {"missing filter interval", "FILTGAUS(A)", kParenthesis, 1},
      {"surplus second argument", "POW(A,B,C)", kInvalid, 2},
      {"empty second argument", "POW(A,)", kInvalid, 1},
      {"empty first argument", "POW(,B)", kInvalid, 0},
      {"no arguments of a two-argument call", "POW()", kInvalid, 0},
      {"no argument of a one-argument call", "SQRT()", kInvalid, 0},
      {"bad argument", "SQRT(A+)", kInvalid, 1},
      // List functions.
      {"list call without arguments", "AVG()", kInvalid, 0},
      {"list call with an empty last argument", "AVG(A,)", kInvalid, 1},
      {"list call with an empty first argument", "AVG(,A)", kInvalid, 0},
      {"comma inside nested parentheses", "AVG((A,B))", kInvalid, 1},
      {"interval function name at the end", "A*MAXIMUM", kInvalid, 1},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    EXPECT_EQ(f.Compile(row.text), 0) << row.text;
    EXPECT_EQ(ErrorTexts(f.screen), std::vector<std::string>{row.message}) << row.text;
    ASSERT_FALSE(f.screen.boxes().empty());
    EXPECT_EQ(f.screen.boxes().back().text, row.message) << row.text;
    EXPECT_EQ(f.output.variables.size(), row.nodesLeft) << row.text;
  }
}

TEST(CompilerBadFormulas, CompilationStopsAtTheFirstError) {
  struct Row {
    std::string text;
    std::vector<std::string> boxes;
    size_t nodesLeft;
  };
  const std::vector<Row> rows = {
      {"A B C D", {kInvalid}, 1},
      {"2A+*B(", {kInvalid}, 1},
      {"SQRT(A,B)+POW(C)+(", {kInvalid}, 1},
      {"POW(A)+SQRT(B,C)", {kParenthesis}, 1},
      {"-A B -C", {kNegation, kInvalid}, 2},
      {"A+B C+-D", {kInvalid}, 2},
      {"AVG(A,-B,) + -C", {kNegation, kInvalid}, 3},
  };
  for (const auto& row : rows) {
    FormulaFixture f;
    EXPECT_EQ(f.Compile(row.text), 0) << row.text;
    EXPECT_EQ(f.screen.BoxTexts(), row.boxes) << row.text;
    EXPECT_EQ(f.output.variables.size(), row.nodesLeft) << row.text;
  }
}

TEST(CompilerMessages, BoxesHaveTheCaptionAndTheirIcon) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("-A+B*"), 0);
  const auto& boxes = f.screen.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, kNegation);
  EXPECT_EQ(boxes[0].caption, "Quillex");
  EXPECT_TRUE(boxes[0].IsInfo());
  EXPECT_EQ(boxes[1].text, kInvalid);
  EXPECT_EQ(boxes[1].caption, "Quillex");
  EXPECT_TRUE(boxes[1].IsError());
}

TEST(CompilerMessages, EveryUnaryMinusShowsItsNote) {
  struct Row {
    std::string text;
    int notes;
  };
  const std::vector<Row> rows = {
      {"A-B", 0},          {"-A", 1},          {"-A+-B", 2},     {"-A*-B--C", 3},
      {"(-A)", 1},         {"SQRT(-A)", 1},    {"POW(-A,-2)", 2}, {"-(-(-A))", 3},
      {"A-(B-C)", 0},      {"AVG(-A,B,-C)", 2},
  };
  for (const auto& row : rows) {
    FormulaFixture f;
    EXPECT_EQ(f.Compile(row.text), 1) << row.text;
    EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>(row.notes, kNegation)) << row.text;
  }
}

// ---------------------------------------------------------------------------
// Variables and their grid control ids.

TEST(CompilerVariables, TakeFourControlIdsEach) {
  FormulaFixture f;
  f.context.job.nextControlId = 20300;  // the fixture's reset starts it at 20200
  ASSERT_EQ(f.Compile("A+b+a+2+SQRT(C)-B"), 1);
  ASSERT_EQ(f.output.variables.size(), 5u);
  using Ids = std::array<int32_t, 4>;
  EXPECT_EQ(f.Node(0).controlIds, (Ids{20200, 20201, 20202, 20203}));  // A
  EXPECT_EQ(f.Node(1).controlIds, (Ids{20204, 20205, 20206, 20207}));  // b
  EXPECT_EQ(f.Node(2).controlIds, (Ids{0, 0, 0, 0}));                  // 2
  EXPECT_EQ(f.Node(3).controlIds, (Ids{20208, 20209, 20210, 20211}));  // C
  EXPECT_EQ(f.Node(4).controlIds, (Ids{0, 0, 0, 0}));                  // SQRT
  EXPECT_EQ(f.context.job.nextControlId, 20212);
}

TEST(CompilerVariables, NewNodesStartZeroFilled) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("A"), 1);
  const VariableBinding& node = f.Node(0);
  EXPECT_EQ(node.kind, kNodeInput);
  EXPECT_EQ(node.handler, nullptr);
  EXPECT_EQ(node.filter, 0u);
  EXPECT_EQ(node.value, 0.0F);
  EXPECT_EQ(node.units, 0);
  EXPECT_EQ(node.curve, 0u);
  EXPECT_TRUE(node.database.empty());
  EXPECT_TRUE(node.path.empty());
  EXPECT_TRUE(node.arguments.empty());
}

// CompileFormula itself appends to the list; only the reset empties it.
TEST(CompilerVariables, ASecondCompilationAppendsToTheList) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("A+B"), 1);
  ASSERT_EQ(CompileFormula(f.context, "b*C", f.output.compiled, f.output), 1);
  EXPECT_EQ(CompiledText(f.output), "#129*#130");
  EXPECT_EQ(DescribeNodes(f.output),
            (std::vector<std::string>{"#128 0 'A'", "#129 0 'B'", "#130 0 'C'"}));
  EXPECT_EQ(f.Node(2).controlIds[0], 20208);
  EXPECT_EQ(f.context.job.nextControlId, 20212);
}

// ---------------------------------------------------------------------------
// The node limit: 128 nodes, whatever makes them.

struct LimitCase {
  const char* name;
  std::string text;
  bool compiles;
  int notes;
};

TEST(CompilerNodeLimit, OneHundredTwentyEightNodesAndNoMore) {
  const auto calls = [](int count) {
    return Joined(count, [](int i) { return "SQRT(V" + std::to_string(i) + ")"; });
  };
  const auto powers = [](int count) {
    return Joined(count, [](int i) { return "POW(V" + std::to_string(i) + ",2)"; });
  };
  const auto negations = [](int count) {
    return Joined(count, [](int i) { return "-V" + std::to_string(i); });
  };
  const auto numbers = [](int count) {
    return Joined(count, [](int i) { return std::to_string(i); });
  };
  const std::vector<LimitCase> cases = {
      {"128 variables", Variables(128), true, 0},
      {"129 variables, the last one ending the text", Variables(129), false, 0},
      {"129 variables, the last one before an operator", Variables(129) + "+1", false, 0},
      {"128 variables and a number", Variables(128) + "*2", false, 0},
      {"128 variables spelled twice", Variables(128) + "+" + Variables(128), true, 0},
      {"128 numbers", numbers(128), true, 0},
      {"129 numbers", numbers(129), false, 0},
      {"64 negated variables", negations(64), true, 64},
      {"65th minus sign is one too many", negations(64) + "+-V65", false, 65},
      {"64 calls with arguments", calls(64), true, 0},
      {"65 calls, the extra argument too many", calls(65), false, 0},
      {"127 variables and a call", Variables(127) + "+SQRT(V1)", true, 0},
      {"128 variables and a call ending the text", Variables(128) + "+SQRT(V1)", false, 0},
      {"128 variables and a call before an operator", Variables(128) + "+SQRT(V1)*V2", false,
       0},
      {"42 two-argument calls and a negation", powers(42) + "+-W", true, 1},
      {"42 two-argument calls, a negation and a name", powers(42) + "+-W+X", false, 1},
      {"list calls", Joined(32, [](int i) {
         return "AVG(V" + std::to_string(i) + ",1,2)";
       }),
       true, 0},
      {"list calls and one more", Joined(32, [](int i) {
         return "AVG(V" + std::to_string(i) + ",1,2)";
       }) + "+Z",
       false, 0},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    int result = f.Compile(row.text);
    EXPECT_EQ(InfoCount(f.screen), row.notes);
    if (row.compiles) {
      EXPECT_EQ(result, 1);
      EXPECT_TRUE(ErrorTexts(f.screen).empty());
      ASSERT_EQ(f.output.variables.size(), 128u);
      EXPECT_EQ(f.output.variables.back()->code, 255);
    } else {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(ErrorTexts(f.screen), std::vector<std::string>{kTooMany});
      ASSERT_FALSE(f.screen.boxes().empty());
      EXPECT_EQ(f.screen.boxes().back().text, kTooMany);
    }
  }
}

TEST(CompilerNodeLimit, TheLastCodeIs255) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile(Variables(128)), 1);
  std::string expected = Joined(128, [](int i) { return "#" + std::to_string(127 + i); });
  EXPECT_EQ(CompiledText(f.output), expected);
  EXPECT_EQ(f.Node(127).name, "V128");
  EXPECT_EQ(f.context.job.nextControlId, 20200 + 4 * 128);
}

// ---------------------------------------------------------------------------
// Function calls: every table function, by name in any case.

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
      EXPECT_EQ(call.name, "");
      EXPECT_EQ(call.arguments.size(), arguments);
      EXPECT_EQ(CompiledText(f.output), "#" + std::to_string(call.code));
    }
    // A variable cannot bear a function's name.
    FormulaFixture f;
    EXPECT_EQ(f.Compile(lower + "+1"), 0) << lower;
    EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>{kParenthesis}) << lower;
  }
  EXPECT_EQ(functions, 16);
}

TEST(CompilerCalls, ListFunctionsCountTopLevelCommas) {
  struct Row {
    std::string text;
    int32_t count;
  };
  const std::vector<Row> rows = {
      {"AVG(A)", 1},
      {"AVG(A,B)", 2},
      {"AVG(A, POW(B,2))", 2},
      {"MAX(POW(A,2), POW(B,3), C)", 3},
      {"MIN((A),(B),(C),(D))", 4},
      {"MAXIMUM(AVG(A,B,C))", 1},
      {"MINIMUM( A , B , C , D , E )", 5},
      {"AVERAGE(FILTGAUS(A,3),B)", 2},
  };
  for (const auto& row : rows) {
    FormulaFixture f;
    ASSERT_EQ(f.Compile(row.text), 1) << row.text;
    const VariableBinding& call = *f.output.variables.back();
    EXPECT_EQ(call.kind, kNodeListFunction) << row.text;
    EXPECT_EQ(call.argCount, row.count) << row.text;
    EXPECT_EQ(call.arguments.size(), static_cast<size_t>(row.count)) << row.text;
    EXPECT_EQ(call.argValues, std::vector<double>(static_cast<size_t>(row.count), 0.0))
        << row.text;
  }
}

// ---------------------------------------------------------------------------
// Filter calls: one instance each, from the second argument as it stands.

TEST(CompilerFilters, CallCreatesAnInstanceFromItsInterval) {
  struct Row {
    std::string text;
    std::string filterText;  // the text the instance was created from
  };
  const std::vector<Row> rows = {
      {"FILTGAUS(A,5)", "Gaussian,5.000000"},
      {"FILTSQUARE(A,2.5)", "Square,2.500000"},
      {"filtsquare(A, 1+2*3)", "Square,9.000000"},
      {"FiltGaus(A,(4))", "Gaussian,4.000000"},
      {"FILTGAUS(A,B)", "Gaussian,0.000000"},
      // A call in the interval is read as it stands: it has not been evaluated.
      {"FILTSQUARE(A*2, POW(2,3))", "Square,0.000000"},
      {"FILTGAUS(A,-3)", "Gaussian,-3.000000"},
  };
  for (const auto& row : rows) {
    FormulaFixture f;
    ASSERT_EQ(f.Compile(row.text), 1) << row.text;
    const VariableBinding& call = *f.output.variables.back();
    EXPECT_EQ(call.kind, kNodeFilter) << row.text;
    EXPECT_NE(call.filter, 0u) << row.text;
    EXPECT_EQ(Sift32Specification(f.context.filters, call.filter), row.filterText)
        << row.text;
    EXPECT_EQ(f.context.filters.InstanceCount(), 1u) << row.text;
  }
}

// The interval is evaluated once, with the node values as they stand.
TEST(CompilerFilters, IntervalReadsNodeValuesAsTheyStand) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("B"), 1);
  f.Node(0).value = 7.0F;
  ASSERT_EQ(CompileFormula(f.context, "FILTSQUARE(A,b)", f.output.compiled, f.output), 1);
  const VariableBinding& call = *f.output.variables.back();
  EXPECT_EQ(Sift32Specification(f.context.filters, call.filter), "Square,7.000000");
}

TEST(CompilerFilters, MathErrorInTheIntervalGivesZero) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTGAUS(A,1/0)"), 1);
  EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>{kMathErrorMessage});
  const VariableBinding& call = *f.output.variables.back();
  EXPECT_EQ(Sift32Specification(f.context.filters, call.filter), "Gaussian,0.000000");
}

TEST(CompilerFilters, EveryCallHasAnInstanceOfItsOwn) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTGAUS(A,5)+FILTGAUS(A,5)*SQRT(FILTSQUARE(B,3))"), 1);
  EXPECT_EQ(f.context.filters.InstanceCount(), 3u);
  std::vector<std::string> texts;
  std::vector<uint32_t> handles;
  for (const auto& node : f.output.variables) {
    if (node->kind != kNodeFilter) continue;
    handles.push_back(node->filter);
    texts.push_back(Sift32Specification(f.context.filters, node->filter));
  }
  EXPECT_EQ(texts,
            (std::vector<std::string>{"Gaussian,5.000000", "Gaussian,5.000000", "Square,3.000000"}));
  ASSERT_EQ(handles.size(), 3u);
  EXPECT_NE(handles[0], handles[1]);
}

TEST(CompilerFilters, NoInstanceWhenTheCallFails) {
  const std::vector<std::string> texts = {"FILTGAUS(A)", "FILTGAUS(A,)", "FILTSQUARE(A,5,6)",
                                          "FILTGAUS A", "FILTSQUARE(A,(5)"};
  for (const auto& text : texts) {
    FormulaFixture f;
    EXPECT_EQ(f.Compile(text), 0) << text;
    EXPECT_EQ(f.context.filters.InstanceCount(), 0u) << text;
  }
}

// ---------------------------------------------------------------------------
// Releasing a compiled form.

TEST(CompilerReset, ReleasesFiltersNodesAndTextButNothingElse) {
  FormulaFixture f;
  f.output.name = "OUT";
  f.output.description = "smoothed";
  f.output.step = 1500;
  f.output.units = 3;
  ASSERT_EQ(f.Compile("FILTGAUS(A,5)+FILTSQUARE(B,3)"), 1);
  ASSERT_EQ(f.context.filters.InstanceCount(), 2u);
  ASSERT_EQ(f.context.job.nextControlId, 20208);

  ResetCompiledFormula(f.context, &f.output);
  EXPECT_EQ(f.context.filters.InstanceCount(), 0u);
  EXPECT_FALSE(f.output.compiled.has_value());
  EXPECT_TRUE(f.output.variables.empty());
  EXPECT_EQ(f.context.job.nextControlId, 20200);
  EXPECT_EQ(f.output.formula, "FILTGAUS(A,5)+FILTSQUARE(B,3)");
  EXPECT_EQ(f.output.name, "OUT");
  EXPECT_EQ(f.output.description, "smoothed");
  EXPECT_EQ(f.output.step, 1500);
  EXPECT_EQ(f.output.units, 3);
}

TEST(CompilerReset, RecompilingStartsCodesAndIdsAfresh) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("A+B+C"), 1);
  ASSERT_EQ(f.Compile("c*D"), 1);
  EXPECT_EQ(CompiledText(f.output), "#128*#129");
  EXPECT_EQ(DescribeNodes(f.output), (std::vector<std::string>{"#128 0 'c'", "#129 0 'D'"}));
  EXPECT_EQ(f.Node(0).controlIds[0], 20200);
  EXPECT_EQ(f.context.job.nextControlId, 20208);
}

TEST(CompilerReset, FailedCompilationKeepsItsFilterUntilTheReset) {
  FormulaFixture f;
  EXPECT_EQ(f.Compile("FILTGAUS(A,5)+"), 0);
  EXPECT_EQ(f.screen.BoxTexts(), std::vector<std::string>{kInvalid});
  EXPECT_EQ(f.output.variables.size(), 3u);
  EXPECT_EQ(f.context.filters.InstanceCount(), 1u);
  ResetCompiledFormula(f.context, &f.output);
  EXPECT_EQ(f.context.filters.InstanceCount(), 0u);
  EXPECT_TRUE(f.output.variables.empty());
}

TEST(CompilerReset, WithoutAnOutputOnlyTheCounterIsReset) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTGAUS(A,5)"), 1);
  f.context.job.nextControlId = 20312;
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
  ResetCompiledFormula(f.context, &second);
  ASSERT_EQ(CompileFormula(f.context, "FILTSQUARE(B,3)+FILTGAUS(C,2)", second.compiled, second),
            1);
  f.context.editor.gridWindows = {20200, 20204};
  ASSERT_EQ(f.context.filters.InstanceCount(), 3u);

  DiscardAllOutputs(f.context);  // f.output is gone from here on
  EXPECT_TRUE(f.context.job.outputs.empty());
  EXPECT_EQ(f.context.filters.InstanceCount(), 0u);
  EXPECT_TRUE(f.context.editor.gridWindows.empty());
}

// ---------------------------------------------------------------------------
// Helpers of the formula builder.

TEST(CompilerLookupFunction, MatchesWholeNamesWithoutRegardToCase) {
  struct Row {
    std::string name;
    const char* found;  // null: no function
  };
  const std::vector<Row> rows = {
      {"SQRT", "SQRT"},         {"sqrt", "SQRT"},
      {"sQrT", "SQRT"},         {"filtgaus", "FILTGAUS"},
      {"FiltSquare", "FILTSQUARE"}, {"log10", "LOG10"},
      {"ln", "LN"},             {"AVG", "AVG"},
      {"average", "AVERAGE"},   {"MIN", "MIN"},
      {"minimum", "MINIMUM"},   {"Max", "MAX"},
      {"MAXIMUM", "MAXIMUM"},   {"pow", "POW"},
      {"Abs", "ABS"},           {"tan", "TAN"},
      {"SQR", nullptr},         {"SQRTX", nullptr},
      {"SQRT2", nullptr},       {"FILTGAU", nullptr},
      {"FILTGAUSS", nullptr},   {"LOG", nullptr},
      {"AVERAG", nullptr},      {"MINX", nullptr},
      {"", nullptr},            {"SQRT ", nullptr},
      {" SQRT", nullptr},       {"S", nullptr},
  };
  for (const auto& row : rows) {
    const BuiltinFunction* function = LookupFunction(row.name);
    if (row.found == nullptr) {
      EXPECT_EQ(function, nullptr) << "'" << row.name << "'";
    } else {
      ASSERT_NE(function, nullptr) << "'" << row.name << "'";
      EXPECT_STREQ(function->name, row.found) << "'" << row.name << "'";
    }
  }
}

TEST(CompilerRemoveFirstOccurrence, RemovesTheFirstOccurrenceOnly) {
  struct Row {
    const char* name;
    std::string text;
    std::string part;
    size_t position;
    std::string result;
  };
  const size_t none = std::string::npos;
  const std::vector<Row> rows = {
      {"in the middle", "A+SQRT(B)+C", "SQRT(B)", 2, "A++C"},
      {"first of two", "AB+AB", "AB", 0, "+AB"},
      {"at the end", "A+B", "+B", 1, "A"},
      {"the whole text", "ABC", "ABC", 0, ""},
      {"overlapping occurrences", "AAA", "AA", 0, "A"},
      {"template of the list functions", "AVG(Curve1, Curve2, ...)", ", ...", 18,
       "AVG(Curve1, Curve2)"},
      {"absent", "A+B", "C", none, "A+B"},
      {"longer than the text", "AB", "ABC", none, "AB"},
      {"case matters", "sqrt(A)", "SQRT", none, "sqrt(A)"},
      {"empty text", "", "A", none, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string text = row.text;
    EXPECT_EQ(RemoveFirstOccurrence(text, row.part), row.position);
    EXPECT_EQ(text, row.result);
  }
}

}  // namespace
