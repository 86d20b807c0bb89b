// Written files are valid LAS 2.0 and read back as what was written.
#include "libs/las/las_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "libs/las/las_reader.h"

namespace {

const float kNan = std::numeric_limits<float>::quiet_NaN();

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
    LasFile file;
    LasProblem problem;
    ASSERT_TRUE(ReadLas(text, &file, &problem)) << problem.line << ": " << problem.message;
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
