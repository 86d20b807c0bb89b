// A library started on a fresh home folder of its own, removed afterwards,
// with helpers to make curves the way the system describes them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "libs/dorvex/dorvex.h"

// A 244-byte curve description with the fields the library reads.
inline std::vector<uint8_t> CurveInfoBytes(int32_t top, int32_t bottom, uint16_t step,
                                           uint16_t units = 62, uint16_t elementSize = 4) {
  std::vector<uint8_t> info(kDorvexCurveInfoSize, 0);
  info[0] = '1';
  std::memcpy(info.data() + 11, "a test curve", 12);
  std::memcpy(info.data() + 188, &units, 2);
  std::memcpy(info.data() + 192, &top, 4);
  std::memcpy(info.data() + 196, &bottom, 4);
  std::memcpy(info.data() + 228, &elementSize, 2);
  std::memcpy(info.data() + 230, &step, 2);
  return info;
}

class DorvexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dorvex_test_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
    ASSERT_EQ(DorvexInitializeAt(library_, home_), 1);
    file_ = DorvexDatabaseFile(library_, "WELL");
    ASSERT_EQ(DorvexCreateDatabase(library_, file_), 0);
    ASSERT_EQ(DorvexOpenDatabase(library_, file_, 0, &database_), 0);
  }

  void TearDown() override {
    std::filesystem::permissions(home_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
  }

  // Creates a float curve and writes values from its top on; returns the
  // curve opened for writing (still open) or 0.
  uint32_t MakeCurve(const std::string& path, int32_t top, uint16_t step,
                     const std::vector<float>& values) {
    int32_t bottom = top + static_cast<int32_t>(values.empty() ? 0 : values.size() - 1) * step;
    auto info = CurveInfoBytes(top, bottom, step);
    if (DorvexCreateCurve(library_, database_, path, kDorvexCurveInfoSize, info.data()) != 0) {
      return 0;
    }
    uint32_t curve = 0;
    if (DorvexOpenCurve(library_, database_, path, &curve, kDorvexWrite, info.data()) != 0) {
      return 0;
    }
    if (!values.empty()) {
      DorvexWriteSamples(library_, curve, top, static_cast<int32_t>(values.size()), values.data());
    }
    return curve;
  }

  float ReadAt(uint32_t curve, int32_t index, int* result) {
    float value = -12345.0F;
    *result = DorvexReadSamples(library_, curve, index, 1, &value);
    return value;
  }

  std::string home_;
  std::string file_;
  DorvexLibrary library_;
  uint32_t database_ = 0;
};
