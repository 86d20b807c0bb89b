// End to end: a real LAS file imported with the dorvex tool, a job run over
// it with quillex-run, and the written curves checked against values worked
// out here from the imported inputs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <fstream>

#include "libs/dorvex/dorvex.h"
#include "tests/tools/tool_runner.h"

namespace {

std::string LasFile(const std::string& name) {
  const char* folder = std::getenv("QUILLEX_LAS_DIR");
  return std::string(folder != nullptr ? folder : QUILLEX_LAS_FOLDER) + "/" + name;
}

// Reads a curve's samples at the given indexes.
std::vector<float> Samples(DorvexLibrary& library, uint32_t database, const std::string& path,
                           int32_t top, int32_t step, size_t count) {
  uint32_t curve = 0;
  EXPECT_EQ(DorvexOpenCurve(library, database, path, &curve, kDorvexRead, nullptr), 0) << path;
  std::vector<float> values(count, -1.0F);
  for (size_t k = 0; k < count; ++k) {
    DorvexReadSamples(library, curve, top + static_cast<int32_t>(k) * step, 1, &values[k]);
  }
  DorvexCloseCurve(library, curve);
  return values;
}

void ExpectClose(const std::vector<float>& got, const std::vector<double>& wanted,
                 const char* what) {
  ASSERT_EQ(got.size(), wanted.size());
  int missing = 0;
  for (size_t k = 0; k < got.size(); ++k) {
    if (std::isnan(wanted[k])) {
      EXPECT_TRUE(std::isnan(got[k])) << what << " at " << k;
      ++missing;
      continue;
    }
    EXPECT_NEAR(got[k], wanted[k], 1e-5 * std::max(1.0, std::fabs(wanted[k]))) << what << " at " << k;
  }
  EXPECT_LT(missing, static_cast<int>(got.size())) << what << ": every value missing";
}

TEST(LasRun, AJobOverARealFileWritesWhatTheFormulasGive) {
  std::string las = LasFile("f03_02.las");
  if (!std::filesystem::exists(las)) GTEST_SKIP() << "no " << las;
  char pattern[] = "/tmp/las_run_XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string home = pattern;
  auto dorvex = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--home", home});
    return RunTool("dorvex", arguments);
  };
  ASSERT_EQ(dorvex({"create", "WELL"}).status, 0);
  ToolResult imported = dorvex({"import-las", las, "WELL:/F/L/W/LOGS"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  std::filesystem::create_directories(home + "/jobs");
  // The third output wants DT in microseconds per metre: the file's US/F are
  // converted as they are read.
  std::ofstream(home + "/jobs/las.qxj", std::ios::binary)
      << "[Job]\r\nOption=0\r\n"
         "[1]\r\noutput=TWICE,US/F,0,twice DT,0\r\nformula=DT*2\r\n"
         "[2]\r\noutput=MEAN,GAPI,0,left to right,0\r\nformula=DT+GR/2\r\n"
         "[3]\r\noutput=DTM,US/M,0,DT per metre,0\r\nformula=DT\r\nDTunits=US/M\r\n";
  ToolResult run = RunTool("quillex-run", {"--home", home, "las.qxj", "--input", "WELL: /F/L/W/LOGS",
                                           "--from", "1000", "--to", "3000"});
  ASSERT_EQ(run.status, 0) << run.err;

  DorvexLibrary library;
  ASSERT_EQ(DorvexInitializeAt(library, home), 1);
  uint32_t database = 0;
  ASSERT_EQ(DorvexOpenDatabase(library, home + "/db/WELL.db", 0, &database), 0);
  const int32_t top = 1000 * 6000;
  const int32_t step = 3000;  // the file's half foot
  const size_t count = (3000 - 1000) * 2;  // the sample at the bottom is not computed
  std::vector<float> dt = Samples(library, database, "/F/L/W/LOGS/DT/1", top, step, count);
  std::vector<float> gr = Samples(library, database, "/F/L/W/LOGS/GR/1", top, step, count);
  std::vector<double> twice(count), mean(count), perMetre(count);
  for (size_t k = 0; k < count; ++k) {
    twice[k] = double{dt[k]} * 2;
    mean[k] = (double{dt[k]} + gr[k]) / 2;  // no precedence: (DT+GR)/2
    perMetre[k] = double{dt[k]} / 0.3048;
  }
  const std::string set = "/F/L/W/_qxj1_/";
  ExpectClose(Samples(library, database, set + "TWICE/1", top, step, count), twice, "TWICE");
  ExpectClose(Samples(library, database, set + "MEAN/1", top, step, count), mean, "MEAN");
  ExpectClose(Samples(library, database, set + "DTM/1", top, step, count), perMetre, "DTM");
  std::vector<DorvexItem> items;
  ASSERT_EQ(DorvexListItems(library, database, set + "TWICE/1", &items), 0);
  EXPECT_EQ(items[0].count, static_cast<int64_t>(count));
  DorvexCloseDatabase(library, database);
  std::filesystem::remove_all(home);
}

}  // namespace
