// Tests of the built-in functions: the table, the scalar, list and interval
// handlers, and the two filters from their creation to a run.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "formula/builtin_functions.h"
#include "formula/filters.h"
#include "libs/sift32/sift32.h"
#include "tests/formula/formula_fixture.h"

namespace quillex {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kMathError = "Math error has occurred, result will be 0";

void ExpectSame(double got, double expected, const std::string& what) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(got)) << what << ": " << got;
  } else {
    EXPECT_DOUBLE_EQ(got, expected) << what;
  }
}

// ---------------------------------------------------------------------------
// The table.

TEST(FunctionsTable, RowsInOrder) {
  struct Row {
    const char* name;
    const char* description;
    int32_t count;
    int32_t flag;
    int32_t kind;
  };
  const Row expected[] = {
      {"FILTSQUARE", "Apply linear filter to a curve for n samples", 2, 0, kFilterFunction},
      {"FILTGAUS", "Apply gaussian filter to a curve for n samples", 2, 0, kFilterFunction},
      {"SQRT", "Returns a positive square root", 1, 0, kScalarFunction},
      {"SIN", "Returns the sine of the input value (in the range -1 to 1) ", 1, 0,
       kScalarFunction},
      {"COS", "Returns the cosine of the input value (in the range -1 to 1) ", 1, 0,
       kScalarFunction},
      {"TAN", "Returns the tangent of x, sin(x)/cos(x)", 1, 0, kScalarFunction},
      {"POW", "Power function, base to the exponent power", 2, 0, kScalarFunction},
      {"AVG", "Output a curve that is the average of selected curves", 1, 0, kListFunction},
      {"MIN", "Output a curve that is the minimum of selected curves", 1, 0, kListFunction},
      {"MAX", "Output a curve that is the maximum of selected curves", 1, 0, kListFunction},
      {"LN", "Returns the natural logorithm", 1, 0, kScalarFunction},
      {"LOG10", "Returns the log base 10", 1, 0, kScalarFunction},
      {"ABS", "Returns the absolute value of the number", 1, 0, kScalarFunction},
      {"AVERAGE", "Return the average value over the selected interval", 1, 1, kListFunction},
      {"MINIMUM", "Return the minimum value over the selected interval", 1, 1, kListFunction},
      {"MAXIMUM", "Return the maximum value over the selected interval", 1, 1, kListFunction},
  };
  size_t place = 0;
  for (; kBuiltinFunctions[place].name != nullptr; ++place) {
    ASSERT_LT(place, std::size(expected)) << "extra row " << kBuiltinFunctions[place].name;
    const BuiltinFunction& row = kBuiltinFunctions[place];
    const Row& want = expected[place];
    SCOPED_TRACE(want.name);
    EXPECT_STREQ(row.name, want.name);
    EXPECT_STREQ(row.description, want.description);
    EXPECT_EQ(row.argumentCount, want.count);
    EXPECT_EQ(row.intervalFlag, want.flag);
    EXPECT_EQ(row.kind, want.kind);
    // The argument names the builder shows, joined by "|"; empty slots after.
    std::string names;
    for (const char* name : row.argumentNames) {
      if (name == nullptr || name[0] == '\0') continue;
      names += (names.empty() ? "" : "|") + std::string(name);
    }
    const std::string scalar = want.count == 1 ? "Value" : "Base|Exponent";
    EXPECT_EQ(names, want.kind == kListFunction     ? "Curve1, Curve2, ..."
                     : want.kind == kFilterFunction ? "Curve|Interval"
                                                    : scalar);
    EXPECT_EQ(row.scalar != nullptr, row.kind == kScalarFunction);
    EXPECT_EQ(row.list != nullptr, row.kind == kListFunction);
    EXPECT_EQ(row.filter != nullptr, row.kind == kFilterFunction);
  }
  EXPECT_EQ(place, std::size(expected));
  EXPECT_STREQ(kBuiltinFunctions[0].filterType, "Square");
  EXPECT_STREQ(kBuiltinFunctions[1].filterType, "Gaussian");
}

TEST(FunctionsTable, LookupIgnoresCaseAndMatchesWholeNames) {
  EXPECT_EQ(LookupFunction("sQrT"), &kBuiltinFunctions[2]);
  EXPECT_EQ(LookupFunction("FiltGaus"), &kBuiltinFunctions[1]);
  for (const char* name : {"", "SQR", "SQRT2", "SQRT ", "FILTGAU", "AVERAGES"}) {
    EXPECT_EQ(LookupFunction(name), nullptr) << "'" << name << "'";
  }
}

// ---------------------------------------------------------------------------
// The handlers.

TEST(FunctionsScalar, ValuesDomainsAndErrors) {
  struct Row {
    const char* function;
    double x;
    double y;
    double expected;
    bool mathError;
  };
  const std::vector<Row> rows = {
      {"SQRT", 16, 0, 4, false},
      {"SQRT", -4, 0, 0, false},
      {"SQRT", kNaN, 0, 0, false},
      {"SIN", std::numbers::pi / 2, 0, 1, false},
      {"COS", std::numbers::pi, 0, -1, false},
      {"TAN", std::numbers::pi / 4, 0, 1, false},
      {"LN", std::numbers::e, 0, 1, false},
      {"LN", 0, 0, 0, false},
      {"LN", kNaN, 0, 0, false},
      {"LOG10", 0.01, 0, -2, false},
      {"LOG10", -1, 0, 0, false},
      {"ABS", -2.5, 0, 2.5, false},
      {"POW", 2, 10, 1024, false},
      {"POW", -2, 3, -8, false},
      {"POW", kNaN, 2, kNaN, false},  // a NaN given in passes through
      {"POW", -8, 0.5, 0, true},      // domain
      {"POW", 0, -1, 0, true},        // pole
      {"POW", 10, 400, 0, true},      // overflow
  };
  for (const auto& row : rows) {
    const std::string what = std::string(row.function) + "(" + std::to_string(row.x) + "," +
                             std::to_string(row.y) + ")";
    FormulaFixture f;
    const double arguments[3] = {row.x, row.y, 0.0};
    ExpectSame(LookupFunction(row.function)->scalar(f.context, arguments), row.expected, what);
    EXPECT_EQ(f.screen.BoxTexts(),
              row.mathError ? std::vector<std::string>{kMathError} : std::vector<std::string>{})
        << what;
  }
}

// Values that do not compare keep MIN's current value but replace MAX's.
TEST(FunctionsList, ValuesAndNaNOrder) {
  struct Row {
    const char* function;
    std::vector<double> values;
    double expected;
  };
  const std::vector<Row> rows = {
      {"AVG", {1, 2, 6}, 3},       {"AVG", {1, kNaN}, kNaN},     {"MIN", {2, 1, 3}, 1},
      {"MIN", {kNaN, 1}, kNaN},    {"MIN", {1, kNaN, 0}, 0},     {"MAX", {2, 7, 3}, 7},
      {"MAX", {1, kNaN}, kNaN},    {"MAX", {kNaN, 1, 0}, 1},
  };
  for (const auto& row : rows) {
    std::string what = row.function;
    for (double value : row.values) what += " " + std::to_string(value);
    ExpectSame(LookupFunction(row.function)
                   ->list(static_cast<int32_t>(row.values.size()), row.values.data(), nullptr),
               row.expected, what);
  }
}

// The interval functions keep their running value in the output during a
// report run; a curve run hands them no output and they give each sample's.
TEST(FunctionsInterval, EvaluatedSampleBySample) {
  struct Row {
    const char* formula;
    int32_t runOption;
    std::vector<double> samples;
    std::vector<double> expected;
  };
  const std::vector<Row> rows = {
      {"AVERAGE(A)", kGenerateReport, {2, 4, 9}, {2, 3, 5}},
      {"AVERAGE(A,A*3)", kGenerateReport, {1, 2}, {2, 3}},
      {"MINIMUM(A)", kGenerateReport, {5, 3, 4}, {5, 3, 3}},
      {"MAXIMUM(A)", kGenerateReport, {1, 4, 2}, {1, 4, 4}},
      {"AVERAGE(A)", kGenerateCurves, {2, 4, 9}, {2, 4, 9}},
      {"MINIMUM(A)", kGenerateCurves, {5, 3, 4}, {5, 3, 4}},
      {"MAXIMUM(A,2)", kGenerateCurves, {1, 4, 2}, {2, 4, 2}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.formula);
    FormulaFixture f;
    ASSERT_EQ(f.Compile(row.formula), 1);
    f.context.job.runOption = row.runOption;
    f.output.firstSample = 1;
    f.output.sampleCount = 1.0;
    f.output.step = 10;
    const std::vector<double>& samples = row.samples;
    f.Run([&samples](const std::string&, int32_t index, double* value) {
      *value = samples.at(static_cast<size_t>(index / 10));
      return 0;
    });
    std::vector<double> got;
    for (size_t i = 0; i < samples.size(); ++i) {
      f.output.index = static_cast<int32_t>(i) * 10;
      got.push_back(f.Evaluate());
    }
    EXPECT_EQ(got, row.expected);
    if (row.runOption == kGenerateCurves) {
      EXPECT_EQ(f.output.firstSample, 1);
    }
  }
}

// ---------------------------------------------------------------------------
// Filters: an instance per call, made when the formula is compiled from the
// interval as it stands then.

TEST(FilterCreate, InstanceFromTypeAndInterval) {
  struct Row {
    std::string formula;
    std::string filterText;
    bool mathError;
  };
  const std::vector<Row> rows = {
      {"FILTGAUS(A,5)", "Gaussian,5.000000", false},
      {"FILTSQUARE(A,2.5)", "Square,2.500000", false},
      {"filtsquare(A, 1+2*3)", "Square,9.000000", false},
      // A variable of a fresh formula holds 0; a call has not been evaluated.
      {"FILTGAUS(A,B)", "Gaussian,0.000000", false},
      {"FILTSQUARE(A*2, POW(2,3))", "Square,0.000000", false},
      {"FILTGAUS(A,1/0)", "Gaussian,0.000000", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.formula);
    FormulaFixture f;
    ASSERT_EQ(f.Compile(row.formula), 1);
    const VariableBinding& call = *f.output.variables.back();
    EXPECT_EQ(call.kind, kNodeFilter);
    EXPECT_EQ(sift32::Sift32Specification(f.context.filters, call.filter), row.filterText);
    EXPECT_EQ(f.context.filters.InstanceCount(), 1u);
    EXPECT_EQ(f.screen.BoxTexts(),
              row.mathError ? std::vector<std::string>{kMathError} : std::vector<std::string>{});
  }
  FormulaFixture f;
  EXPECT_EQ(f.Compile("FILTGAUS(A)"), 0);
  EXPECT_EQ(f.context.filters.InstanceCount(), 0u);
}

TEST(FilterCreate, IntervalReadsNodeValuesAsTheyStand) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("B"), 1);
  f.Node(0).value = 7.0F;
  ASSERT_EQ(CompileFormula(f.context, "FILTSQUARE(A,b)", f.output.compiled, f.output), 1);
  EXPECT_EQ(sift32::Sift32Specification(f.context.filters, f.output.variables.back()->filter),
            "Square,7.000000");
}

TEST(FilterCreate, EveryCallHasAnInstanceOfItsOwnReleasedWithTheCompiledForm) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTGAUS(A,5)+FILTGAUS(A,5)*SQRT(FILTSQUARE(B,3))"), 1);
  std::vector<uint32_t> handles;
  for (const auto& node : f.output.variables) {
    if (node->kind == kNodeFilter) handles.push_back(node->filter);
  }
  ASSERT_EQ(handles.size(), 3u);
  EXPECT_NE(handles[0], handles[1]);
  EXPECT_EQ(sift32::Sift32Specification(f.context.filters, handles[2]), "Square,3.000000");
  EXPECT_EQ(f.context.filters.InstanceCount(), 3u);
  ResetCompiledFormula(f.context, &f.output);
  EXPECT_EQ(f.context.filters.InstanceCount(), 0u);
}

// PrepareFilters clears every node's read-ahead and sets that of filter nodes
// from the step of their output, through every output.
TEST(FilterPrepare, SetsReadAheadForEachOutputStep) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTSQUARE(A,5)+FILTGAUS(A,3)"), 1);
  f.output.step = 1500;
  f.context.indexFactor = 6000;
  OutputDef& second = AppendOutput(f.context.job, std::make_unique<OutputDef>());
  ASSERT_EQ(CompileFormula(f.context, "FILTGAUS(B,7)", second.compiled, second), 1);
  second.step = 20;
  for (auto& node : f.output.variables) node->filterLength = 99;
  EXPECT_EQ(PrepareFilters(f.context), 1);
  std::vector<int32_t> lengths;
  for (auto& node : f.output.variables) lengths.push_back(node->filterLength);
  // A, 5, FILTSQUARE, 3, FILTGAUS.
  EXPECT_EQ(lengths, (std::vector<int32_t>{0, 0, 3000, 0, 1500}));
  EXPECT_EQ(second.variables.back()->filterLength, 60);
}

TEST(FilterPrepare, StopsAtARefusedInstance) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTSQUARE(A,3)+FILTGAUS(A,3)"), 1);
  f.output.step = 0;  // the library cannot run a filter without a step
  OutputDef& second = AppendOutput(f.context.job, std::make_unique<OutputDef>());
  ASSERT_EQ(CompileFormula(f.context, "FILTSQUARE(B,5)", second.compiled, second), 1);
  second.step = 10;
  VariableBinding& refused = *f.output.variables[2];
  VariableBinding& skipped = *f.output.variables[4];
  VariableBinding& later = *second.variables.back();
  refused.filterLength = 55;
  skipped.filterLength = 66;
  later.filterLength = 77;
  EXPECT_EQ(PrepareFilters(f.context), 0);
  EXPECT_EQ(refused.filterLength, 0);
  EXPECT_EQ(skipped.filterLength, 66);
  EXPECT_EQ(later.filterLength, 77);
  EXPECT_EQ(sift32::Sift32ReadAhead(f.context.filters, later.filter), 0);
}

TEST(FilterApply, PassesThroughWhileNoRunIsOnAndForHandleZero) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("FILTSQUARE(A,3)"), 1);
  f.output.step = 10;
  ASSERT_EQ(PrepareFilters(f.context), 1);
  const uint32_t filter = f.output.variables.back()->filter;
  EXPECT_DOUBLE_EQ(ApplyFilter(f.context, 100, filter, 0), 100);
  // Nothing was fed: the first value of the run stands alone in the window.
  f.context.run.running = true;
  EXPECT_DOUBLE_EQ(ApplyFilter(f.context, 4, filter, 0), 4);
  EXPECT_DOUBLE_EQ(ApplyFilter(f.context, 8, filter, 10), 6);
  EXPECT_DOUBLE_EQ(ApplyFilter(f.context, 20, filter, 10), 12) << "the sample at 10 again";
  EXPECT_DOUBLE_EQ(ApplyFilter(f.context, 3.5, 0, 20), 3.5);
}

TEST(FilterApply, CurveArgumentIsReadAhead) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("A+FILTSQUARE(A*2,5)"), 1);
  f.output.step = 10;
  f.output.index = 100;
  ASSERT_EQ(PrepareFilters(f.context), 1);
  FakeReader& reader = f.Run([](const std::string&, int32_t index, double* value) {
    *value = index;
    return 0;
  });
  EXPECT_DOUBLE_EQ(f.Evaluate(), 100 + 2 * 120);
  using Read = std::pair<std::string, int32_t>;
  EXPECT_EQ(reader.reads, (std::vector<Read>{{"A", 100}, {"A", 120}}));
  // An evaluation at an offset adds it to the read-ahead.
  reader.reads.clear();
  f.Evaluate(3);
  EXPECT_EQ(reader.reads, (std::vector<Read>{{"A", 103}, {"A", 123}}));
}

// The first call's value is multiplied away: it is there to show that each
// call has a window of its own, fed once per sample.
TEST(FilterApply, SquareSmoothsAStepCentredOnTheIndex) {
  FormulaFixture f;
  ASSERT_EQ(f.Compile("0*FILTSQUARE(A,3)+FILTSQUARE(A,3)"), 1);
  f.output.step = 10;
  ASSERT_EQ(PrepareFilters(f.context), 1);
  f.Run([](const std::string&, int32_t index, double* value) {
    *value = index >= 50 ? 1.0 : 0.0;
    return 0;
  });
  std::vector<double> got;
  for (int32_t index = 0; index <= 80; index += 10) {
    f.output.index = index;
    got.push_back(f.Evaluate());
  }
  const double third = static_cast<float>(1.0 / 3.0);
  const double twoThirds = static_cast<float>(2.0 / 3.0);
  EXPECT_EQ(got, (std::vector<double>{0, 0, 0, 0, third, twoThirds, 1, 1, 1}));
}

}  // namespace

}  // namespace quillex
