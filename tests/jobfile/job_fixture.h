// A context on a fresh home folder, with the unit list loaded, for job-file
// tests; files are written and read as raw bytes.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "curvedata/context.h"
#include "curvedata/index_value.h"
#include "curvedata/recording_screen.h"
#include "curvedata/unit_list.h"

class JobFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jobfile_test_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
    ASSERT_EQ(DorvexInitializeAt(context_.dorvex, home_), 1);
    SetIndexFactor(context_);
    LoadUnitList(context_);
    jobs_ = home_ + "/jobs/";
  }
  void TearDown() override { std::filesystem::remove_all(home_); }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::string home_;
  std::string jobs_;
  RecordingScreen screen_;
  Context context_{screen_};
};
