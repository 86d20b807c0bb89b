// What the reader takes from small files made here: the tolerated oddities
// of real files read as they should, and every malformed file is refused
// with the line and the reason.
#include "libs/las/las_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/las/las_text.h"

namespace {

LasFile Read(const std::string& text) {
  LasFile file;
  LasProblem problem;
  EXPECT_TRUE(ReadLas(text, &file, &problem)) << problem.line << ": " << problem.message;
  return file;
}

// The values of a row; NaN compares equal to NaN.
void ExpectRow(const LasFile& file, size_t row, const std::vector<double>& expected) {
  ASSERT_LT(row, file.Rows());
  for (size_t c = 0; c < expected.size(); ++c) {
    double got = file.values[row * file.Width() + c];
    if (std::isnan(expected[c])) {
      EXPECT_TRUE(std::isnan(got)) << "row " << row << " column " << c << ": " << got;
    } else {
      EXPECT_EQ(got, expected[c]) << "row " << row << " column " << c;
    }
  }
}

// Each row: what real files do, and what the data must read as.
TEST(LasReader, ToleratesWhatRealFilesDo) {
  const double kNan = NAN;
  struct Case {
    const char* why;
    std::string text;
    std::vector<std::vector<double>> rows;
  } cases[] = {
      {"comments inside ~A",
       LasText({"# a comment", "1 2 3", "  # another", "2 3 4"}),
       {{1, 2, 3}, {2, 3, 4}}},
      {"blank lines inside ~A", LasText({"1 2 3", "", "2 3 4", ""}), {{1, 2, 3}, {2, 3, 4}}},
      {"tabs", LasText({"1\t2\t3"}), {{1, 2, 3}}},
      {"commas", LasText({"1,2,3", " 2 , 3 ,4"}), {{1, 2, 3}, {2, 3, 4}}},
      {"an empty field between commas", LasText({"1,,3", "2, ,4,"}), {{1, kNan, 3}, {2, kNan, 4}}},
      {"values that are no numbers",
       LasText({"1 N/A 3", "2 1.2.3 nan", "3 inf 0x10"}),
       {{1, kNan, 3}, {2, kNan, kNan}, {3, kNan, kNan}}},
      {"a plus sign and an exponent", LasText({"+1 2.5E+01 -3e-1"}), {{1, 25, -0.3}}},
      {"values beyond the floats a curve keeps", LasText({"1 3.5e38 -1e39"}), {{1, kNan, kNan}}},
      {"customary NULL values the header does not declare",
       LasText({"1 -9999 -99999.0", "2 -999.25 -999.2500"}),
       {{1, kNan, kNan}, {2, kNan, kNan}}},
      {"a NULL of any number",
       LasText({"1 -1 -999.25", "2 7 -1.000"}, {.null = "-1"}),
       {{1, kNan, kNan}, {2, 7, kNan}}},
      {"an ~A line with curve names",
       LasText({"1 2 3"}, {.data = "~A  DEPT[M]  GR  RES"}),
       {{1, 2, 3}}},
      {"section names in any case and length",
       LasText({"1 2 3"}, {.data = "~ascii log data", .curveSection = "~Curve Information Block"}),
       {{1, 2, 3}}},
      {"CR LF line ends", Crlf(LasText({"1 2 3", "2 3 4"})), {{1, 2, 3}, {2, 3, 4}}},
      {"CR line ends", Cr(LasText({"1 2 3", "2 3 4"})), {{1, 2, 3}, {2, 3, 4}}},
      {"wrapped", LasText({"1", "2", "3", "2", "3 4"}, {.wrap = "YES"}), {{1, 2, 3}, {2, 3, 4}}},
      {"a section after ~A", LasText({"1 2 3", "~Other", "stuff"}), {{1, 2, 3}}},
  };
  for (const Case& c : cases) {
    LasFile file = Read(c.text);
    ASSERT_EQ(file.Rows(), c.rows.size()) << c.why;
    for (size_t r = 0; r < c.rows.size(); ++r) ExpectRow(file, r, c.rows[r]);
  }
}

TEST(LasReader, SaysWhatItTolerated) {
  LasFile file = Read(LasText({"1 x 3", "2 -9999 y", "3 4 5"}));
  ASSERT_EQ(file.notes.size(), 2u);
  EXPECT_EQ(file.notes[0].line, 15);
  EXPECT_NE(file.notes[0].message.find("data values that are no numbers: 2 (the first: 'x')"),
            std::string::npos)
      << file.notes[0].message;
  EXPECT_EQ(file.notes[1].line, 16);
  EXPECT_NE(file.notes[1].message.find("customary NULL values: 1 (the first: '-9999'); read "
                                       "as missing, though the header's NULL is -999.25"),
            std::string::npos)
      << file.notes[1].message;
}

TEST(LasReader, RefusesMalformedFilesSayingWhereAndWhy) {
  struct Case {
    const char* why;
    std::string text;
    int32_t line;
    const char* message;
  } cases[] = {
      {"missing ~A", LasText({}, {.data = ""}), 13, "no ~A section: the file holds no data"},
      {"no ~C section", LasText({"1 2 3"}, {.curves = {}}), 10,
       "no curves: the ~C section is missing or empty"},
      {"one column only", LasText({"1", "2"}, {.curves = {"DEPT.M : depth"}}), 11,
       "only the index DEPT is defined: one column and no curve to read"},
      {"too few values", LasText({"1 2 3", "2 3"}), 16,
       "a data line with 2 values where the ~C section defines 3 curves"},
      {"too many values", LasText({"1 2 3 4"}), 15,
       "a data line with 4 values where the ~C section defines 3 curves"},
      {"a wrapped file marked unwrapped", LasText({"1", "2 3"}), 15,
       "(is the file wrapped? its WRAP line says NO)"},
      {"a short last wrapped step", LasText({"1", "2 3", "2", "3"}, {.wrap = "YES"}), 18,
       "the last depth step, begun at line 17, has 2 of the 3 values"},
      {"a short wrapped step inside", LasText({"1", "2", "2 3 4"}, {.wrap = "YES"}), 17,
       "the depth step begun at line 15 has 5 values by the end of this line"},
      {"no data", LasText({}), 14, "the ~A section holds no data"},
      {"a second ~C", LasText({"1 2 3"}, {.curveSection = "~C\n DEPT.M :\n~CURVE"}), 12,
       "a second C section; the first begins at line 10"},
      {"LAS 3", LasText({"1 2 3"}, {.version = "3.0"}), 2,
       "LAS version 3.0 is not read here: only versions 1.2 and 2.0 are"},
  };
  for (const Case& c : cases) {
    LasFile file;
    LasProblem problem;
    EXPECT_FALSE(ReadLas(c.text, &file, &problem)) << c.why;
    EXPECT_EQ(problem.line, c.line) << c.why << ": " << problem.message;
    EXPECT_NE(problem.message.find(c.message), std::string::npos)
        << c.why << ": " << problem.message;
  }
}

}  // namespace
