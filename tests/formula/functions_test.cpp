#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "curvedata/sample_reader.h"
#include "formula/builtin_functions.h"
#include "formula/evaluator.h"
#include "formula/filters.h"
#include "formula_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kMathError = "Math error has occurred, result will be 0";

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

class FunctionsTest : public ::testing::Test, protected FormulaFixture {
 protected:
  const BuiltinFunction& Function(const char* name) {
    const BuiltinFunction* found = LookupFunction(name);
    EXPECT_NE(found, nullptr) << name;
    return *found;
  }

  FakeReader& Run(FakeReader::Source source) {
    reader_ = std::make_unique<FakeReader>(std::move(source));
    context.sampleReader = reader_.get();
    context.run.running = true;
    return *reader_;
  }

  double Evaluate() { return EvaluateFormula(context, output, *output.compiled, 0); }

 private:
  std::unique_ptr<FakeReader> reader_;
};

void ExpectSame(double got, double expected) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(got)) << got;
  } else {
    EXPECT_DOUBLE_EQ(got, expected);
  }
}

// ---------------------------------------------------------------------------
// The table.

struct TableRow {
  const char* name;
  const char* description;
  int32_t argumentCount;
  std::vector<std::string> argumentNames;
  int32_t intervalFlag;
  int32_t kind;
};

const std::vector<TableRow>& ExpectedTable() {
  static const std::vector<TableRow> rows = {
      {"FILTSQUARE",
       "Apply linear filter to a curve for n samples",
       2,
       {"Curve", "Interval"},
       0,
       kFilterFunction},
      {"FILTGAUS",
       "Apply gaussian filter to a curve for n samples",
       2,
       {"Curve", "Interval"},
       0,
       kFilterFunction},
      {"SQRT", "Returns a positive square root", 1, {"Value"}, 0, kScalarFunction},
      {"SIN",
       "Returns the sine of the input value (in the range -1 to 1) ",
       1,
       {"Value"},
       0,
       kScalarFunction},
      {"COS",
       "Returns the cosine of the input value (in the range -1 to 1) ",
       1,
       {"Value"},
       0,
       kScalarFunction},
      {"TAN", "Returns the tangent of x, sin(x)/cos(x)", 1, {"Value"}, 0, kScalarFunction},
      {"POW",
       "Power function, base to the exponent power",
       2,
       {"Base", "Exponent"},
       0,
       kScalarFunction},
      {"AVG",
       "Output a curve that is the average of selected curves",
       1,
       {"Curve1, Curve2, ..."},
       0,
       kListFunction},
      {"MIN",
       "Output a curve that is the minimum of selected curves",
       1,
       {"Curve1, Curve2, ..."},
       0,
       kListFunction},
      {"MAX",
       "Output a curve that is the maximum of selected curves",
       1,
       {"Curve1, Curve2, ..."},
       0,
       kListFunction},
      {"LN", "Returns the natural logorithm", 1, {"Value"}, 0, kScalarFunction},
      {"LOG10", "Returns the log base 10", 1, {"Value"}, 0, kScalarFunction},
      {"ABS", "Returns the absolute value of the number", 1, {"Value"}, 0, kScalarFunction},
      {"AVERAGE",
       "Return the average value over the selected interval",
       1,
       {"Curve1, Curve2, ..."},
       1,
       kListFunction},
      {"MINIMUM",
       "Return the minimum value over the selected interval",
       1,
       {"Curve1, Curve2, ..."},
       1,
       kListFunction},
      {"MAXIMUM",
       "Return the maximum value over the selected interval",
       1,
       {"Curve1, Curve2, ..."},
       1,
       kListFunction},
  };
  return rows;
}

TEST(FunctionsTable, RowsInOrderWithTheirTexts) {
  const std::vector<TableRow>& expected = ExpectedTable();
  size_t place = 0;
  for (; kBuiltinFunctions[place].name != nullptr; ++place) {
    ASSERT_LT(place, expected.size()) << "extra row " << kBuiltinFunctions[place].name;
    const BuiltinFunction& row = kBuiltinFunctions[place];
    const TableRow& want = expected[place];
    SCOPED_TRACE(want.name);
    EXPECT_STREQ(row.name, want.name);
    EXPECT_STREQ(row.description, want.description);
    EXPECT_EQ(row.argumentCount, want.argumentCount);
    EXPECT_EQ(row.intervalFlag, want.intervalFlag);
    EXPECT_EQ(row.kind, want.kind);
    for (int slot = 0; slot < kArgumentNameSlots; ++slot) {
      const char* name = row.argumentNames[slot];
      if (static_cast<size_t>(slot) < want.argumentNames.size()) {
        ASSERT_NE(name, nullptr) << "slot " << slot;
        EXPECT_EQ(std::string(name), want.argumentNames[static_cast<size_t>(slot)]);
      } else {
        EXPECT_TRUE(name == nullptr || name[0] == '\0') << "slot " << slot << ": " << name;
      }
    }
  }
  EXPECT_EQ(place, expected.size());
}

TEST(FunctionsTable, EveryRowHasTheHandlerOfItsKind) {
  for (const BuiltinFunction* row = kBuiltinFunctions; row->name != nullptr; ++row) {
    SCOPED_TRACE(row->name);
    EXPECT_EQ(row->scalar != nullptr, row->kind == kScalarFunction);
    EXPECT_EQ(row->list != nullptr, row->kind == kListFunction);
    EXPECT_EQ(row->filter != nullptr, row->kind == kFilterFunction);
  }
  EXPECT_STREQ(LookupFunction("FILTSQUARE")->filterType, "Square");
  EXPECT_STREQ(LookupFunction("FILTGAUS")->filterType, "Gaussian");
}

TEST(FunctionsTable, LookupIgnoresCaseAndMatchesWholeNames) {
  EXPECT_EQ(LookupFunction("sqrt"), &kBuiltinFunctions[2]);
  EXPECT_EQ(LookupFunction("Filtgaus"), &kBuiltinFunctions[1]);
  EXPECT_EQ(LookupFunction("log10"), &kBuiltinFunctions[11]);
  EXPECT_EQ(LookupFunction("maximum"), &kBuiltinFunctions[15]);
  for (const char* name : {"", "SQRT2", "MINX", "LOG", "SQR", "AVERAGES", "FILT", "Value"}) {
    EXPECT_EQ(LookupFunction(name), nullptr) << name;
  }
}

// ---------------------------------------------------------------------------
// Scalar functions, by their handlers.

struct ScalarCase {
  const char* name;
  const char* function;
  double x;
  double y;
  double expected;
  bool mathError;
};

class FunctionsScalar : public FunctionsTest, public ::testing::WithParamInterface<ScalarCase> {};

TEST_P(FunctionsScalar, GivesValue) {
  const ScalarCase& row = GetParam();
  const double arguments[3] = {row.x, row.y, 0.0};
  ExpectSame(Function(row.function).scalar(context, arguments), row.expected);
  if (row.mathError) {
    EXPECT_EQ(screen.BoxTexts(), std::vector<std::string>{kMathError});
  } else {
    EXPECT_TRUE(screen.boxes().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Functions, FunctionsScalar,
    ::testing::Values(ScalarCase{"SqrtOfSixteen", "SQRT", 16, 0, 4, false},
                      ScalarCase{"SqrtOfTwo", "SQRT", 2, 0, std::sqrt(2.0), false},
                      ScalarCase{"SqrtOfZero", "SQRT", 0, 0, 0, false},
                      ScalarCase{"SqrtOfNegative", "SQRT", -4, 0, 0, false},
                      ScalarCase{"SqrtOfNaN", "SQRT", kNaN, 0, 0, false},
                      ScalarCase{"SinOfZero", "SIN", 0, 0, 0, false},
                      ScalarCase{"SinInRadians", "SIN", std::numbers::pi / 2, 0, 1, false},
                      ScalarCase{"CosOfZero", "COS", 0, 0, 1, false},
                      ScalarCase{"CosOfPi", "COS", std::numbers::pi, 0, -1, false},
                      ScalarCase{"TanOfQuarterPi", "TAN", std::numbers::pi / 4, 0, 1, false},
                      ScalarCase{"TanOfNegative", "TAN", -1, 0, std::tan(-1.0), false},
                      ScalarCase{"LnOfE", "LN", std::numbers::e, 0, 1, false},
                      ScalarCase{"LnOfOne", "LN", 1, 0, 0, false},
                      ScalarCase{"LnOfZero", "LN", 0, 0, 0, false},
                      ScalarCase{"LnOfNegative", "LN", -1, 0, 0, false},
                      ScalarCase{"LnOfNaN", "LN", kNaN, 0, 0, false},
                      ScalarCase{"Log10OfThousand", "LOG10", 1000, 0, 3, false},
                      ScalarCase{"Log10OfHundredth", "LOG10", 0.01, 0, -2, false},
                      ScalarCase{"Log10OfZero", "LOG10", 0, 0, 0, false},
                      ScalarCase{"Log10OfNegative", "LOG10", -1, 0, 0, false},
                      ScalarCase{"AbsOfNegative", "ABS", -2.5, 0, 2.5, false},
                      ScalarCase{"AbsOfPositive", "ABS", 2.5, 0, 2.5, false},
                      ScalarCase{"PowTwoToTen", "POW", 2, 10, 1024, false},
                      ScalarCase{"PowSquareRoot", "POW", 4, 0.5, 2, false},
                      ScalarCase{"PowNegativeBaseIntegralExponent", "POW", -2, 3, -8, false},
                      ScalarCase{"PowNegativeExponent", "POW", 2, -2, 0.25, false},
                      ScalarCase{"PowZeroToZero", "POW", 0, 0, 1, false},
                      ScalarCase{"PowNegativeBaseFraction", "POW", -8, 0.5, 0, true},
                      ScalarCase{"PowZeroToNegative", "POW", 0, -1, 0, true},
                      ScalarCase{"PowOverflow", "POW", 10, 400, 0, true},
                      ScalarCase{"PowNegativeOverflow", "POW", -10, 401, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FunctionsTest, Log10OfThousandIsExact) {
  const double arguments[3] = {1000, 0, 0};
  EXPECT_EQ(Function("LOG10").scalar(context, arguments), 3.0);
}

TEST_F(FunctionsTest, PowErrorInRunGoesToTheDialog) {
  ASSERT_EQ(Compile("POW(A,B)+1"), 1);
  Run([](const std::string& name, int32_t, double* value) {
    *value = name == "A" ? -8 : 0.5;
    return 0;
  });
  screen.ScriptMathError({MathErrorAnswer::kNo, false});
  EXPECT_DOUBLE_EQ(Evaluate(), 1);
  EXPECT_EQ(screen.mathErrorDialogs(), 1);
  EXPECT_TRUE(context.run.abortRequested);
  EXPECT_TRUE(screen.boxes().empty());
}

TEST_F(FunctionsTest, PowErrorsAreSilencedByTheCheckBox) {
  ASSERT_EQ(Compile("POW(A,B)"), 1);
  Run([](const std::string& name, int32_t, double* value) {
    *value = name == "A" ? 0 : -1;
    return 0;
  });
  screen.ScriptMathError({MathErrorAnswer::kYes, true});
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_DOUBLE_EQ(Evaluate(), 0);
  EXPECT_EQ(screen.mathErrorDialogs(), 1);
  EXPECT_TRUE(context.run.mathWarningsSuppressed);
}

TEST_F(FunctionsTest, ScalarCallsInAFormula) {
  ASSERT_EQ(Compile("SQRT(A)+LOG10(B)*ABS(C)"), 1);
  Run([](const std::string& name, int32_t, double* value) {
    *value = name == "A" ? 9 : name == "B" ? 100 : -3;
    return 0;
  });
  // Left to right: (3 + 2) * 3.
  EXPECT_DOUBLE_EQ(Evaluate(), 15);
}

// ---------------------------------------------------------------------------
// List functions, by their handlers (no interval state).

struct ListCase {
  const char* name;
  const char* function;
  std::vector<double> values;
  double expected;
};

class FunctionsList : public FunctionsTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(FunctionsList, GivesValue) {
  const ListCase& row = GetParam();
  ExpectSame(Function(row.function)
                 .list(static_cast<int32_t>(row.values.size()), row.values.data(), nullptr),
             row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, FunctionsList,
    ::testing::Values(
        ListCase{"AvgOfThree", "AVG", {1, 2, 6}, 3}, ListCase{"AvgOfOne", "AVG", {-4.5}, -4.5},
        ListCase{"AvgWithNaN", "AVG", {1, kNaN}, kNaN}, ListCase{"MinOfThree", "MIN", {3, 1, 1}, 1},
        ListCase{"MinOfOne", "MIN", {2}, 2}, ListCase{"MinFirstIsLeast", "MIN", {-1, 0, 5}, -1},
        // Values that do not compare keep the current minimum.
        ListCase{"MinKeepsNaNFirst", "MIN", {kNaN, 1}, kNaN},
        ListCase{"MinIgnoresLaterNaN", "MIN", {1, kNaN}, 1},
        ListCase{"MinGoesOnPastNaN", "MIN", {1, kNaN, 0}, 0}, ListCase{"MaxOfOne", "MAX", {2}, 2},
        ListCase{"MaxOfThree", "MAX", {2, 7, 3}, 7},
        // A value that does not compare with the current one replaces it.
        ListCase{"MaxTakesLaterNaN", "MAX", {1, kNaN}, kNaN},
        ListCase{"MaxLeavesNaNFirst", "MAX", {kNaN, 1}, 1},
        ListCase{"MaxGoesOnPastNaN", "MAX", {kNaN, 1, 0}, 1},
        ListCase{"MaxNaNLastWins", "MAX", {5, 9, kNaN}, kNaN},
        // Outside a report run the interval functions give the per-sample value.
        ListCase{"AverageWithoutOutput", "AVERAGE", {2, 4}, 3},
        ListCase{"MinimumWithoutOutput", "MINIMUM", {3, 1, 2}, 1},
        ListCase{"MaximumWithoutOutput", "MAXIMUM", {kNaN, 1}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FunctionsTest, ListCallsInAFormula) {
  ASSERT_EQ(Compile("AVG(A,B,6)+MIN(A,B)*MAX(A,B,C)"), 1);
  Run([](const std::string& name, int32_t, double* value) {
    *value = name == "A" ? 1 : name == "B" ? 2 : 0.5;
    return 0;
  });
  // (3 + 1) * 2.
  EXPECT_DOUBLE_EQ(Evaluate(), 8);
}

// ---------------------------------------------------------------------------
// Interval functions: state kept in the output during a report run.

struct IntervalCase {
  const char* name;
  const char* function;
  std::vector<std::vector<double>> samples;  // the values of each call
  std::vector<double> expected;              // what each call returns
};

class FunctionsInterval : public FunctionsTest,
                          public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(FunctionsInterval, KeepsRunningValue) {
  const IntervalCase& row = GetParam();
  output.firstSample = 1;
  output.sampleCount = 1.0;
  const BuiltinFunction& function = Function(row.function);
  ASSERT_EQ(row.samples.size(), row.expected.size());
  for (size_t i = 0; i < row.samples.size(); ++i) {
    const std::vector<double>& values = row.samples[i];
    double got = function.list(static_cast<int32_t>(values.size()), values.data(), &output);
    EXPECT_DOUBLE_EQ(got, row.expected[i]) << "call " << i;
    EXPECT_DOUBLE_EQ(output.result, row.expected[i]) << "call " << i;
    EXPECT_EQ(output.firstSample, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Functions, FunctionsInterval,
    ::testing::Values(
        IntervalCase{"AverageRunningMean", "AVERAGE", {{2}, {4}, {9}}, {2, 3, 5}},
        IntervalCase{"AverageOfListMeans", "AVERAGE", {{1, 3}, {4, 6, 5}}, {2, 3.5}},
        IntervalCase{"AverageOfOne", "AVERAGE", {{7.5}}, {7.5}},
        IntervalCase{"MinimumRunningLeast", "MINIMUM", {{5}, {3}, {4}}, {5, 3, 3}},
        IntervalCase{"MinimumOfLists", "MINIMUM", {{5, 8}, {6, 7}, {9, 2}}, {5, 5, 2}},
        IntervalCase{"MinimumFirstIsKeptWhenLeast", "MINIMUM", {{-1}, {0}, {-1}}, {-1, -1, -1}},
        IntervalCase{"MaximumRunningGreatest", "MAXIMUM", {{1}, {4}, {2}}, {1, 4, 4}},
        IntervalCase{"MaximumOfLists", "MAXIMUM", {{1, 3}, {2}, {0, 6}}, {3, 3, 6}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FunctionsTest, AverageCountsSamples) {
  output.firstSample = 1;
  output.sampleCount = 1.0;
  const double values[] = {2, 4, 9};
  for (double value : values) Function("AVERAGE").list(1, &value, &output);
  EXPECT_DOUBLE_EQ(output.sampleCount, 4.0);
}

TEST_F(FunctionsTest, MinimumAndMaximumLeaveTheCountAlone) {
  output.firstSample = 1;
  output.sampleCount = 1.0;
  const double value = 3;
  Function("MINIMUM").list(1, &value, &output);
  Function("MAXIMUM").list(1, &value, &output);
  EXPECT_DOUBLE_EQ(output.sampleCount, 1.0);
}

struct RunCase {
  const char* name;
  const char* formula;
  int32_t runOption;
  std::vector<double> samples;
  std::vector<double> expected;
};

class FunctionsIntervalRun : public FunctionsTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(FunctionsIntervalRun, EvaluatesSampleBySample) {
  const RunCase& row = GetParam();
  ASSERT_EQ(Compile(row.formula), 1);
  context.job.runOption = row.runOption;
  output.firstSample = 1;
  output.sampleCount = 1.0;
  output.step = 10;
  const std::vector<double>& samples = row.samples;
  Run([&samples](const std::string&, int32_t index, double* value) {
    *value = samples.at(static_cast<size_t>(index / 10));
    return 0;
  });
  std::vector<double> got;
  for (size_t i = 0; i < samples.size(); ++i) {
    output.index = static_cast<int32_t>(i) * 10;
    got.push_back(Evaluate());
  }
  EXPECT_EQ(got, row.expected);
  if (row.runOption == kGenerateCurves) {
    // A curve run hands the functions no output: its state stays as it was.
    EXPECT_EQ(output.firstSample, 1);
    EXPECT_EQ(output.result, 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Functions, FunctionsIntervalRun,
    ::testing::Values(
        RunCase{"AverageInReport", "AVERAGE(A)", kGenerateReport, {2, 4, 9}, {2, 3, 5}},
        RunCase{"MinimumInReport", "MINIMUM(A)", kGenerateReport, {5, 3, 4}, {5, 3, 3}},
        RunCase{"MaximumInReport", "MAXIMUM(A)", kGenerateReport, {1, 4, 2}, {1, 4, 4}},
        RunCase{"AverageOfTwoCurvesInReport", "AVERAGE(A,A*3)", kGenerateReport, {1, 2}, {2, 3}},
        RunCase{"AverageInCurveRun", "AVERAGE(A)", kGenerateCurves, {2, 4, 9}, {2, 4, 9}},
        RunCase{"MinimumInCurveRun", "MINIMUM(A)", kGenerateCurves, {5, 3, 4}, {5, 3, 4}},
        RunCase{"MaximumInCurveRun", "MAXIMUM(A,2)", kGenerateCurves, {1, 4, 2}, {2, 4, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Filters.

class FilterTest : public FunctionsTest {
 protected:
  VariableBinding& Call() { return *output.variables.back(); }
};

struct CreateCase {
  const char* name;
  const char* formula;
  const char* filterText;
};

class FilterCreate : public FilterTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(FilterCreate, MakesInstanceFromTypeAndInterval) {
  ASSERT_EQ(Compile(GetParam().formula), 1);
  VariableBinding& call = Call();
  EXPECT_EQ(call.kind, kNodeFilter);
  ASSERT_NE(call.filter, 0U);
  EXPECT_EQ(Sift32Specification(context.filters, call.filter), GetParam().filterText);
  EXPECT_EQ(call.filterLength, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Filter, FilterCreate,
    ::testing::Values(CreateCase{"Gaussian", "FILTGAUS(GR, 5)", "Gaussian,5.000000"},
                      CreateCase{"SquareFraction", "FILTSQUARE(GR, 2.5)", "Square,2.500000"},
                      CreateCase{"IntervalExpression", "FILTSQUARE(GR,2*3+1)", "Square,7.000000"},
                      // A variable holds 0 in a freshly compiled formula.
                      CreateCase{"IntervalFromVariable", "FILTSQUARE(GR,N)", "Square,0.000000"},
                      CreateCase{"LowerCaseName", "filtgaus(GR,3)", "Gaussian,3.000000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FilterTest, EachCallHasItsOwnInstanceReleasedWithTheCompiledForm) {
  ASSERT_EQ(Compile("FILTSQUARE(A,3)-FILTSQUARE(A,3)"), 1);
  EXPECT_EQ(context.filters.InstanceCount(), 2U);
  ResetCompiledFormula(context, &output);
  EXPECT_EQ(context.filters.InstanceCount(), 0U);
}

TEST_F(FilterTest, PrepareSetsReadAheadForTheOutputStep) {
  ASSERT_EQ(Compile("FILTSQUARE(A,5)+FILTGAUS(A,3)"), 1);
  output.step = 1500;
  context.indexFactor = 6000;
  for (auto& node : output.variables) node->filterLength = 99;
  EXPECT_EQ(PrepareFilters(context), 1);
  std::vector<int32_t> lengths;
  for (auto& node : output.variables) lengths.push_back(node->filterLength);
  // A, 5, FILTSQUARE, 3, FILTGAUS.
  EXPECT_EQ(lengths, (std::vector<int32_t>{0, 0, 3000, 0, 1500}));
}

TEST_F(FilterTest, PrepareStopsAtRefusedInstance) {
  ASSERT_EQ(Compile("FILTSQUARE(A,3)+FILTGAUS(A,3)"), 1);
  output.step = 0;  // the library cannot run a filter without a step
  OutputDef& second = AppendOutput(context.job, std::make_unique<OutputDef>());
  ASSERT_EQ(CompileFormula(context, "FILTSQUARE(B,5)", second.compiled, second), 1);
  second.step = 10;
  VariableBinding& refused = *output.variables[2];
  VariableBinding& skipped = *output.variables[4];
  VariableBinding& later = *second.variables.back();
  refused.filterLength = 55;
  skipped.filterLength = 66;
  later.filterLength = 77;
  EXPECT_EQ(PrepareFilters(context), 0);
  EXPECT_EQ(refused.filterLength, 0);
  EXPECT_EQ(skipped.filterLength, 66);
  EXPECT_EQ(later.filterLength, 77);
  EXPECT_EQ(Sift32ReadAhead(context.filters, later.filter), 0);
}

TEST_F(FilterTest, PrepareGoesThroughEveryOutput) {
  ASSERT_EQ(Compile("A*2"), 1);
  OutputDef& second = AppendOutput(context.job, std::make_unique<OutputDef>());
  ASSERT_EQ(CompileFormula(context, "FILTGAUS(B,7)", second.compiled, second), 1);
  second.step = 20;
  EXPECT_EQ(PrepareFilters(context), 1);
  EXPECT_EQ(second.variables.back()->filterLength, 60);
}

TEST_F(FilterTest, PrepareSkipsNodeWithoutInstance) {
  ASSERT_EQ(Compile("FILTSQUARE(A,3)"), 1);
  output.step = 0;  // would be refused if the instance were asked
  Sift32Release(context.filters, Call().filter);
  Call().filter = 0;
  Call().filterLength = 12;
  EXPECT_EQ(PrepareFilters(context), 1);
  EXPECT_EQ(Call().filterLength, 0);
}

TEST_F(FilterTest, ApplyPassesThroughWhileNoRunIsOn) {
  ASSERT_EQ(Compile("FILTSQUARE(A,3)"), 1);
  output.step = 10;
  ASSERT_EQ(PrepareFilters(context), 1);
  EXPECT_DOUBLE_EQ(ApplyFilter(context, 100, Call().filter), 100);
  // Nothing was fed: the first value of the run stands alone in the window.
  context.run.running = true;
  EXPECT_DOUBLE_EQ(ApplyFilter(context, 4, Call().filter), 4);
  EXPECT_DOUBLE_EQ(ApplyFilter(context, 8, Call().filter), 6);
}

TEST_F(FilterTest, HandleZeroPassesThroughInARun) {
  context.run.running = true;
  EXPECT_DOUBLE_EQ(ApplyFilter(context, 3.5, 0), 3.5);
}

TEST_F(FilterTest, CurveArgumentIsReadAhead) {
  ASSERT_EQ(Compile("A+FILTSQUARE(A*2,5)"), 1);
  output.step = 10;
  output.index = 100;
  ASSERT_EQ(PrepareFilters(context), 1);
  FakeReader& reader = Run([](const std::string&, int32_t index, double* value) {
    *value = index;
    return 0;
  });
  EXPECT_DOUBLE_EQ(Evaluate(), 100 + 2 * 120);
  using Read = std::pair<std::string, int32_t>;
  EXPECT_EQ(reader.reads, (std::vector<Read>{{"A", 100}, {"A", 120}}));
  // An evaluation at an offset adds it to the read-ahead.
  reader.reads.clear();
  EvaluateFormula(context, output, *output.compiled, 3);
  EXPECT_EQ(reader.reads, (std::vector<Read>{{"A", 103}, {"A", 123}}));
}

TEST_F(FilterTest, SquareSmoothsStepCentredOnTheIndex) {
  ASSERT_EQ(Compile("FILTSQUARE(A,3)"), 1);
  output.step = 10;
  ASSERT_EQ(PrepareFilters(context), 1);
  ASSERT_EQ(Call().filterLength, 10);
  Run([](const std::string&, int32_t index, double* value) {
    *value = index >= 50 ? 1.0 : 0.0;
    return 0;
  });
  std::vector<double> got;
  for (int32_t index = 0; index <= 80; index += 10) {
    output.index = index;
    got.push_back(Evaluate());
  }
  const double third = static_cast<float>(1.0 / 3.0);
  const double twoThirds = static_cast<float>(2.0 / 3.0);
  EXPECT_EQ(got, (std::vector<double>{0, 0, 0, 0, third, twoThirds, 1, 1, 1}));
}

TEST_F(FilterTest, GaussianOfConstantStaysConstant) {
  ASSERT_EQ(Compile("FILTGAUS(A,7)"), 1);
  output.step = 5;
  ASSERT_EQ(PrepareFilters(context), 1);
  Run([](const std::string&, int32_t, double* value) {
    *value = 7.25;
    return 0;
  });
  for (int32_t index = 0; index < 100; index += 5) {
    output.index = index;
    EXPECT_FLOAT_EQ(static_cast<float>(Evaluate()), 7.25F) << "index " << index;
  }
}

TEST_F(FilterTest, TwoCallsAreFedOncePerSampleEach) {
  ASSERT_EQ(Compile("FILTSQUARE(A,3)-FILTSQUARE(A,3)"), 1);
  output.step = 10;
  ASSERT_EQ(PrepareFilters(context), 1);
  Run([](const std::string&, int32_t index, double* value) {
    *value = index * index;
    return 0;
  });
  for (int32_t index = 0; index <= 60; index += 10) {
    output.index = index;
    EXPECT_DOUBLE_EQ(Evaluate(), 0) << "index " << index;
  }
}

TEST_F(FilterTest, NewRunStartsTheFilterAfresh) {
  ASSERT_EQ(Compile("FILTSQUARE(A,3)"), 1);
  output.step = 10;
  ASSERT_EQ(PrepareFilters(context), 1);
  double level = 100;
  Run([&level](const std::string&, int32_t, double* value) {
    *value = level;
    return 0;
  });
  Evaluate();
  Evaluate();
  level = 1;
  ASSERT_EQ(PrepareFilters(context), 1);
  EXPECT_DOUBLE_EQ(Evaluate(), 1);
}

}  // namespace
