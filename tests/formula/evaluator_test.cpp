// Tests of the evaluator: the left-to-right order, the operators and their
// math errors, the math-error dialog of a run, and how nodes are read.
#include "formula/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/formula/formula_fixture.h"

namespace quillex {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void ExpectMathErrorBoxes(const ScriptedScreen& screen, size_t count) {
  ASSERT_EQ(screen.boxes().size(), count);
  for (const RecordedBox& shown : screen.boxes()) {
    EXPECT_EQ(shown.text, "Math error has occurred, result will be 0");
    EXPECT_EQ(shown.caption, "Quillex");
    EXPECT_EQ(shown.style, box::kIconStop);  // stop icon, OK only, not task-modal
  }
}

// ---------------------------------------------------------------------------
// Strictly left to right, parentheses the only grouping; a math error is
// worth 0 and the evaluation goes on.

TEST(EvaluatorOrder, GivesLeftToRightValue) {
  struct Row {
    const char* formula;
    std::map<std::string, float> values;
    double expected;
    size_t mathErrors;
  };
  const std::vector<Row> rows = {
      {"A+B*C", {{"A", 1}, {"B", 2}, {"C", 3}}, 9, 0},
      {"A+(B*C)", {{"A", 1}, {"B", 2}, {"C", 3}}, 7, 0},
      {"(A-B)*C", {{"A", 10}, {"B", 3}, {"C", 2}}, 14, 0},
      {"A-(B-C)", {{"A", 10}, {"B", 3}, {"C", 2}}, 9, 0},
      {"A-B-C", {{"A", 10}, {"B", 3}, {"C", 2}}, 5, 0},
      {"-A", {{"A", 4.5F}}, -4.5, 0},
      {"+A", {{"A", 4.5F}}, 4.5, 0},
      // B + (-1) * A * C applied in turn: ((B - 1) * A) * C.
      {"B+-A*C", {{"A", 2}, {"B", 5}, {"C", 3}}, 24, 0},
      {"A)+(B", {{"A", 6}, {"B", 100}}, 6, 0},
      {"A/B", {{"A", 1}, {"B", 3}}, 1.0 / 3.0, 0},
      {"A/B+C", {{"A", 5}, {"B", 0}, {"C", 4}}, 4, 1},
      {"A/B+A/B", {{"A", 1}, {"B", 0}}, 0, 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.formula);
    FormulaFixture f;
    f.CompileClean(row.formula);
    for (const auto& [name, value] : row.values) f.Variable(name).value = value;
    EXPECT_DOUBLE_EQ(f.Evaluate(), row.expected);
    ExpectMathErrorBoxes(f.screen, row.mathErrors);
    EXPECT_EQ(f.screen.mathErrorDialogs(), 0);
  }
}

// Texts written by hand, to reach what the compiler never produces.
TEST(EvaluatorText, GivesValue) {
  struct Row {
    const char* name;
    std::string text;  // 0x80 = A = 2, 0x81 = B = 3, 0x82 = C = 5
    double expected;
  };
  const std::vector<Row> rows = {
      {"empty", "", 0},
      {"blanks are skipped", " \x80 ", 2},
      {"code without a node is 0", "\x80+\x9f", 2},
      // The right value is not cleared by an operator: a sign behind "*"
      // applies the product with the previous right value first.
      {"sign behind an operator uses the previous right", "\x80+\x81*+\x82", (2 + 3) * 3 + 5},
      {"operand without an operator replaces the left", "\x80\x81", 3},
      {"closing parenthesis at the start ends at once", ")\x80", 0},
      {"unclosed level ends with the text", "\x80*(\x81+\x82", 16},
      {"trailing operator uses a right of 0", "\x80*", 0},
  };
  FormulaFixture f;
  f.CompileClean("A+B+C");
  f.Variable("A").value = 2;
  f.Variable("B").value = 3;
  f.Variable("C").value = 5;
  for (const auto& row : rows) {
    EXPECT_DOUBLE_EQ(EvaluateFormula(f.context, f.output, row.text, 0), row.expected) << row.name;
  }
  EXPECT_TRUE(f.screen.boxes().empty());
}

TEST(EvaluatorOperator, AppliesOperator) {
  struct Row {
    double left;
    int op;
    double right;
    double expected;
    bool mathError;
  };
  const std::vector<Row> rows = {
      {7.5, 0, 3, 7.5, false},   {2.5, '*', -4, -10, false}, {2.5, '+', -4, -1.5, false},
      {2.5, '-', -4, 6.5, false}, {6, '/', 4, 1.5, false},    {kNaN, '/', 2, kNaN, false},
      {6, '/', 0, 0, true},       {6, '/', kNaN, 0, true},    {6, '%', 2, 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.left) + " " + static_cast<char>(row.op ? row.op : '0') + " " +
                 std::to_string(row.right));
    FormulaFixture f;
    double got = ApplyOperator(f.context, row.left, row.op, row.right);
    if (std::isnan(row.expected)) {
      EXPECT_TRUE(std::isnan(got)) << got;
    } else {
      EXPECT_DOUBLE_EQ(got, row.expected);
    }
    ExpectMathErrorBoxes(f.screen, row.mathError ? 1 : 0);
  }
}

TEST(EvaluatorMathError, HandledWithZeroInABoxOwnedByTheMainWindow) {
  FormulaFixture f;
  f.screen.SetMainWindow(true);
  MathErrorRecord record{kMathSingularity, "divide", 1.0, 0.0, 123.0};
  EXPECT_EQ(OnMathError(f.context, record), 1);
  EXPECT_EQ(record.result, 0.0);
  ExpectMathErrorBoxes(f.screen, 1);
  EXPECT_TRUE(f.screen.boxes()[0].owned);
}

// While a run is on a math error asks the dialog: Yes goes on (its check box
// silences later errors), No asks the run to stop, closing it is Yes without
// the check box. Two errors each.
TEST(EvaluatorMathDialog, Answers) {
  struct Row {
    const char* name;
    std::vector<MathErrorAnswer> answers;
    bool suppressedBefore;
    int dialogs;
    bool suppressed;
    bool abort;
  };
  using A = MathErrorAnswer;
  const std::vector<Row> rows = {
      {"Yes asks again", {{A::kYes, false}, {A::kYes, false}}, false, 2, false, false},
      {"Yes with the check box", {{A::kYes, true}}, false, 1, true, false},
      {"No ignores the check box", {{A::kNo, true}, {A::kYes, false}}, false, 2, false, true},
      {"Close ignores the check box", {{A::kClose, true}, {A::kYes, false}}, false, 2, false,
       false},
      {"silenced beforehand", {}, true, 0, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FormulaFixture f;
    f.CompileClean("A/B");
    f.Run([](const std::string& name, int32_t, double* value) {
      *value = name == "A" ? 5.0 : 0.0;
      return 0;
    });
    for (const auto& answer : row.answers) f.screen.ScriptMathError(answer);
    f.context.run.mathWarningsSuppressed = row.suppressedBefore;
    EXPECT_DOUBLE_EQ(f.Evaluate(), 0);
    EXPECT_DOUBLE_EQ(f.Evaluate(), 0);
    EXPECT_EQ(f.screen.mathErrorDialogs(), row.dialogs);
    EXPECT_EQ(f.context.run.mathWarningsSuppressed, row.suppressed);
    EXPECT_EQ(f.context.run.abortRequested, row.abort);
    EXPECT_TRUE(f.screen.boxes().empty());  // no message box during a run
  }
}

// ---------------------------------------------------------------------------
// Reading nodes.

TEST(EvaluatorNodes, ReadAsTheyStandWhileNoRunIsOn) {
  FormulaFixture f;
  f.CompileClean("A+SQRT(A)");
  f.Variable("A").value = 16;
  FakeReader reader([](const std::string&, int32_t, double* value) {
    *value = 9;
    return 0;
  });
  f.context.sampleReader = &reader;
  // The call holds no value yet; outside a run it is read as it stands.
  EXPECT_DOUBLE_EQ(f.Evaluate(), 16);
  RefreshNode(f.context, f.output, f.Node(1), 0);
  EXPECT_DOUBLE_EQ(f.Evaluate(), 20);
  EXPECT_TRUE(reader.reads.empty());
  EXPECT_DOUBLE_EQ(NodeValue(f.context, f.output, 129, 0), 4);
  EXPECT_DOUBLE_EQ(NodeValue(f.context, f.output, 130, 0), 0);
  EXPECT_DOUBLE_EQ(NodeValue(f.context, f.output, 'A', 0), 0);
}

// In a run every reference reads its variable (single-value nodes too) at the
// output's index plus the offset; constants are not read.
TEST(EvaluatorNodes, EveryReferenceReadsAtIndexPlusOffset) {
  FormulaFixture f;
  f.CompileClean("A-B*2+A");
  f.Variable("B").kind = kNodeSingleValue;
  f.output.index = 1000;
  FakeReader& reader = f.Run([](const std::string& name, int32_t index, double* value) {
    *value = name == "A" ? index : 1;
    return 0;
  });
  EXPECT_DOUBLE_EQ(f.Evaluate(-7), (993 - 1) * 2 + 993);
  using Read = std::pair<std::string, int32_t>;
  EXPECT_EQ(reader.reads, (std::vector<Read>{{"A", 993}, {"B", 993}, {"A", 993}}));
}

// A sample read is stored as a float; one not yet recorded (status 32) keeps
// the value and tells the run; any other failure is worth 0 silently,
// whatever the reader left behind.
TEST(EvaluatorNodes, ReadStatus) {
  struct Row {
    int status;
    bool reader;
    float valueAfter;
    int evaluationStatus;
  };
  const std::vector<Row> rows = {
      {0, true, 0.1F, 0}, {32, true, 5, 32}, {1, true, 0, 0}, {33, true, 0, 0}, {0, false, 0, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.status) + (row.reader ? "" : " without a reader"));
    FormulaFixture f;
    f.CompileClean("A+B");
    f.Variable("A").value = 5;
    const int status = row.status;
    f.Run([status](const std::string& name, int32_t, double* value) {
      *value = name == "A" ? 0.1 : 1;
      return name == "A" ? status : 0;
    });
    if (!row.reader) f.context.sampleReader = nullptr;
    EXPECT_DOUBLE_EQ(f.Evaluate(), static_cast<double>(row.valueAfter) + (row.reader ? 1 : 0));
    EXPECT_EQ(f.Node(0).value, row.valueAfter);
    EXPECT_EQ(f.context.run.evaluationStatus, row.evaluationStatus);
    EXPECT_TRUE(f.screen.boxes().empty());
  }
}

TEST(EvaluatorNodes, ArgumentsAreEvaluatedInOrderWithTheOffset) {
  FormulaFixture f;
  f.CompileClean("POW(A,B)+AVG(C,B,A)");
  f.output.index = 100;
  FakeReader& reader = f.Run([](const std::string& name, int32_t, double* value) {
    *value = name == "A" ? 2 : name == "B" ? 3 : 4;
    return 0;
  });
  EXPECT_DOUBLE_EQ(f.Evaluate(5), 8 + 3);
  using Read = std::pair<std::string, int32_t>;
  EXPECT_EQ(reader.reads,
            (std::vector<Read>{{"A", 105}, {"B", 105}, {"C", 105}, {"B", 105}, {"A", 105}}));
}

TEST(EvaluatorNodes, ScalarCallWithNoneOrMoreThanThreeArgumentsIsZero) {
  FormulaFixture f;
  f.CompileClean("SQRT(A)");
  f.Variable("A").value = 16;
  VariableBinding& call = f.Node(1);
  const FormulaArgument one = call.arguments[0];
  for (int count : {4, 0}) {
    call.value = 5;
    call.arguments.assign(static_cast<size_t>(count), one);
    RefreshNode(f.context, f.output, call, 0);
    EXPECT_EQ(call.value, 0.0F) << count << " arguments";
  }
}

}  // namespace

}  // namespace quillex
