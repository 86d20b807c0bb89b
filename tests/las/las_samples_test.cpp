// Where the rows of small files land on the database's grid, and what the
// placement says about it.
#include "libs/las/las_samples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "libs/las/las_reader.h"
#include "tests/las/las_text.h"

namespace {

const float kNan = NAN;

// The curves of a file with an index in `unit` and one curve after it.
LasParts OneCurve(const std::string& unit, const std::string& step = "0") {
  LasParts parts;
  parts.curves = {"DEPT." + unit + " : index", "GR.GAPI : gamma ray"};
  parts.step = step;
  parts.rangeUnit = unit;
  return parts;
}

LasParts RangeUnitOnly(const std::string& unit, const std::string& step) {
  LasParts parts = OneCurve("", step);
  parts.rangeUnit = unit;
  return parts;
}

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

void ExpectValues(const std::vector<float>& got, const std::vector<float>& expected,
                  const char* why) {
  ASSERT_EQ(got.size(), expected.size()) << why;
  for (size_t i = 0; i < got.size(); ++i) {
    if (std::isnan(expected[i])) {
      EXPECT_TRUE(std::isnan(got[i])) << why << ": value " << i << " is " << got[i];
    } else {
      EXPECT_FLOAT_EQ(got[i], expected[i]) << why << ": value " << i;
    }
  }
}

std::string Notes(const LasCurveSet& set) {
  std::string text;
  for (const LasProblem& note : set.notes)
    text += std::to_string(note.line) + ": " + note.message + "\n";
  return text;
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
       RangeUnitOnly("F", "0.5"), {}, {0, 3000, 2}, false, {1, 2}},
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
  EXPECT_NE(Notes(set).find("13: resampled to a regular step of 0.0499873 M"), std::string::npos)
      << Notes(set);
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
    std::string notes = Notes(Placed(LasText(c.rows, c.parts)));
    EXPECT_NE(notes.find(c.note), std::string::npos) << c.why << ":\n" << notes;
  }
  EXPECT_EQ(Notes(Placed(LasText({"1 1", "2 2", "3 3"}, OneCurve("F", "1")))), "")
      << "a file that agrees with itself gets no note";
}

TEST(LasSamples, RefusesWhatCannotBePlaced) {
  struct Case {
    const char* why;
    std::string text;
    LasSampleOptions options;
    int32_t line;
    const char* message;
  } cases[] = {
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
    EXPECT_NE(problem.message.find(c.message), std::string::npos)
        << c.why << ": " << problem.message;
  }
}

}  // namespace
