// Tests of the formula test: the values variables take from their fields, and
// the display text.
#include "formula/tester.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/controls.h"
#include "tests/formula/formula_fixture.h"

namespace quillex {

namespace {

// Types a text into the source field of the named variable's grid row.
void Type(FormulaFixture& f, const std::string& name, const std::string& text) {
  f.screen.SetText(f.Variable(name).controlIds[0], text);
}

// A field beginning with a digit or "." gives its leading number; any other
// takes the next value of a counter from 1. Calls show their values; no
// sample is read and filters pass their value through.
TEST(TesterDisplay, ShowsValuesAndResult) {
  struct Row {
    const char* formula;
    std::map<std::string, std::string> fields;
    const char* display;
  };
  const std::vector<Row> rows = {
      {"A+B", {}, "1.000000+2.000000 = 3.000000"},
      {"A+B", {{"A", "2.5"}}, "2.500000+1.000000 = 3.500000"},
      {"A+B+C", {{"B", "7"}}, "1.000000+7.000000+2.000000 = 10.000000"},
      {"A+B+C", {{"A", " 5"}, {"B", "-5"}, {"C", "x1"}}, "1.000000+2.000000+3.000000 = 6.000000"},
      {"A+B+C", {{"A", "."}, {"B", "0"}}, "0.000000+0.000000+1.000000 = 1.000000"},
      {"A/B", {{"A", "1e2"}, {"B", "12.5 ohmm"}}, "100.000000/12.500000 = 8.000000"},
      {"A", {{"A", "1e20"}}, "100000002004087734272.000000 = 100000002004087734272.000000"},
      {"A+B*C", {}, "1.000000+2.000000*3.000000 = 9.000000"},
      {"-A*2.5", {}, "-1.000000*1.000000*2.500000 = -2.500000"},
      {"A*a+B", {}, "1.000000*1.000000+2.000000 = 3.000000"},
      {"SQRT(A)+B", {{"A", "16"}}, "4.000000+1.000000 = 5.000000"},
      {"SQRT(POW(A,2))", {{"A", "3"}}, "3.000000 = 3.000000"},
      {"AVG(A,B,6)", {}, "3.000000 = 3.000000"},
      {"FILTGAUS(A,5)", {{"A", "3.5"}}, "3.500000 = 3.500000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.formula);
    FormulaFixture f;
    FakeReader reader([](const std::string&, int32_t, double* value) {
      *value = 99;
      return 0;
    });
    f.context.sampleReader = &reader;
    f.CompileClean(row.formula);
    for (const auto& [name, text] : row.fields) Type(f, name, text);
    EXPECT_EQ(TestFormula(f.context, f.output), row.display);
    EXPECT_EQ(f.screen.Text(control::kTestResult), row.display);
    EXPECT_TRUE(f.screen.boxes().empty());
    EXPECT_TRUE(reader.reads.empty());
  }
}

TEST(TesterFields, ReadUpToTheLimitAndAfreshEachTest) {
  FormulaFixture f;
  f.CompileClean("A+B");
  // Read whole, the text would be worth 7; its first 4096 characters are 0.
  Type(f, "A", std::string(kTestFieldLimit, '0') + "7");
  EXPECT_EQ(TestFormula(f.context, f.output), "0.000000+1.000000 = 1.000000");
  Type(f, "A", "");
  EXPECT_EQ(TestFormula(f.context, f.output), "1.000000+2.000000 = 3.000000");
}

TEST(TesterFields, SingleValueNodeKeepsItsValue) {
  FormulaFixture f;
  f.CompileClean("A+B");
  f.Node(0).kind = kNodeSingleValue;
  f.Node(0).value = 42;
  Type(f, "A", "5");
  EXPECT_EQ(TestFormula(f.context, f.output), "42.000000+1.000000 = 43.000000");
}

// In a report job the interval functions take the test values as one more
// sample of the state the output holds (a run's, or none); the test does not
// start that state afresh, so a second test goes on from the first.
TEST(TesterIntervalFunctions, GoOnFromTheOutputsState) {
  struct Row {
    const char* formula;
    int32_t firstSample;
    double sampleCount, result;
    const char* first;
    const char* second;
  };
  const std::vector<Row> rows = {
      // After a run over 2, 4 and 6: their mean 4, three samples counted.
      {"AVERAGE(A)", 0, 4.0, 4.0, "5.000000 = 5.000000", "5.600000 = 5.600000"},
      {"AVERAGE(A)", 1, 1.0, 0.0, "8.000000 = 8.000000", "8.000000 = 8.000000"},
      {"MINIMUM(A)", 0, 2.0, 3.0, "3.000000 = 3.000000", "3.000000 = 3.000000"},
      {"MAXIMUM(A)", 0, 2.0, 3.0, "8.000000 = 8.000000", "8.000000 = 8.000000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.formula + std::string(" from ") + std::to_string(row.firstSample));
    FormulaFixture f;
    f.context.job.runOption = kGenerateReport;
    f.CompileClean(row.formula);
    f.output.firstSample = row.firstSample;
    f.output.sampleCount = row.sampleCount;
    f.output.result = row.result;
    Type(f, "A", "8");
    EXPECT_EQ(TestFormula(f.context, f.output), row.first);
    EXPECT_EQ(TestFormula(f.context, f.output), row.second);
  }
}

// A math error shows its box once, even in a call whose value is shown.
TEST(TesterMathError, ShowsTheBoxOnceAndZero) {
  struct Row {
    const char* formula;
    std::map<std::string, std::string> fields;
    const char* display;
  };
  const std::vector<Row> rows = {
      {"A/B", {{"B", "0"}}, "1.000000/0.000000 = 0.000000"},
      {"POW(A-B,C)", {{"A", "1"}, {"B", "9"}, {"C", "0.5"}}, "0.000000 = 0.000000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.formula);
    FormulaFixture f;
    f.CompileClean(row.formula);
    for (const auto& [name, text] : row.fields) Type(f, name, text);
    EXPECT_EQ(TestFormula(f.context, f.output), row.display);
    EXPECT_EQ(f.screen.BoxTexts(),
              std::vector<std::string>{"Math error has occurred, result will be 0"});
  }
}

}  // namespace

}  // namespace quillex
