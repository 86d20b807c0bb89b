#include "formula/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "curvedata/sample_reader.h"
#include "formula_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A sample source for runs: answers each read from a function of the
// variable's name and the index, and remembers every read in order.
class FakeReader : public SampleReader {
 public:
  using Source = std::function<int(const std::string& name, int32_t index, double* value)>;
  explicit FakeReader(Source source) : source_(std::move(source)) {}

  int ReadSample(const VariableBinding& node, int32_t index, double* value) override {
    reads.emplace_back(node.name, index);
    return source_(node.name, index, value);
  }

  std::vector<std::pair<std::string, int32_t>> reads;

 private:
  Source source_;
};

class EvaluatorTest : public ::testing::Test, protected FormulaFixture {
 protected:
  // Compiles a formula and drops the boxes the compiler showed (the note on
  // unary minus), so that only the evaluator's boxes remain.
  void CompileClean(const std::string& text) {
    ASSERT_EQ(Compile(text), 1) << text;
    screen.Clear();
  }

  VariableBinding* Find(const std::string& name) {
    for (auto& node : output.variables) {
      if (node->name == name) return node.get();
    }
    return nullptr;
  }

  void Set(const std::string& name, float value) {
    VariableBinding* node = Find(name);
    ASSERT_NE(node, nullptr) << name;
    node->value = value;
  }

  double Evaluate(int32_t offset = 0) {
    return EvaluateFormula(context, output, *output.compiled, offset);
  }

  // Starts a run reading from the given source.
  FakeReader& Run(FakeReader::Source source) {
    reader_ = std::make_unique<FakeReader>(std::move(source));
    context.sampleReader = reader_.get();
    context.run.running = true;
    return *reader_;
  }

  void ExpectMathErrorBoxes(size_t count) {
    ASSERT_EQ(screen.boxes().size(), count);
    for (const RecordedBox& shown : screen.boxes()) {
      EXPECT_EQ(shown.text, "Math error has occurred, result will be 0");
      EXPECT_EQ(shown.caption, "Quillex");
      EXPECT_EQ(shown.style, box::kIconStop);  // stop icon, OK only, not task-modal
    }
  }

 private:
  std::unique_ptr<FakeReader> reader_;
};

// ---------------------------------------------------------------------------
// Order of evaluation: strictly left to right, parentheses the only grouping.

struct OrderCase {
  const char* name;
  const char* formula;
  float a, b, c;
  double expected;
};

class EvaluatorOrder : public EvaluatorTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(EvaluatorOrder, GivesLeftToRightValue) {
  const OrderCase& row = GetParam();
  CompileClean(row.formula);
  if (Find("A") != nullptr) Set("A", row.a);
  if (Find("B") != nullptr) Set("B", row.b);
  if (Find("C") != nullptr) Set("C", row.c);
  EXPECT_DOUBLE_EQ(Evaluate(), row.expected) << row.formula;
  EXPECT_TRUE(screen.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Evaluator, EvaluatorOrder,
    ::testing::Values(OrderCase{"NoPrecedence", "A+B*C", 1, 2, 3, 9},
                      OrderCase{"ParenthesesGroup", "A+(B*C)", 1, 2, 3, 7},
                      OrderCase{"ParenthesisedFirstOperand", "(A-B)*C", 10, 3, 2, 14},
                      OrderCase{"NestedParentheses", "((A+B))*C", 1, 2, 3, 9},
                      OrderCase{"ParenthesisedRightOperand", "A-(B-C)", 10, 3, 2, 9},
                      OrderCase{"SubtractionChains", "A-B-C", 10, 3, 2, 5},
                      OrderCase{"DivisionChains", "A/B/C", 24, 4, 2, 3},
                      OrderCase{"LoneParenthesisedVariable", "(A)", 4.5F, 0, 0, 4.5},
                      OrderCase{"LeadingPlus", "+A", 4.5F, 0, 0, 4.5},
                      OrderCase{"PlusBehindParenthesis", "B*(+A)", 3, 2, 0, 6},
                      OrderCase{"LeadingMinus", "-A", 4.5F, 0, 0, -4.5},
                      OrderCase{"MinusBehindProduct", "B*-A", 1, 2, 0, -2},
                      // B + (-1) * A * C applied in turn: ((B - 1) * A) * C.
                      OrderCase{"MinusBehindSum", "B+-A*C", 2, 5, 3, 24},
                      OrderCase{"TextBehindOuterCloseIsIgnored", "A)+(B", 6, 100, 0, 6},
                      OrderCase{"BlanksIgnored", " A +  B ", 1, 2, 0, 3},
                      OrderCase{"Numbers", "A*2+0.5", 3, 0, 0, 6.5},
                      OrderCase{"VariableUsedTwice", "A*A-A", 3, 0, 0, 6},
                      OrderCase{"FractionStaysDouble", "A/B", 1, 3, 0, 1.0 / 3.0}),
    [](const auto& info) { return std::string(info.param.name); });

// Texts written by hand, to reach what the compiler never produces.
struct TextCase {
  const char* name;
  std::string text;  // 0x80 = A, 0x81 = B, 0x82 = C
  double expected;
};

class EvaluatorText : public EvaluatorTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(EvaluatorText, GivesValue) {
  CompileClean("A+B+C");
  Set("A", 2);
  Set("B", 3);
  Set("C", 5);
  EXPECT_DOUBLE_EQ(EvaluateFormula(context, output, GetParam().text, 0), GetParam().expected);
  EXPECT_TRUE(screen.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Evaluator, EvaluatorText,
    ::testing::Values(TextCase{"Empty", "", 0}, TextCase{"OnlyBlanks", "   ", 0},
                      TextCase{"CodeWithoutNodeIsZero", "\x80+\x9f", 2},
                      TextCase{"CodeWithoutNodeAlone", "\xff", 0},
                      // The right value is not cleared by an operator: a sign behind "*"
                      // applies the product with the previous right value first.
                      TextCase{"SignBehindOperatorUsesPreviousRight", "\x80+\x81*+\x82",
                               (2 + 3) * 3 + 5},
                      TextCase{"OperandWithoutOperatorReplacesLeft", "\x80\x81", 3},
                      TextCase{"CloseAtStartEndsAtOnce", ")\x80", 0},
                      TextCase{"UnclosedLevelEndsWithText", "\x80*(\x81+\x82", 16},
                      TextCase{"TrailingOperatorUsesRightZero", "\x80*", 0},
                      TextCase{"TrailingPlus", "\x80+", 2}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// ApplyOperator.

struct OperatorCase {
  const char* name;
  double left;
  int op;
  double right;
  double expected;
  bool mathError;
};

class EvaluatorOperator : public EvaluatorTest,
                          public ::testing::WithParamInterface<OperatorCase> {};

TEST_P(EvaluatorOperator, AppliesOperator) {
  const OperatorCase& row = GetParam();
  double got = ApplyOperator(context, row.left, row.op, row.right);
  if (std::isnan(row.expected)) {
    EXPECT_TRUE(std::isnan(got)) << got;
  } else {
    EXPECT_DOUBLE_EQ(got, row.expected);
  }
  ExpectMathErrorBoxes(row.mathError ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Evaluator, EvaluatorOperator,
    ::testing::Values(OperatorCase{"NoneGivesLeft", 7.5, 0, 3, 7.5, false},
                      OperatorCase{"Product", 2.5, '*', -4, -10, false},
                      OperatorCase{"Sum", 2.5, '+', -4, -1.5, false},
                      OperatorCase{"Difference", 2.5, '-', -4, 6.5, false},
                      OperatorCase{"Quotient", 6, '/', 4, 1.5, false},
                      OperatorCase{"QuotientOfNaNIsNoError", kNaN, '/', 2, kNaN, false},
                      OperatorCase{"ByZero", 6, '/', 0, 0, true},
                      OperatorCase{"ByNegativeZero", 6, '/', -0.0, 0, true},
                      OperatorCase{"ZeroByZero", 0, '/', 0, 0, true},
                      OperatorCase{"ByNaN", 6, '/', kNaN, 0, true},
                      OperatorCase{"UnknownOperator", 6, '%', 2, 0, false},
                      OperatorCase{"ParenthesisIsNoOperator", 6, '(', 2, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EvaluatorTest, DivisionByZeroInFormulaIsMathErrorWorthZero) {
  CompileClean("A/B+C");
  Set("A", 5);
  Set("B", 0);
  Set("C", 4);
  // The quotient is 0 and the evaluation goes on.
  EXPECT_DOUBLE_EQ(Evaluate(), 4);
  ExpectMathErrorBoxes(1);
}

TEST_F(EvaluatorTest, DivisionByDifferenceOfEqualValuesIsMathError) {
  CompileClean("A/(B-B)");
  Set("A", 5);
  Set("B", 2);
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  ExpectMathErrorBoxes(1);
}

TEST_F(EvaluatorTest, MathErrorBoxIsOwnedByMainWindowWhenThereIsOne) {
  screen.SetMainWindow(true);
  ApplyOperator(context, 1, '/', 0);
  ASSERT_EQ(screen.boxes().size(), 1U);
  EXPECT_TRUE(screen.boxes()[0].owned);
}

TEST_F(EvaluatorTest, EveryMathErrorOutsideARunShowsItsBox) {
  CompileClean("A/B+A/B");
  Set("A", 1);
  Set("B", 0);
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  ExpectMathErrorBoxes(2);
  EXPECT_EQ(screen.mathErrorDialogs(), 0);
}

TEST_F(EvaluatorTest, OnMathErrorSetsResultToZeroAndReportsHandled) {
  MathErrorRecord record{kMathSingularity, "divide", 1.0, 0.0, 123.0};
  EXPECT_EQ(OnMathError(context, record), 1);
  EXPECT_EQ(record.result, 0.0);
  ExpectMathErrorBoxes(1);
}

// ---------------------------------------------------------------------------
// The math-error dialog while a run is on.

class EvaluatorMathDialog : public EvaluatorTest {
 protected:
  void SetUp() override {
    CompileClean("A/B");
    Run([](const std::string& name, int32_t, double* value) {
      *value = name == "A" ? 5.0 : 0.0;
      return 0;
    });
  }
};

TEST_F(EvaluatorMathDialog, YesGoesOnAndAsksAgainNextTime) {
  screen.ScriptMathError({MathErrorAnswer::kYes, false});
  screen.ScriptMathError({MathErrorAnswer::kYes, false});
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_EQ(screen.mathErrorDialogs(), 2);
  EXPECT_FALSE(context.run.mathWarningsSuppressed);
  EXPECT_FALSE(context.run.abortRequested);
  EXPECT_TRUE(screen.boxes().empty());  // no message box during a run
}

TEST_F(EvaluatorMathDialog, YesWithCheckBoxSilencesLaterErrors) {
  screen.ScriptMathError({MathErrorAnswer::kYes, true});
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_TRUE(context.run.mathWarningsSuppressed);
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_DOUBLE_EQ(ApplyOperator(context, 3, '/', 0), 0);
  EXPECT_EQ(screen.mathErrorDialogs(), 1);
  EXPECT_FALSE(context.run.abortRequested);
  EXPECT_TRUE(screen.boxes().empty());
}

TEST_F(EvaluatorMathDialog, NoAsksTheRunToStop) {
  screen.ScriptMathError({MathErrorAnswer::kNo, true});
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_TRUE(context.run.abortRequested);
  EXPECT_FALSE(context.run.mathWarningsSuppressed);  // the check box is read by Yes only
  EXPECT_EQ(screen.mathErrorDialogs(), 1);
}

TEST_F(EvaluatorMathDialog, CloseEndsLikeYesWithoutReadingTheCheckBox) {
  screen.ScriptMathError({MathErrorAnswer::kClose, true});
  screen.ScriptMathError({MathErrorAnswer::kYes, false});
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_FALSE(context.run.abortRequested);
  EXPECT_FALSE(context.run.mathWarningsSuppressed);
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_EQ(screen.mathErrorDialogs(), 2);
}

TEST_F(EvaluatorMathDialog, SuppressedBeforehandShowsNothing) {
  context.run.mathWarningsSuppressed = true;
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_EQ(screen.mathErrorDialogs(), 0);
  EXPECT_TRUE(screen.boxes().empty());
}

// ---------------------------------------------------------------------------
// Reading nodes.

TEST_F(EvaluatorTest, NodeValueOfCodeWithoutNodeIsZero) {
  CompileClean("A+B");
  Set("A", 3);
  Set("B", 4);
  EXPECT_DOUBLE_EQ(NodeValue(context, output, 128, 0), 3);
  EXPECT_DOUBLE_EQ(NodeValue(context, output, 129, 0), 4);
  EXPECT_DOUBLE_EQ(NodeValue(context, output, 130, 0), 0);
  EXPECT_DOUBLE_EQ(NodeValue(context, output, 255, 0), 0);
  EXPECT_DOUBLE_EQ(NodeValue(context, output, 'A', 0), 0);
}

TEST_F(EvaluatorTest, NodesAreReadAsTheyStandWhileNoRunIsOn) {
  CompileClean("A");
  Set("A", 5);
  FakeReader reader([](const std::string&, int32_t, double* value) {
    *value = 9;
    return 0;
  });
  context.sampleReader = &reader;
  EXPECT_DOUBLE_EQ(Evaluate(), 5);
  EXPECT_TRUE(reader.reads.empty());
}

TEST_F(EvaluatorTest, NodeValueRefreshesWhileRunning) {
  CompileClean("A");
  Set("A", 5);
  Run([](const std::string&, int32_t, double* value) {
    *value = 9;
    return 0;
  });
  EXPECT_DOUBLE_EQ(NodeValue(context, output, 128, 0), 9);
  EXPECT_EQ(Node(0).value, 9.0F);
}

TEST_F(EvaluatorTest, VariableIsReadAtIndexPlusOffset) {
  CompileClean("A-B");
  output.index = 1000;
  FakeReader& reader = Run([](const std::string& name, int32_t index, double* value) {
    *value = name == "A" ? index : 1;
    return 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(-7), 992);
  using Read = std::pair<std::string, int32_t>;
  EXPECT_EQ(reader.reads, (std::vector<Read>{{"A", 993}, {"B", 993}}));
}

TEST_F(EvaluatorTest, SampleIsStoredAsFloat) {
  CompileClean("A");
  Run([](const std::string&, int32_t, double* value) {
    *value = 0.1;
    return 0;
  });
  EXPECT_EQ(Evaluate(), static_cast<double>(0.1F));
}

TEST_F(EvaluatorTest, NotYetAvailableKeepsValueAndSetsStatus) {
  CompileClean("A+B");
  Set("A", 5);
  Set("B", 6);
  Run([](const std::string& name, int32_t, double* value) {
    if (name == "A") return kStatusNotYetAvailable;
    *value = 1;
    return 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(), 6);
  EXPECT_EQ(context.run.evaluationStatus, kStatusNotYetAvailable);
  EXPECT_EQ(Node(0).value, 5.0F);
}

TEST_F(EvaluatorTest, SuccessfulReadsLeaveStatusAlone) {
  CompileClean("A");
  Run([](const std::string&, int32_t, double* value) {
    *value = 1;
    return 0;
  });
  Evaluate();
  EXPECT_EQ(context.run.evaluationStatus, 0);
}

struct FailureCase {
  const char* name;
  int status;
};

class EvaluatorReadFailure : public EvaluatorTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(EvaluatorReadFailure, GivesZeroSilently) {
  CompileClean("A+B");
  Set("A", 5);
  int status = GetParam().status;
  Run([status](const std::string& name, int32_t, double* value) {
    *value = 77;  // a failed read is worth 0 whatever it left behind
    return name == "A" ? status : 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(), 77);
  EXPECT_EQ(Node(0).value, 0.0F);
  EXPECT_EQ(context.run.evaluationStatus, 0);
  EXPECT_TRUE(screen.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Evaluator, EvaluatorReadFailure,
                         ::testing::Values(FailureCase{"One", 1}, FailureCase{"Negative", -1},
                                           FailureCase{"ThirtyThree", 33},
                                           FailureCase{"Sixteen", 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EvaluatorTest, NoReaderGivesZero) {
  CompileClean("A+2");
  Set("A", 5);
  context.run.running = true;
  EXPECT_DOUBLE_EQ(Evaluate(), 2);
  EXPECT_EQ(Node(0).value, 0.0F);
}

TEST_F(EvaluatorTest, NodeReferencedTwiceIsReadTwice) {
  CompileClean("A+A");
  output.index = 40;
  int calls = 0;
  FakeReader& reader = Run([&calls](const std::string&, int32_t, double* value) {
    *value = ++calls;
    return 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(), 1 + 2);
  using Read = std::pair<std::string, int32_t>;
  EXPECT_EQ(reader.reads, (std::vector<Read>{{"A", 40}, {"A", 40}}));
}

TEST_F(EvaluatorTest, SingleValueNodeIsReadLikeAVariable) {
  CompileClean("A*2");
  Node(0).kind = kNodeSingleValue;
  output.index = 12;
  FakeReader& reader = Run([](const std::string&, int32_t, double* value) {
    *value = 4;
    return 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(), 8);
  ASSERT_EQ(reader.reads.size(), 1U);
  EXPECT_EQ(reader.reads[0].second, 12);
}

TEST_F(EvaluatorTest, ConstantIsNotRefreshed) {
  CompileClean("-A");
  FakeReader& reader = Run([](const std::string&, int32_t, double* value) {
    *value = 4;
    return 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(), -4);
  ASSERT_EQ(reader.reads.size(), 1U);
  EXPECT_EQ(reader.reads[0].first, "A");
}

TEST_F(EvaluatorTest, ArgumentsAreEvaluatedInOrderWithTheOffset) {
  CompileClean("POW(A,B)+AVG(C,B,A)");
  output.index = 100;
  FakeReader& reader = Run([](const std::string& name, int32_t, double* value) {
    *value = name == "A" ? 2 : name == "B" ? 3 : 4;
    return 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(5), 8 + 3);
  using Read = std::pair<std::string, int32_t>;
  EXPECT_EQ(reader.reads,
            (std::vector<Read>{{"A", 105}, {"B", 105}, {"C", 105}, {"B", 105}, {"A", 105}}));
}

TEST_F(EvaluatorTest, CallNodeIsNotRefreshedWhileNoRunIsOn) {
  CompileClean("SQRT(A)");
  Set("A", 16);
  // The call holds no value yet; outside a run it is read as it stands.
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  VariableBinding& call = *output.variables.back();
  RefreshNode(context, output, call, 0);
  EXPECT_EQ(call.value, 4.0F);
  EXPECT_DOUBLE_EQ(Evaluate(), 4);
}

TEST_F(EvaluatorTest, ScalarCallWithNoneOrMoreThanThreeArgumentsIsZero) {
  CompileClean("SQRT(A)");
  Set("A", 16);
  VariableBinding& call = *output.variables.back();
  call.value = 5;
  std::vector<FormulaArgument> one = call.arguments;
  call.arguments.assign(4, one[0]);
  RefreshNode(context, output, call, 0);
  EXPECT_EQ(call.value, 0.0F);
  call.value = 5;
  call.arguments.clear();
  RefreshNode(context, output, call, 0);
  EXPECT_EQ(call.value, 0.0F);
}

}  // namespace
