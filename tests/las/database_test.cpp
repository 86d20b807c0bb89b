// Importing into a database and exporting from it: the item names LAS
// mnemonics get, what lands where, that a file that fails writes nothing;
// and which curves are exported, on which grid, under which names, with
// what the file says about the well.
#include <gtest/gtest.h>

#include "libs/las/curve_names.h"
#include "tests/las/las_database.h"
#include "tests/las/las_text.h"

namespace las {

namespace {

using LasImport = LasDatabaseTest;
using LasExport = LasDatabaseTest;

TEST(CurveNames, GiveEveryCurveAShortUniqueName) {
  struct Case {
    const char* why;
    std::vector<std::string> mnemonics;
    std::vector<std::string> names;
  } cases[] = {
      {"names that fit", {"GR", "DPHI_SAN", "RT90"}, {"GR", "DPHI_SAN", "RT90"}},
      {"too long", {"DPHI_SANDSTONE", "CONT_REGION"}, {"DPHI_SANDS", "CONT_REGIO"}},
      {"repeated", {"GR", "GR", "GR"}, {"GR", "GR_2", "GR_3"}},
      {"repeated in another case", {"gr", "GR"}, {"gr", "GR_2"}},
      {"long and alike", {"DPHI_SANDSTONE", "DPHI_SANDSHALE"}, {"DPHI_SANDS", "DPHI_SAN_2"}},
      {"an own name is never taken by a shortened one",
       {"ABCDEFGHIJK", "ABCDEFGHIJ"},
       {"ABCDEFGH_2", "ABCDEFGHIJ"}},
      {"characters a path cannot hold", {"N/A", "T*", "*", "a b"}, {"N_A", "T_", "_", "a_b"}},
      {"no mnemonic", {"", ""}, {"CURVE", "CURVE_2"}},
      {"the header's name is taken", {"_HEADER_"}, {"_HEADER__2"}},
      {"many repeats",
       std::vector<std::string>(11, "GR"),
       {"GR", "GR_2", "GR_3", "GR_4", "GR_5", "GR_6", "GR_7", "GR_8", "GR_9", "GR_10", "GR_11"}},
      {"long repeats",
       std::vector<std::string>(3, "ABCDEFGHIJKL"),
       {"ABCDEFGHIJ", "ABCDEFGH_2", "ABCDEFGH_3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(CurveItemNames(c.mnemonics), c.names) << c.why;
}

TEST_F(LasImport, MakesACurveOfEachLasCurveAndKeepsTheHeader) {
  std::string text = LasText({"1000 10 -999.25", "1000.5 11 2.5"}, {.rangeUnit = "F"});
  text.replace(text.find("DEPT.M"), 6, "DEPT.F");
  ASSERT_EQ(Import(text), 0) << imported_.error.message;
  EXPECT_EQ(imported_.curves, 2u);
  EXPECT_EQ(Listing(),
            "/A\n/A/B\n/A/B/C\n/A/B/C/SET\n/A/B/C/SET/_header_\n/A/B/C/SET/_header_/1\n"
            "/A/B/C/SET/GR\n/A/B/C/SET/GR/1 6000000 3000 2\n"
            "/A/B/C/SET/RES\n/A/B/C/SET/RES/1 6000000 3000 2\n");
  dorvex::CurveInfo info;
  EXPECT_TRUE(SameSamples(Samples("/A/B/C/SET/RES/1", &info), {NAN, 2.5F}));
  EXPECT_EQ(dorvex::DescriptionOf(info), "RES.OHMM : resistivity");
  EXPECT_EQ(info.units, dorvex::DorvexUnitCode(library_, "OHMM"));
  EXPECT_FALSE(dorvex::IsTimeBased(info));
  std::string title;
  std::string header;
  ASSERT_EQ(dorvex::DorvexReadFile(library_, database_, "/A/B/C/SET/_header_/1", &title, &header), 0);
  EXPECT_EQ(title, "LAS header");
  EXPECT_EQ(header, text.substr(0, text.find("~A")));
}

TEST_F(LasImport, TimeIndexesMakeTimeBasedCurves) {
  LasParts parts{.curves = {"TIME.S : time", "A. : a", "B. : b"}};
  ASSERT_EQ(Import(LasText({"1.5 1 2", "1.75 2 3"}, parts)), 0) << imported_.error.message;
  dorvex::CurveInfo info;
  Samples("/A/B/C/SET/A/1", &info);
  EXPECT_TRUE(dorvex::IsTimeBased(info));
  EXPECT_EQ(info.timeWord, 256);
  EXPECT_EQ(info.top, 150);
  EXPECT_EQ(info.step, 25);
}

TEST_F(LasImport, LongAndRepeatedMnemonicsGetShortNamesAndKeepTheirOwn) {
  LasParts parts{.curves = {"DEPT.M : depth", "DPHI_SANDSTONE.V/V : porosity", "GR.GAPI : one",
                            "GR.GAPI : two"}};
  ASSERT_EQ(Import(LasText({"1 0.1 2 3"}, parts)), 0) << imported_.error.message;
  dorvex::CurveInfo info;
  Samples("/A/B/C/SET/DPHI_SANDS/1", &info);
  EXPECT_EQ(dorvex::DescriptionOf(info), "DPHI_SANDSTONE.V/V : porosity");
  EXPECT_TRUE(SameSamples(Samples("/A/B/C/SET/GR_2/1", &info), {3}));
  EXPECT_EQ(dorvex::DescriptionOf(info), "GR.GAPI : two");
}

// Each failure, in the file or in the database, leaves the database as it
// was: the same items, sound, and nothing left open.
TEST_F(LasImport, AFileThatFailsWritesNothing) {
  ASSERT_EQ(Import(LasText({"1 2 3"}), "/A/B/C/OLD"), 0);
  LasParts clash{.curves = {"DEPT.M : depth", "NEW. : new", "GR. : exists"}};
  struct Case {
    const char* why;
    std::string text;
    const char* set;
    int32_t line;
    const char* message;
  } cases[] = {
      {"missing ~A", LasText({}, {.data = ""}), "/A/B/C/NEW", 13, "no ~A section"},
      {"an unknown index unit", LasText({"1 2"}, {.curves = {"DEPT.X : d", "A. : a"}}),
       "/A/B/C/NEW", 11, "the index unit 'X'"},
      {"a curve that exists, after one that did not", LasText({"1 2 3"}, clash), "/A/B/C/OLD", 13,
       "cannot create the curve /A/B/C/OLD/GR/1: it exists"},
      {"a header that exists", LasText({"1 2"}, {.curves = {"DEPT.M : d", "NEW. : n"}}),
       "/A/B/C/OLD", 0, "a LAS header is kept at /A/B/C/OLD/_header_/1 already"},
  };
  std::string before = Listing();
  for (const Case& c : cases) {
    EXPECT_NE(Import(c.text, c.set), 0) << c.why;
    EXPECT_EQ(imported_.error.line, c.line) << c.why << ": " << imported_.error.message;
    EXPECT_TRUE(Holds(imported_.error.message, c.message)) << c.why;
    EXPECT_EQ(Listing(), before) << c.why;
    EXPECT_EQ(library_.OpenCurveCount(), 0u) << c.why;
  }
  std::vector<std::string> problems;
  EXPECT_EQ(dorvex::DorvexCheckDatabase(library_, file_, &problems), 0) << problems.size();
}

TEST_F(LasExport, WritesTheImportedCurvesAndTheWellBack) {
  LasParts parts{.curves = {"DEPTH.F : Depth", "ZZ.GAPI 45 310 : gamma",
                            "DPHI_SANDSTONE.V/V : porosity"},
                 .rangeUnit = "F"};
  ASSERT_EQ(Import(LasText({"1000 1 0.25", "1000.5 -999.25 0.5"}, parts)), 0);
  ASSERT_EQ(Export(), 0) << exported_.error;
  for (const char* line : {" STRT.F 1000.0 ", " STOP.F 1000.5 ", " STEP.F 0.5 ",
                           " NULL.  -999.25 ", " WELL.  TEST WELL "}) {
    EXPECT_TRUE(Holds(exported_.text, line));
  }
  LasFile file = ReadOk(exported_.text);
  ASSERT_EQ(file.Width(), 3u);
  EXPECT_EQ(file.curves[0].mnemonic, "DEPTH") << "the index as the header named it";
  EXPECT_EQ(file.curves[1].mnemonic, "DPHI_SANDSTONE") << "item order, original mnemonic";
  EXPECT_EQ(file.curves[2].mnemonic, "ZZ");
  EXPECT_EQ(file.curves[2].value, "45 310");
  EXPECT_EQ(file.curves[2].unit, "GAPI");
  ExpectValues(file.values, {1000, 0.25, 1, 1000.5, 0.5, NAN}, "DEPTH, DPHI_SANDSTONE, ZZ");
}

TEST_F(LasExport, TakesTheHighestPass) {
  ASSERT_EQ(Import(LasText({"1 2 3"})), 0);
  ASSERT_EQ(Import(LasText({"1 7 8"}), "/A/B/C/SET", {.pass = 12}), 0);
  ASSERT_EQ(Import(LasText({"1 5 6"}), "/A/B/C/SET", {.pass = 9}), 0);
  ASSERT_EQ(Export(), 0) << exported_.error;
  EXPECT_EQ(ReadOk(exported_.text).values, (std::vector<double>{1, 7, 8}));
}

TEST_F(LasExport, SpansCurvesOfDifferentExtents) {
  MakePlainCurve("/A/B/C/SET/GR/1", 6000, 3000, {1, 2});
  MakePlainCurve("/A/B/C/SET/RT/1", 12000, 3000, {3, 4});
  ASSERT_EQ(Export(), 0) << exported_.error;
  LasFile file = ReadOk(exported_.text);
  ExpectValues(file.values, {1, 1, NAN, 1.5, 2, NAN, 2, NAN, 3, 2.5, NAN, 4}, "DEPT, GR, RT");
  EXPECT_EQ(file.curves[0].mnemonic, "DEPT") << "the index named by its kind";
  EXPECT_EQ(file.curves[0].unit, "F") << "the settings' unit";
  EXPECT_EQ(file.curves[1].mnemonic, "GR") << "the item's name when no LAS line is kept";
  EXPECT_EQ(file.curves[1].description, "typed by a user");
  for (const char* required : {"COMP", "WELL", "FLD", "LOC", "PROV", "SRVC", "DATE", "UWI"}) {
    EXPECT_NE(file.FindWell(required), nullptr) << required;
  }
}

TEST_F(LasExport, TurnsLas12WellLinesRound) {
  std::string text = LasText({"1 2 3"}, {.version = "1.2"});
  text.replace(text.find(" WELL. TEST WELL : WELL"), 23, " WELL.  WELL : SMITH 1");
  ASSERT_EQ(Import(text), 0);
  ASSERT_EQ(Export(), 0) << exported_.error;
  LasFile file = ReadOk(exported_.text);
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
    EXPECT_TRUE(Holds(exported_.error, c.error)) << c.set;
  }
  EXPECT_EQ(Export("/A/B/C/ONE", {.curves = {"GR"}}), 0) << "one of them can";
}

}  // namespace

}  // namespace las
