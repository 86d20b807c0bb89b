// Written files: index values as the fewest exact decimals that read back
// to their index, and valid LAS 2.0 that reads back as what was written.
#include "libs/las/las_writer.h"

#include <gtest/gtest.h>

#include "libs/las/decimal_grid.h"
#include "libs/las/index_unit.h"
#include "libs/las/las_number.h"
#include "tests/las/las_text.h"

namespace las {

namespace {

const LasIndexUnit& Unit(const char* text) { return *FindIndexUnit(text); }

std::string StepText(const LasDecimalGrid& grid) {
  return DecimalText(LasDecimalGrid{grid.decimals, grid.step, 0}, 0);
}

TEST(DecimalGrid, WritesTheFewestExactDecimals) {
  struct Case {
    const char* why;
    int32_t top;
    int32_t step;
    int64_t count;
    const char* unit;
    const char* start;
    const char* stepText;
    const char* stop;
  } cases[] = {
      {"feet", 6000000, 3000, 3, "F", "1000.0", "0.5", "1001.0"},
      {"a quarter foot", 18768000, 1500, 769, "F", "3128.00", "0.25", "3320.00"},
      {"negative depths", -6000, 1500, 5, "F", "-1.00", "0.25", "0.00"},
      {"metres, a whole step", 0, 19685, 4, "M", "0.0", "1.0", "3.0"},
      {"metres, 0.2 m is 3937 units", 1968500, 3937, 11, "M", "100.0", "0.2", "102.0"},
      {"metres, 3000 units and a short curve", 3887992, 3000, 2, "M", "197.5104", "0.1524",
       "197.6628"},
      {"metres, 3000 units and a long curve", 3887992, 3000, 4951, "M", "197.5103886", "0.1524003",
       "951.8918736"},
      {"seconds", 0, 1, 3, "S", "0.00", "0.01", "0.02"},
      {"milliseconds are whole", 5, 1, 3, "MS", "50.0", "10.0", "70.0"},
      {"one sample", 6000, 3000, 1, "F", "1.0", "0.5", "1.0"},
      {"a step of one unit, feet", 0, 1, 1000, "F", "0.0000000", "0.0001667", "0.1665333"},
  };
  for (const Case& c : cases) {
    LasDecimalGrid grid;
    ASSERT_TRUE(FindDecimalGrid(c.top, c.step, c.count, Unit(c.unit), &grid)) << c.why;
    EXPECT_EQ(DecimalText(grid, 0), c.start) << c.why;
    EXPECT_EQ(StepText(grid), c.stepText) << c.why;
    EXPECT_EQ(DecimalText(grid, c.count - 1), c.stop) << c.why;
  }
}

// Every depth of long curves in every unit, read back as a LAS reader
// would: as a double, times the unit's worth, rounded.
TEST(DecimalGrid, EveryDepthReadsBackToItsIndex) {
  struct Case {
    int32_t top;
    int32_t step;
    int64_t count;
    const char* unit;
  } cases[] = {
      {984, 984, 20000, "M"},     {-1073741000, 65535, 30000, "M"}, {1073000000, 7, 100000, "M"},
      {17, 1, 100000, "F"},       {-5, 3001, 300000, "F"},          {1, 1, 50000, "S"},
      {123456, 2461, 40000, "M"}, {-999, 3, 100000, "MS"},
  };
  for (const Case& c : cases) {
    LasDecimalGrid grid;
    const LasIndexUnit& unit = Unit(c.unit);
    ASSERT_TRUE(FindDecimalGrid(c.top, c.step, c.count, unit, &grid)) << c.top;
    for (int64_t k = 0; k < c.count; ++k) {
      double depth = 0;
      ASSERT_TRUE(ReadLasNumber(DecimalText(grid, k), &depth));
      ASSERT_EQ(std::llround(unit.ToIndex(depth)), c.top + k * c.step)
          << c.unit << " top " << c.top << " sample " << k << ": " << DecimalText(grid, k);
    }
  }
}

const float kNan = NAN;

LasOutput Output(bool wrapped) {
  LasOutput output;
  FindDecimalGrid(6000000, 3000, 3, *FindIndexUnit("F"), &output.index);
  output.count = 3;
  output.well = {{"STRT", "F", "1000.0", "START"},
                 {"STOP", "F", "1001.0", "STOP"},
                 {"STEP", "F", "0.5", "STEP"},
                 {"NULL", "", "-999.25", "NULL VALUE"},
                 {"LATI", "deg", "45\xE2\x88\x9E 39' N", "Latitude: north"}};
  output.curves = {{"DEPT", "F", "", "DEPTH"}, {"MY GR.X", "GAPI", "", "gamma: ray"}};
  for (int c = 0; c < 12; ++c) {
    output.curves.push_back({"C" + std::to_string(c), "V/V", "", "curve"});
  }
  output.columns.assign(13, {1.5F, kNan, -0.000123F});
  output.columns[0] = {12345.678F, 0.1F, 1e-7F};
  output.other = {"\tA note", "~not a section"};
  output.wrapped = wrapped;
  return output;
}

TEST(LasWriter, WritesValidLasThatReadsBack) {
  for (bool wrapped : {false, true}) {
    std::string text = WriteLas(Output(wrapped));
    for (char c : text) {
      EXPECT_TRUE((c >= 32 && c < 127) || c == '\r' || c == '\n') << int(c);
    }
    size_t lines = 0;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
      ++lines;
      EXPECT_EQ(text[end - 1], '\r') << "line " << lines;
      if (wrapped) {
        EXPECT_LE(end + 1 - at, 80u) << "line " << lines;
      }
    }
    LasFile file = ReadOk(text);
    EXPECT_EQ(file.wrapped, wrapped);
    ASSERT_EQ(file.Width(), 14u);
    EXPECT_EQ(file.curves[1].mnemonic, "MY_GR_X") << "no blank or dot in a mnemonic";
    EXPECT_EQ(file.curves[1].description, "gamma; ray") << "no colon in a description";
    EXPECT_EQ(file.FindWell("LATI")->value, "45  39' N") << "non-ASCII text becomes a space";
    EXPECT_EQ(file.other, (std::vector<std::string>{" A note", "-not a section"}));
    ASSERT_EQ(file.Rows(), 3u);
    EXPECT_EQ(file.values[0], 1000.0);
    EXPECT_EQ(file.values[1 * 14 + 0], 1000.5);
    EXPECT_EQ(static_cast<float>(file.values[1]), 12345.678F) << "the float back, exactly";
    EXPECT_EQ(static_cast<float>(file.values[2 * 14 + 1]), 1e-7F);
    EXPECT_EQ(static_cast<float>(file.values[2 * 14 + 13]), -0.000123F);
    EXPECT_TRUE(std::isnan(file.values[1 * 14 + 13])) << "NaN written as NULL";
  }
}

}  // namespace

}  // namespace las
