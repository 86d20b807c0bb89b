#include "formula/tester.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "curvedata/controls.h"
#include "curvedata/sample_reader.h"
#include "formula_fixture.h"

namespace {

class TesterTest : public ::testing::Test, protected FormulaFixture {
 protected:
  void CompileClean(const std::string& text) {
    ASSERT_EQ(Compile(text), 1) << text;
    screen.Clear();
  }

  // Types a text into the source field of the named variable's grid row.
  void Type(const std::string& name, const std::string& text) {
    for (auto& node : output.variables) {
      if (node->name == name) {
        screen.SetText(node->controlIds[0], text);
        return;
      }
    }
    ADD_FAILURE() << "no variable " << name;
  }
};

struct TestCase {
  const char* name;
  const char* formula;
  std::map<std::string, std::string> fields;
  const char* display;
};

class TesterDisplay : public TesterTest, public ::testing::WithParamInterface<TestCase> {};

TEST_P(TesterDisplay, ShowsValuesAndResult) {
  const TestCase& row = GetParam();
  CompileClean(row.formula);
  for (const auto& [name, text] : row.fields) Type(name, text);
  EXPECT_EQ(TestFormula(context, output), row.display);
  EXPECT_EQ(screen.Text(control::kTestResult), row.display);
  EXPECT_TRUE(screen.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Tester, TesterDisplay,
    ::testing::Values(
        TestCase{"EmptyFields", "A+B", {}, "1.000000+2.000000 = 3.000000"},
        TestCase{"TypedFieldLeavesCounter", "A+B", {{"A", "2.5"}}, "2.500000+1.000000 = 3.500000"},
        TestCase{"CounterSkipsTypedField",
                 "A+B+C",
                 {{"B", "7"}},
                 "1.000000+7.000000+2.000000 = 10.000000"},
        TestCase{"CounterFollowsNodeOrder", "B-A", {}, "1.000000-2.000000 = -1.000000"},
        TestCase{"LeadingBlankGivesCounter", "A*B", {{"A", " 5"}}, "1.000000*2.000000 = 2.000000"},
        TestCase{"MinusSignGivesCounter",
                 "A-B",
                 {{"A", "-5"}, {"B", "4"}},
                 "1.000000-4.000000 = -3.000000"},
        TestCase{"PlusSignGivesCounter", "A+B", {{"A", "+5"}}, "1.000000+2.000000 = 3.000000"},
        TestCase{"LetterGivesCounter",
                 "A+B",
                 {{"A", "abc"}, {"B", "x1"}},
                 "1.000000+2.000000 = 3.000000"},
        TestCase{"ExponentNotation",
                 "A/B",
                 {{"A", "1e2"}, {"B", "4"}},
                 "100.000000/4.000000 = 25.000000"},
        TestCase{"NegativeExponent", "A", {{"A", "25E-2"}}, "0.250000 = 0.250000"},
        TestCase{"LeadingPoint", "A", {{"A", ".5"}}, "0.500000 = 0.500000"},
        TestCase{
            "LonePointIsZeroAndLeavesCounter", "A+B", {{"A", "."}}, "0.000000+1.000000 = 1.000000"},
        TestCase{"TrailingPoint", "A", {{"A", "5."}}, "5.000000 = 5.000000"},
        TestCase{"ExponentWithSign", "A", {{"A", "1e+2"}}, "100.000000 = 100.000000"},
        TestCase{"ZeroIsTyped", "A+B", {{"A", "0"}}, "0.000000+1.000000 = 1.000000"},
        TestCase{"LeadingNumberOnly", "A", {{"A", "12.5 ohmm"}}, "12.500000 = 12.500000"},
        TestCase{"ValueIsAFloat",
                 "A",
                 {{"A", "1e20"}},
                 "100000002004087734272.000000 = 100000002004087734272.000000"},
        TestCase{"NoPrecedence", "A+B*C", {}, "1.000000+2.000000*3.000000 = 9.000000"},
        TestCase{"Parentheses", "A+(B*C)", {}, "1.000000+(2.000000*3.000000) = 7.000000"},
        TestCase{"BlanksDropped", " A +  B ", {}, "1.000000+2.000000 = 3.000000"},
        TestCase{"Constant", "A*2.5", {}, "1.000000*2.500000 = 2.500000"},
        TestCase{"UnaryMinus", "-A", {}, "-1.000000*1.000000 = -1.000000"},
        TestCase{
            "RepeatedVariableTakesOneValue", "A*A+B", {}, "1.000000*1.000000+2.000000 = 3.000000"},
        TestCase{"NamesIgnoreCase", "gr+GR", {}, "1.000000+1.000000 = 2.000000"},
        TestCase{"FunctionCallShowsItsValue",
                 "SQRT(A)+B",
                 {{"A", "16"}},
                 "4.000000+1.000000 = 5.000000"},
        TestCase{"NestedCalls", "SQRT(POW(A,2))", {{"A", "3"}}, "3.000000 = 3.000000"},
        TestCase{"ListCall", "AVG(A,B,6)", {}, "3.000000 = 3.000000"},
        TestCase{
            "FilterShowsUnfilteredValue", "FILTGAUS(A,5)", {{"A", "3.5"}}, "3.500000 = 3.500000"},
        TestCase{"FilterOfExpression", "FILTSQUARE(A*B,3)+1", {}, "2.000000+1.000000 = 3.000000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TesterTest, FieldIsReadUpToItsLimit) {
  CompileClean("A");
  // Read whole, the text would be worth 7; its first 4096 characters are 0.
  Type("A", std::string(kTestFieldLimit, '0') + "7");
  EXPECT_EQ(TestFormula(context, output), "0.000000 = 0.000000");
}

TEST_F(TesterTest, MathErrorShowsTheBoxAndZero) {
  CompileClean("A/B");
  Type("B", "0");
  EXPECT_EQ(TestFormula(context, output), "1.000000/0.000000 = 0.000000");
  ASSERT_EQ(screen.boxes().size(), 1U);
  EXPECT_EQ(screen.boxes()[0].text, "Math error has occurred, result will be 0");
  EXPECT_EQ(screen.boxes()[0].caption, "Quillex");
  EXPECT_EQ(screen.boxes()[0].style, box::kIconStop);
}

TEST_F(TesterTest, CallWithMathErrorIsEvaluatedOnce) {
  CompileClean("POW(A-B,C)");
  Type("A", "1");
  Type("B", "9");
  Type("C", "0.5");
  EXPECT_EQ(TestFormula(context, output), "0.000000 = 0.000000");
  EXPECT_EQ(screen.boxes().size(), 1U);
}

TEST_F(TesterTest, SingleValueNodeKeepsItsValue) {
  CompileClean("A+B");
  output.variables[0]->kind = kNodeSingleValue;
  output.variables[0]->value = 42;
  Type("A", "5");
  EXPECT_EQ(TestFormula(context, output), "42.000000+1.000000 = 43.000000");
}

TEST_F(TesterTest, ReadsNoSamples) {
  class CountingReader : public SampleReader {
   public:
    int ReadSample(const VariableBinding&, int32_t, double* value) override {
      ++reads;
      *value = 99;
      return 0;
    }
    int reads = 0;
  } reader;
  context.sampleReader = &reader;
  CompileClean("A+SQRT(B)");
  Type("B", "9");
  EXPECT_EQ(TestFormula(context, output), "1.000000+3.000000 = 4.000000");
  EXPECT_EQ(reader.reads, 0);
}

TEST_F(TesterTest, RepeatedTestGivesTheSameText) {
  CompileClean("A+B");
  Type("A", "2.5");
  EXPECT_EQ(TestFormula(context, output), "2.500000+1.000000 = 3.500000");
  Type("A", "");
  EXPECT_EQ(TestFormula(context, output), "1.000000+2.000000 = 3.000000");
  EXPECT_EQ(screen.Text(control::kTestResult), "1.000000+2.000000 = 3.000000");
}

}  // namespace
