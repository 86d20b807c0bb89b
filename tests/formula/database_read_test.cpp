// A formula reading its input from a real log database during a run, as the
// processing run will: through the context's own sample reader.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "curvedata/curve_info.h"
#include "formula/evaluator.h"
#include "tests/formula/formula_fixture.h"

namespace {

TEST(DatabaseRead, AVariableReadsItsCurveConvertedAndHoldsPastARecording) {
  FormulaFixture f;
  char pattern[] = "/tmp/formula_db_XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string home = pattern;
  DorvexLibrary& dorvex = f.context.dorvex;
  ASSERT_EQ(DorvexInitializeAt(dorvex, home), 1);
  std::string file = DorvexDatabaseFile(dorvex, "WELL");
  uint32_t database = 0;
  ASSERT_EQ(DorvexCreateDatabase(dorvex, file), 0);
  ASSERT_EQ(DorvexOpenDatabase(dorvex, file, 0, &database), 0);
  int32_t metres = DorvexUnitCode(dorvex, "M");
  CurveInfo info = SampleCurveInfo("", 0, false, metres, 0, 1500, 1500);
  ASSERT_EQ(DorvexCreateCurve(dorvex, database, "/A/B/C/D/LEN/1", sizeof info, &info), 0);
  uint32_t writer = 0;
  ASSERT_EQ(DorvexOpenCurve(dorvex, database, "/A/B/C/D/LEN/1", &writer, kDorvexWrite, nullptr), 0);
  float samples[] = {3.048F, 30.48F};
  ASSERT_EQ(DorvexWriteSamples(dorvex, writer, 0, 2, samples), 0);
  ASSERT_EQ(DorvexSetRecording(dorvex, writer, true), 0);

  ASSERT_EQ(f.Compile("len*2"), 1);
  VariableBinding& len = f.Node(0);
  ASSERT_EQ(DorvexOpenCurve(dorvex, database, "/A/B/C/D/LEN/*", &len.curve, kDorvexRead, nullptr), 0);
  len.conversion = DorvexMakeConversion(dorvex, metres, DorvexUnitCode(dorvex, "FT"));
  f.context.run.running = true;
  f.output.index = 1500;
  EXPECT_NEAR(EvaluateFormula(f.context, f.output, *f.output.compiled, 0), 200.0, 1e-4);
  f.output.index = 3000;
  f.context.run.evaluationStatus = 0;
  EvaluateFormula(f.context, f.output, *f.output.compiled, 0);
  EXPECT_EQ(f.context.run.evaluationStatus, kStatusNotYetAvailable) << "past the recorded end";
  EXPECT_NEAR(len.value, 100.0, 1e-4) << "the value held from the last read";
  DorvexCloseDatabase(dorvex, database);
  std::filesystem::remove_all(home);
}

}  // namespace
