// A library started on a fresh home folder of its own, removed afterwards,
// with helpers to make curves the way the system describes them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"
#include "tests/support/temp_folder.h"

namespace dorvex {

// A 244-byte curve description with the fields the library reads.
inline std::vector<uint8_t> CurveInfoBytes(int32_t top, int32_t bottom, uint16_t step,
                                           uint16_t units = 62, uint16_t elementSize = 4) {
  CurveInfo info = EmptyCurveInfo();
  info.version[0] = '1';
  std::strcpy(info.description, "a test curve");
  info.units = units;
  info.top = top;
  info.bottom = bottom;
  info.elementSize = elementSize;
  info.step = step;
  std::vector<uint8_t> bytes(sizeof info);
  std::memcpy(bytes.data(), &info, sizeof info);
  return bytes;
}

class DorvexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = folder_.path();
    ASSERT_FALSE(home_.empty());
    ASSERT_EQ(DorvexInitializeAt(library_, home_), 1);
    file_ = DorvexDatabaseFile(library_, "WELL");
    ASSERT_EQ(DorvexCreateDatabase(library_, file_), 0);
    ASSERT_EQ(DorvexOpenDatabase(library_, file_, 0, &database_), 0);
  }


  // Creates a float curve and writes values from its top on; returns the
  // curve opened for writing (still open) or 0.
  uint32_t MakeCurve(const std::string& path, int32_t top, uint16_t step,
                     const std::vector<float>& values) {
    int32_t bottom = top + static_cast<int32_t>(values.empty() ? 0 : values.size() - 1) * step;
    auto info = CurveInfoBytes(top, bottom, step);
    uint32_t curve = 0;
    if (DorvexCreateCurve(library_, database_, path, kDorvexCurveInfoSize, info.data()) != 0 ||
        DorvexOpenCurve(library_, database_, path, &curve, kDorvexWrite, info.data()) != 0) {
      return 0;
    }
    auto count = static_cast<int32_t>(values.size());
    if (count > 0) EXPECT_EQ(DorvexWriteSamples(library_, curve, top, count, values.data()), 0);
    return curve;
  }

  // A curve of the fixture's database opened (a failure is reported).
  uint32_t Open(const std::string& path, int32_t mode = kDorvexRead) {
    uint32_t curve = 0;
    EXPECT_EQ(DorvexOpenCurve(library_, database_, path, &curve, mode, nullptr), 0) << path;
    return curve;
  }

  // One sample, read with the result expected.
  float ReadAt(uint32_t curve, int32_t index, int expected = 0) {
    float value = -12345.0F;
    EXPECT_EQ(DorvexReadSamples(library_, curve, index, 1, &value), expected) << index;
    return value;
  }

  // Another process, as far as the library can tell: a library of its own on
  // the same home, with the database open.
  uint32_t OpenElsewhere(DorvexLibrary& other) {
    uint32_t database = 0;
    EXPECT_EQ(DorvexInitializeAt(other, home_), 1);
    EXPECT_EQ(DorvexOpenDatabase(other, file_, 0, &database), 0);
    return database;
  }

  // Closes the fixture's database; true when the check then finds its file sound.
  bool ClosedAndSound() {
    DorvexCloseDatabase(library_, database_);
    std::vector<std::string> problems;
    return DorvexCheckDatabase(library_, file_, &problems) == 0;
  }

  test_support::TempFolder folder_{"dorvex_test"};
  std::string home_;
  std::string file_;
  DorvexLibrary library_;
  uint32_t database_ = 0;
};

}  // namespace dorvex
