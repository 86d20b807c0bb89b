// Importing into a database: what lands where, and that a file that fails
// writes nothing.
#include <gtest/gtest.h>

#include "libs/las/las_lines.h"
#include "tests/las/las_database.h"
#include "tests/las/las_text.h"

namespace {

using LasImport = LasDatabaseTest;

TEST_F(LasImport, MakesACurveOfEachLasCurveAndKeepsTheHeader) {
  std::string text = LasText({"1000 10 -999.25", "1000.5 11 2.5"}, {.rangeUnit = "F"});
  text.replace(text.find("DEPT.M"), 6, "DEPT.F");
  ASSERT_EQ(Import(text), 0) << imported_.error.message;
  EXPECT_EQ(imported_.curves, 2u);
  EXPECT_EQ(Listing(),
            "/A\n/A/B\n/A/B/C\n/A/B/C/SET\n/A/B/C/SET/_header_\n/A/B/C/SET/_header_/1\n"
            "/A/B/C/SET/GR\n/A/B/C/SET/GR/1 6000000 3000 2\n"
            "/A/B/C/SET/RES\n/A/B/C/SET/RES/1 6000000 3000 2\n");
  CurveInfo info;
  EXPECT_TRUE(SameSamples(Samples("/A/B/C/SET/RES/1", &info), {NAN, 2.5F}));
  EXPECT_EQ(DescriptionOf(info), "RES.OHMM : resistivity");
  EXPECT_EQ(info.units, DorvexUnitCode(library_, "OHMM"));
  EXPECT_FALSE(IsTimeBased(info));
  std::string title;
  std::string header;
  ASSERT_EQ(DorvexReadFile(library_, database_, "/A/B/C/SET/_header_/1", &title, &header), 0);
  EXPECT_EQ(title, "LAS header");
  EXPECT_EQ(header, text.substr(0, text.find("~A")));
}

TEST_F(LasImport, TimeIndexesMakeTimeBasedCurves) {
  ASSERT_EQ(
      Import(LasText({"1.5 1 2", "1.75 2 3"}, {.curves = {"TIME.S : time", "A. : a", "B. : b"}})),
      0)
      << imported_.error.message;
  CurveInfo info;
  Samples("/A/B/C/SET/A/1", &info);
  EXPECT_TRUE(IsTimeBased(info));
  EXPECT_EQ(info.timeWord, 256);
  EXPECT_EQ(info.top, 150);
  EXPECT_EQ(info.step, 25);
}

TEST_F(LasImport, LongAndRepeatedMnemonicsGetShortNamesAndKeepTheirOwn) {
  LasParts parts;
  parts.curves = {"DEPT.M : depth", "DPHI_SANDSTONE.V/V : porosity", "GR.GAPI : one",
                  "GR.GAPI : two"};
  ASSERT_EQ(Import(LasText({"1 0.1 2 3"}, parts)), 0) << imported_.error.message;
  CurveInfo info;
  Samples("/A/B/C/SET/DPHI_SANDS/1", &info);
  EXPECT_EQ(DescriptionOf(info), "DPHI_SANDSTONE.V/V : porosity");
  EXPECT_TRUE(SameSamples(Samples("/A/B/C/SET/GR_2/1", &info), {3}));
  EXPECT_EQ(DescriptionOf(info), "GR.GAPI : two");
}

// Each failure, in the file or in the database, leaves the database as it
// was: the same items, sound, and nothing left open.
TEST_F(LasImport, AFileThatFailsWritesNothing) {
  ASSERT_EQ(Import(LasText({"1 2 3"}), "/A/B/C/OLD"), 0);
  LasParts clash;
  clash.curves = {"DEPT.M : depth", "NEW. : new", "GR. : exists"};
  struct Case {
    const char* why;
    std::string text;
    const char* set;
    int32_t line;
    const char* message;
  } cases[] = {
      {"missing ~A", LasText({}, {.data = ""}), "/A/B/C/NEW", 13, "no ~A section"},
      {"too few values", LasText({"1 2 3", "2 3"}), "/A/B/C/NEW", 16, "a data line with 2 values"},
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
    EXPECT_NE(imported_.error.message.find(c.message), std::string::npos)
        << c.why << ": " << imported_.error.message;
    EXPECT_EQ(Listing(), before) << c.why;
    EXPECT_EQ(library_.OpenCurveCount(), 0u) << c.why;
  }
  std::vector<std::string> problems;
  EXPECT_EQ(DorvexCheckDatabase(library_, file_, &problems), 0) << problems.size();
}

}  // namespace
