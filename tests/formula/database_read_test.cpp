// A formula reading its input from a real log database during a run, as the
// processing run will: through the context's own sample reader.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "formula/evaluator.h"
#include "libs/dorvex/curve_info.h"
#include "tests/formula/formula_fixture.h"
#include "tests/support/temp_folder.h"

namespace quillex {

namespace {

TEST(DatabaseRead, AVariableReadsItsCurveConvertedAndHoldsPastARecording) {
  FormulaFixture f;
  test_support::TempFolder folder("formula_db");
  std::string home = folder.path();
  ASSERT_FALSE(home.empty());
  dorvex::DorvexLibrary& dorvex = f.context.dorvex;
  ASSERT_EQ(dorvex::DorvexInitializeAt(dorvex, home), 1);
  std::string file = dorvex::DorvexDatabaseFile(dorvex, "WELL");
  uint32_t database = 0;
  ASSERT_EQ(dorvex::DorvexCreateDatabase(dorvex, file), 0);
  ASSERT_EQ(dorvex::DorvexOpenDatabase(dorvex, file, 0, &database), 0);
  int32_t metres = dorvex::DorvexUnitCode(dorvex, "M");
  dorvex::CurveInfo info = dorvex::SampleCurveInfo("", 0, false, metres, 0, 1500, 1500);
  ASSERT_EQ(dorvex::DorvexCreateCurve(dorvex, database, "/A/B/C/D/LEN/1", sizeof info, &info), 0);
  uint32_t writer = 0;
  ASSERT_EQ(dorvex::DorvexOpenCurve(dorvex, database, "/A/B/C/D/LEN/1", &writer, dorvex::kDorvexWrite, nullptr), 0);
  float samples[] = {3.048F, 30.48F};
  ASSERT_EQ(dorvex::DorvexWriteSamples(dorvex, writer, 0, 2, samples), 0);
  ASSERT_EQ(dorvex::DorvexSetRecording(dorvex, writer, true), 0);

  ASSERT_EQ(f.Compile("len*2"), 1);
  VariableBinding& len = f.Node(0);
  ASSERT_EQ(dorvex::DorvexOpenCurve(dorvex, database, "/A/B/C/D/LEN/*", &len.curve, dorvex::kDorvexRead, nullptr), 0);
  len.conversion = dorvex::DorvexMakeConversion(dorvex, metres, dorvex::DorvexUnitCode(dorvex, "FT"));
  f.context.run.running = true;
  f.output.index = 1500;
  EXPECT_NEAR(EvaluateFormula(f.context, f.output, *f.output.compiled, 0), 200.0, 1e-4);
  f.output.index = 3000;
  f.context.run.evaluationStatus = 0;
  EvaluateFormula(f.context, f.output, *f.output.compiled, 0);
  EXPECT_EQ(f.context.run.evaluationStatus, kStatusNotYetAvailable) << "past the recorded end";
  EXPECT_NEAR(len.value, 100.0, 1e-4) << "the value held from the last read";
  dorvex::DorvexCloseDatabase(dorvex, database);
}

}  // namespace

}  // namespace quillex
