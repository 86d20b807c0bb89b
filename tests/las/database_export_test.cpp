// Exporting a data set: which curves, on which grid, under which names, and
// what the file says about the well.
#include <gtest/gtest.h>

#include "libs/las/las_reader.h"
#include "tests/las/las_database.h"
#include "tests/las/las_text.h"

namespace {

using LasExport = LasDatabaseTest;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

LasFile Reread(const std::string& text) {
  LasFile file;
  LasProblem problem;
  EXPECT_TRUE(ReadLas(text, &file, &problem)) << problem.line << ": " << problem.message;
  return file;
}

TEST_F(LasExport, WritesTheImportedCurvesAndTheWellBack) {
  LasParts parts;
  parts.curves = {"DEPTH.F : Depth", "ZZ.GAPI 45 310 : gamma", "DPHI_SANDSTONE.V/V : porosity"};
  parts.rangeUnit = "F";
  ASSERT_EQ(Import(LasText({"1000 1 0.25", "1000.5 -999.25 0.5"}, parts)), 0);
  ASSERT_EQ(Export(), 0) << exported_.error;
  const std::string& text = exported_.text;
  EXPECT_TRUE(Has(text, " STRT.F 1000.0 ")) << text;
  EXPECT_TRUE(Has(text, " STOP.F 1000.5 ")) << text;
  EXPECT_TRUE(Has(text, " STEP.F 0.5 ")) << text;
  EXPECT_TRUE(Has(text, " NULL.  -999.25 ")) << text;
  EXPECT_TRUE(Has(text, " WELL.  TEST WELL ")) << text;
  LasFile file = Reread(text);
  ASSERT_EQ(file.Width(), 3u);
  EXPECT_EQ(file.curves[0].mnemonic, "DEPTH") << "the index as the header named it";
  EXPECT_EQ(file.curves[1].mnemonic, "DPHI_SANDSTONE") << "item order, original mnemonic";
  EXPECT_EQ(file.curves[2].mnemonic, "ZZ");
  EXPECT_EQ(file.curves[2].value, "45 310");
  EXPECT_EQ(file.curves[2].unit, "GAPI");
  EXPECT_TRUE(std::isnan(file.values[1 * 3 + 2]));
  EXPECT_EQ(file.values[1 * 3 + 1], 0.5);
}

TEST_F(LasExport, TakesTheHighestPass) {
  ASSERT_EQ(Import(LasText({"1 2 3"})), 0);
  ASSERT_EQ(Import(LasText({"1 7 8"}), "/A/B/C/SET", {.pass = 12}), 0);
  ASSERT_EQ(Import(LasText({"1 5 6"}), "/A/B/C/SET", {.pass = 9}), 0);
  ASSERT_EQ(Export(), 0) << exported_.error;
  EXPECT_EQ(Reread(exported_.text).values, (std::vector<double>{1, 7, 8}));
}

TEST_F(LasExport, SpansCurvesOfDifferentExtents) {
  MakePlainCurve("/A/B/C/SET/GR/1", 6000, 3000, {1, 2});
  MakePlainCurve("/A/B/C/SET/RT/1", 12000, 3000, {3, 4});
  ASSERT_EQ(Export(), 0) << exported_.error;
  LasFile file = Reread(exported_.text);
  ASSERT_EQ(file.Rows(), 4u);
  EXPECT_EQ(file.curves[0].mnemonic, "DEPT") << "the index named by its kind";
  EXPECT_EQ(file.curves[0].unit, "F") << "the settings' unit";
  EXPECT_EQ(file.curves[1].mnemonic, "GR") << "the item's name when no LAS line is kept";
  EXPECT_EQ(file.curves[1].description, "typed by a user");
  EXPECT_TRUE(std::isnan(file.values[2 * 3 + 1]));
  EXPECT_TRUE(std::isnan(file.values[0 * 3 + 2]));
  for (const char* required : {"COMP", "WELL", "FLD", "LOC", "PROV", "SRVC", "DATE", "UWI"}) {
    EXPECT_NE(file.FindWell(required), nullptr) << required;
  }
}

TEST_F(LasExport, TurnsLas12WellLinesRound) {
  std::string text = LasText({"1 2 3"}, {.version = "1.2"});
  text.replace(text.find(" WELL. TEST WELL : WELL"), 23, " WELL.  WELL : SMITH 1");
  ASSERT_EQ(Import(text), 0);
  ASSERT_EQ(Export(), 0) << exported_.error;
  LasFile file = Reread(exported_.text);
  EXPECT_EQ(file.FindWell("WELL")->value, "SMITH 1");
  EXPECT_EQ(file.FindWell("WELL")->description, "WELL");
  EXPECT_EQ(file.version, "2.0");
}

TEST_F(LasExport, RefusesCurvesThatCannotShareAFile) {
  MakePlainCurve("/A/B/C/ONE/GR/1", 0, 3000, {1, 2});
  MakePlainCurve("/A/B/C/ONE/DT/1", 0, 1500, {1, 2});
  MakePlainCurve("/A/B/C/TWO/GR/1", 0, 3000, {1, 2});
  MakePlainCurve("/A/B/C/TWO/DT/1", 1000, 3000, {1, 2});
  MakePlainCurve("/A/B/C/SIX/GR/1", 0, 3000, {1, 2});
  MakePlainCurve("/A/B/C/SIX/DT/1", 0, 3000, {1, 2}, true);
  struct Case {
    const char* set;
    const char* error;
  } cases[] = {
      {"/A/B/C/ONE", "the curves have different steps (DT 1500, GR 3000 index units)"},
      {"/A/B/C/TWO", "the curves DT and GR lie on different grids"},
      {"/A/B/C/SIX", "curves of depth and curves of time cannot share a file"},
      {"/A/B/C/NONE", "no data set /A/B/C/NONE in the database"},
      {"/A/B/C", "no data set /A/B/C in the database"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(Export(c.set), 0) << c.set;
    EXPECT_TRUE(Has(exported_.error, c.error)) << c.set << ": " << exported_.error;
  }
  EXPECT_EQ(Export("/A/B/C/ONE", {.curves = {"GR"}}), 0) << "one of them can";
}

}  // namespace
