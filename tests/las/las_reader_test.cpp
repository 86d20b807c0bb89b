// What the reader and the placing on the database's grid take from small
// files made here: header lines split at the delimiters real files use; the
// tolerated oddities of real files read as they should and said in notes;
// rows placed on the grid, and the notes the placing gives; and every file
// that cannot be read or placed refused with the line and the reason.
#include "libs/las/las_reader.h"

#include <gtest/gtest.h>

#include "libs/las/header_line.h"
#include "libs/las/las_samples.h"
#include "tests/las/las_text.h"

namespace las {

namespace {

const float kNan = NAN;

// The curves of a file with an index in `unit` and one curve after it;
// STRT, STOP and STEP in `rangeUnit`, by default the index's.
LasParts OneCurve(const std::string& unit, const std::string& step = "0",
                  const char* rangeUnit = nullptr) {
  LasParts parts;
  parts.curves = {"DEPT." + unit + " : index", "GR.GAPI : gamma ray"};
  parts.step = step;
  parts.rangeUnit = rangeUnit != nullptr ? rangeUnit : unit;
  return parts;
}

// Reads the file and places its rows; false with the problem of whichever
// stage refused it.
bool Place(const std::string& text, LasCurveSet* set, LasProblem* problem,
           LasSampleOptions options = {}) {
  LasFile file;
  return ReadLas(text, &file, problem) && PlaceSamples(file, options, set, problem);
}

LasCurveSet Placed(const std::string& text, LasSampleOptions options = {}) {
  LasCurveSet set;
  LasProblem problem;
  EXPECT_TRUE(Place(text, &set, &problem, options)) << problem.line << ": " << problem.message;
  return set;
}

TEST(HeaderLine, SplitsAtTheDelimitersRealFilesUse) {
  struct Case {
    const char* why;
    const char* text;
    const char* mnemonic;
    const char* unit;
    const char* value;
    const char* description;
  } cases[] = {
      {"plain", "STRT.M 1670.0000 :START DEPTH", "STRT", "M", "1670.0000", "START DEPTH"},
      {"no blank before the colon", "STEP.M -0.1250:", "STEP", "M", "-0.1250", ""},
      {"no unit", "NULL.   -999.25 : NULL VALUE", "NULL", "", "-999.25", "NULL VALUE"},
      {"blanks before the dot", "FLD .  WILDCAT : FIELD", "FLD", "", "WILDCAT", "FIELD"},
      {"a dot in the unit", "AMF .ohm.m   : Mud resistivity", "AMF", "ohm.m", "",
       "Mud resistivity"},
      {"a dot and colons in the value", "WIT . L. Watney, 12:30 : Witness", "WIT", "",
       "L. Watney, 12:30", "Witness"},
      {"a time value", "TIME.  12:30:00 : Logged at", "TIME", "", "12:30:00", "Logged at"},
      {"a value ending in a colon", "CLAB . Province: :County Label", "CLAB", "",
       "Province:", "County Label"},
      {"a colon in the description", "DATE. 13-DEC-86 : Log date: morning", "DATE", "",
       "13-DEC-86", "Log date: morning"},
      {"LAS 1.2 value after the colon", "COMP.  COMPANY:   # ANY OIL COMPANY", "COMP", "",
       "COMPANY", "# ANY OIL COMPANY"},
      {"no dot", "WELL  SMITH 12.3 : Well", "WELL", "", "SMITH 12.3", "Well"},
      {"no dot, no colon", "WELL SMITH", "WELL", "", "SMITH", ""},
      {"a dot only in the description", "UWI  100 : Id. number", "UWI", "", "100", "Id. number"},
      {"API code", "DT  .US/M  60 520 32 00 : 2  SONIC", "DT", "US/M", "60 520 32 00", "2  SONIC"},
      {"tabs", "DT\t.US/M\t\t:\t2 SONIC", "DT", "US/M", "", "2 SONIC"},
      {"non-ASCII text", "LATI.deg 45\xE2\x88\x9E 39' N :LATITUDE", "LATI", "deg",
       "45\xE2\x88\x9E 39' N", "LATITUDE"},
  };
  for (const Case& c : cases) {
    LasHeaderLine line = SplitHeaderLine(c.text, 7);
    EXPECT_EQ(line.mnemonic, c.mnemonic) << c.why;
    EXPECT_EQ(line.unit, c.unit) << c.why;
    EXPECT_EQ(line.value, c.value) << c.why;
    EXPECT_EQ(line.description, c.description) << c.why;
    EXPECT_EQ(line.line, 7) << c.why;
  }
}

// Each row: what real files do, the values (row after row, three to a row)
// the data must read as, and the notes the reader gives, whole.
TEST(LasReader, ToleratesWhatRealFilesDoAndSaysWhat) {
  struct Case {
    const char* why;
    std::string text;
    std::vector<double> values;
    std::string notes;
  } cases[] = {
      {"comments and blank lines inside ~A",
       LasText({"# a comment", "1 2 3", "", "  # another", "2 3 4", ""}), {1, 2, 3, 2, 3, 4}, ""},
      {"tabs", LasText({"1\t2\t3"}), {1, 2, 3}, ""},
      {"commas", LasText({"1,2,3", " 2 , 3 ,4"}), {1, 2, 3, 2, 3, 4}, ""},
      {"an empty field between commas", LasText({"1,,3", "2, ,4,"}), {1, kNan, 3, 2, kNan, 4},
       "15: data values that are no numbers: 2 (the first: an empty field); read as missing\n"},
      {"values that are no numbers", LasText({"1 N/A 3", "2 1.2.3 nan", "3 inf 0x10"}),
       {1, kNan, 3, 2, kNan, kNan, 3, kNan, kNan},
       "15: data values that are no numbers: 5 (the first: 'N/A'); read as missing\n"},
      {"a plus sign and an exponent", LasText({"+1 2.5E+01 -3e-1"}), {1, 25, -0.3}, ""},
      {"values beyond the floats a curve keeps", LasText({"1 3.5e38 -1e39"}), {1, kNan, kNan},
       "15: data values beyond what a curve holds: 2 (the first: '3.5e38'); read as missing\n"},
      {"customary NULL values the header does not declare",
       LasText({"1 -9999 -99999.0", "2 -999.25 -999.2500"}), {1, kNan, kNan, 2, kNan, kNan},
       "15: customary NULL values: 2 (the first: '-9999'); read as missing, though the header's "
       "NULL is -999.25\n"},
      {"a NULL of any number", LasText({"1 -1 -999.25", "2 7 -1.000"}, {.null = "-1"}),
       {1, kNan, kNan, 2, 7, kNan},
       "15: customary NULL values: 1 (the first: '-999.25'); read as missing, though the "
       "header's NULL is -1\n"},
      {"an ~A line with curve names", LasText({"1 2 3"}, {.data = "~A  DEPT[M]  GR  RES"}),
       {1, 2, 3}, ""},
      {"section names in any case and length",
       LasText({"1 2 3"}, {.data = "~ascii log data", .curveSection = "~Curve Information Block"}),
       {1, 2, 3}, ""},
      {"CR LF line ends", Crlf(LasText({"1 2 3", "2 3 4"})), {1, 2, 3, 2, 3, 4}, ""},
      {"CR line ends", Cr(LasText({"1 2 3", "2 3 4"})), {1, 2, 3, 2, 3, 4}, ""},
      {"wrapped", LasText({"1", "2", "3", "2", "3 4"}, {.wrap = "YES"}), {1, 2, 3, 2, 3, 4}, ""},
      {"a section after ~A", LasText({"1 2 3", "~Other", "stuff"}), {1, 2, 3},
       "16: a section after ~A: it and the rest of the file are not read\n"},
      {"both notes, each at its first line", LasText({"1 x 3", "2 -9999 y", "3 4 5"}),
       {1, kNan, 3, 2, kNan, kNan, 3, 4, 5},
       "15: data values that are no numbers: 2 (the first: 'x'); read as missing\n"
       "16: customary NULL values: 1 (the first: '-9999'); read as missing, though the header's "
       "NULL is -999.25\n"},
  };
  for (const Case& c : cases) {
    LasFile file = ReadOk(c.text);
    ASSERT_EQ(file.Width(), 3u) << c.why;
    ExpectValues(file.values, c.values, c.why);
    EXPECT_EQ(NotesText(file.notes), c.notes) << c.why;
  }
}

TEST(LasSamples, PlacesRowsOnTheGrid) {
  struct Case {
    const char* why;
    std::vector<std::string> rows;
    LasParts parts;
    LasSampleOptions options;
    LasGrid grid;
    bool time;
    std::vector<float> values;
  } cases[] = {
      {"feet, regular", {"1000 1", "1000.5 2", "1001 3"}, OneCurve("F", "0.5"), {},
       {6000000, 3000, 3}, false, {1, 2, 3}},
      {"FT, decreasing: stored increasing", {"1001 3", "1000.5 2", "1000 1"},
       OneCurve("FT", "-0.5"), {}, {6000000, 3000, 3}, false, {1, 2, 3}},
      {"metres, 0.1524: rows kept as written", {"100 1", "100.1524 2", "100.3048 3"},
       OneCurve("M", "0.1524"), {}, {1968500, 3000, 3}, false, {1, 2, 3}},
      {"seconds", {"0 1", "0.01 2", "0.02 3"}, OneCurve("S", "0.01"), {}, {0, 1, 3}, true,
       {1, 2, 3}},
      {"milliseconds", {"0 1", "10 2", "20 3"}, OneCurve("MS", "10"), {}, {0, 1, 3}, true,
       {1, 2, 3}},
      {"irregular: interpolated where no row is near",
       {"0 0", "0.5 10", "1.1 22", "1.5 30", "2 40"}, OneCurve("F"), {}, {0, 3000, 5}, false,
       {0, 10, 20, 30, 40}},
      {"a gap stays missing", {"0 0", "0.5 1", "1 2", "3 6", "3.5 7"}, OneCurve("F"), {},
       {0, 3000, 8}, false, {0, 1, 2, kNan, kNan, kNan, 6, 7}},
      {"a missing neighbour leaves the step missing", {"0 0", "0.5 -999.25", "1.1 22", "1.5 30"},
       OneCurve("F"), {}, {0, 3000, 4}, false, {0, kNan, kNan, 30}},
      {"--step finer than the data", {"0 0", "0.5 10", "1 20"}, OneCurve("F", "0.5"),
       {0.25, 6000}, {0, 1500, 5}, false, {0, 5, 10, 15, 20}},
      {"a repeated last row is left out", {"0 1", "0.5 2", "0.5 2", "0.5 9"},
       OneCurve("F", "0.5"), {}, {0, 3000, 2}, false, {1, 2}},
      {"rows without an index are left out", {"0 1", "-999.25 5", "0.5 2", "x 7"},
       OneCurve("F", "0.5"), {}, {0, 3000, 2}, false, {1, 2}},
      {"the unit from STRT when the index has none", {"0 1", "0.5 2"},
       OneCurve("", "0.5", "F"), {}, {0, 3000, 2}, false, {1, 2}},
      {"one row: the step from STEP", {"10 1"}, OneCurve("F", "0.25"), {}, {60000, 1500, 1},
       false, {1}},
  };
  for (const Case& c : cases) {
    LasCurveSet set = Placed(LasText(c.rows, c.parts), c.options);
    EXPECT_EQ(set.grid.top, c.grid.top) << c.why;
    EXPECT_EQ(set.grid.step, c.grid.step) << c.why;
    EXPECT_EQ(set.grid.count, c.grid.count) << c.why;
    ASSERT_NE(set.unit, nullptr) << c.why;
    EXPECT_EQ(set.unit->time, c.time) << c.why;
    ASSERT_EQ(set.columns.size(), 1u) << c.why;
    ExpectValues(set.columns[0], c.values, c.why);
  }
}

// 0.05 m is 984.25 index units: a step of 984 drifts a quarter unit a row,
// so past a tenth of a step the values are interpolated, never shifted.
TEST(LasSamples, AStepOfNoWholeIndexUnitsIsResampledNotShifted) {
  std::vector<std::string> rows;
  for (int k = 0; k < 1000; ++k) {
    rows.push_back(std::to_string(0.05 * (k + 1)) + " " + std::to_string(k));
  }
  LasCurveSet set = Placed(LasText(rows, OneCurve("M", "0.05")));
  ASSERT_EQ(set.grid.step, 984);
  EXPECT_EQ(set.grid.top, 984);
  EXPECT_EQ(set.grid.count, 1000);
  // Step 900 lies at 886584 index units; rows sit at 984.25 (k + 1).
  double row = 886584 / 984.25 - 1;
  EXPECT_NEAR(set.columns[0][900], row, 1e-3) << "the value where the row would be";
  EXPECT_EQ(set.columns[0][10], 10.0F) << "near the top, rows are taken as they are";
  EXPECT_TRUE(Holds(NotesText(set.notes), "13: resampled to a regular step of 0.0499873 M"));
}

TEST(LasSamples, SaysWhatItDid) {
  struct Case {
    const char* why;
    std::vector<std::string> rows;
    LasParts parts;
    const char* note;
  } cases[] = {
      {"STOP before the data's end", {"0 1", "0.5 2"}, OneCurve("F", "0.5"),
       "6: STOP 3 is not the data's last index value, 0.5; the data wins"},
      {"STEP", {"0 1", "0.25 2"}, OneCurve("F", "0.5"),
       "7: STEP 0.5 is not the data's step, 0.25; the data wins"},
      {"the sign of STEP", {"1 1", "0.5 2"}, OneCurve("F", "0.5"),
       "7: STEP 0.5 is not the data's step, -0.5; the data wins"},
      {"moved rows", {"0 1", "0.51 2", "1 3", "1.5 4"}, OneCurve("F"),
       "13: placed on a regular step of 0.5 F (3000 index units, the data's median spacing): "
       "rows moved to the nearest step by at most 0.01 F"},
      {"interpolated rows", {"0 1", "0.6 2", "1 3", "1.5 4"}, OneCurve("F"),
       "13: resampled to a regular step of 0.5 F (3000 index units, the data's median spacing): "
       "1 of 4 values interpolated"},
      {"repeated rows", {"0 1", "0.5 2", "0.5 2"}, OneCurve("F", "0.5"),
       "16: data rows that repeat or go back on the index value before them: 1 (the first at "
       "this line); left out"},
      {"a step finer than an index unit", {"0 1", "0.1 2", "0.2 3"}, OneCurve("MS"),
       "the data's step, 0.1 MS, is finer than one index unit: stored at one index unit"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Holds(NotesText(Placed(LasText(c.rows, c.parts)).notes), c.note)) << c.why;
  }
  EXPECT_EQ(NotesText(Placed(LasText({"1 1", "2 2", "3 3"}, OneCurve("F", "1"))).notes), "")
      << "a file that agrees with itself gets no note";
}

// The reader's refusals first, then the placing's.
TEST(LasReader, RefusesWhatCannotBeReadOrPlaced) {
  struct Case {
    const char* why;
    std::string text;
    LasSampleOptions options;
    int32_t line;
    const char* message;
  } cases[] = {
      {"missing ~A", LasText({}, {.data = ""}), {}, 13, "no ~A section: the file holds no data"},
      {"no ~C section", LasText({"1 2 3"}, {.curves = {}}), {}, 10,
       "no curves: the ~C section is missing or empty"},
      {"one column only", LasText({"1", "2"}, {.curves = {"DEPT.M : depth"}}), {}, 11,
       "only the index DEPT is defined: one column and no curve to read"},
      {"too few values", LasText({"1 2 3", "2 3"}), {}, 16,
       "a data line with 2 values where the ~C section defines 3 curves"},
      {"too many values", LasText({"1 2 3 4"}), {}, 15,
       "a data line with 4 values where the ~C section defines 3 curves"},
      {"a wrapped file marked unwrapped", LasText({"1", "2 3"}), {}, 15,
       "(is the file wrapped? its WRAP line says NO)"},
      {"a short last wrapped step", LasText({"1", "2 3", "2", "3"}, {.wrap = "YES"}), {}, 18,
       "the last depth step, begun at line 17, has 2 of the 3 values"},
      {"a short wrapped step inside", LasText({"1", "2", "2 3 4"}, {.wrap = "YES"}), {}, 17,
       "the depth step begun at line 15 has 5 values by the end of this line"},
      {"no data", LasText({}), {}, 14, "the ~A section holds no data"},
      {"a second ~C", LasText({"1 2 3"}, {.curveSection = "~C\n DEPT.M :\n~CURVE"}), {}, 12,
       "a second C section; the first begins at line 10"},
      {"LAS 3", LasText({"1 2 3"}, {.version = "3.0"}), {}, 2,
       "LAS version 3.0 is not read here: only versions 1.2 and 2.0 are"},
      {"an unknown index unit", LasText({"0 1"}, OneCurve("CM")), {}, 11,
       "the index unit 'CM' is none of F, FT, FEET, M, S or MS"},
      {"no index unit anywhere", LasText({"0 1"}, OneCurve("")), {}, 11,
       "the index DEPT has no unit"},
      {"a step too coarse", LasText({"0 1", "20 2"}, OneCurve("F")), {}, 13,
       "the data's step, 20 F, is 120000 index units, more than the 65535"},
      {"--step too coarse", LasText({"0 1", "1 2"}, OneCurve("F")), {11, 6000}, 0,
       "--step 11 comes to 66000 index units; a curve's step must be 1 to 65535"},
      {"one row and no STEP", LasText({"0 1"}, OneCurve("F", "0")), {}, 13,
       "one data row and no STEP to tell the step by: give --step"},
      {"no row with an index", LasText({"-999.25 1", "x 2"}, OneCurve("F")), {}, 13,
       "no data row has an index value"},
      {"beyond the index range", LasText({"0 1", "200000 2"}, OneCurve("F", "200000")), {}, 15,
       "the index value 200000 F lies beyond the database's range"},
      {"a wide gap", LasText({"0 1", "0.5 1", "1 1", "100000 1"}, OneCurve("F")), {}, 13,
       "the data rows spread over 200001 steps of 3000 index units"},
  };
  for (const Case& c : cases) {
    LasCurveSet set;
    LasProblem problem;
    EXPECT_FALSE(Place(c.text, &set, &problem, c.options)) << c.why;
    EXPECT_EQ(problem.line, c.line) << c.why << ": " << problem.message;
    EXPECT_TRUE(Holds(problem.message, c.message)) << c.why;
  }
}

}  // namespace

}  // namespace las
