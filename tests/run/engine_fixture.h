// A context on a home folder of its own, with one log database WELL, for
// driving whole runs one step at a time. Curves are made and read back
// through a second library on the same home, as another program would; the
// job is loaded from a job file as Open does.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "curvedata/context.h"
#include "curvedata/job_fields.h"
#include "curvedata/unit_list.h"
#include "jobfile/job_file.h"
#include "jobfile/settings.h"
#include "jobfile/source_choice.h"
#include "libs/dorvex/curve_info.h"
#include "model/controls.h"
#include "run/engine.h"
#include "tests/support/scripted_screen.h"
#include "tests/support/temp_folder.h"

namespace quillex {

// Index units per foot, the display unit of every test here.
constexpr int32_t kFoot = 6000;

class EngineTest : public ::testing::Test {
 public:
  void SetUp() override {
    home_ = folder_.path();
    ASSERT_FALSE(home_.empty());
    ASSERT_EQ(dorvex::DorvexInitializeAt(context_.dorvex, home_), 1);
    ASSERT_EQ(dorvex::DorvexInitializeAt(data_, home_), 1);
    LoadSettings(context_, "");
    LoadUnitList(context_);
    well_ = dorvex::DorvexDatabaseFile(data_, "WELL");
    ASSERT_EQ(dorvex::DorvexCreateDatabase(data_, well_), 0);
  }

  // A float curve of WELL from top every step (both in feet). Left open for
  // writing and marked as being recorded when `recording`; returns the
  // handle then, else 0 with everything closed.
  uint32_t PutCurve(const std::string& path, const std::string& units, double top, double step,
                    const std::vector<float>& values, bool recording = false,
                    bool timeBased = false) {
    auto first = static_cast<int32_t>(top * kFoot);
    auto every = static_cast<int32_t>(step * kFoot);
    auto count = static_cast<int32_t>(values.size());
    dorvex::CurveInfo info = dorvex::SampleCurveInfo("test", 0, timeBased, dorvex::DorvexUnitCode(data_, units), first,
                                     first + every * (count - 1), every);
    uint32_t database = 0;
    uint32_t curve = 0;
    EXPECT_EQ(dorvex::DorvexOpenDatabase(data_, well_, 0, &database), 0);
    EXPECT_EQ(dorvex::DorvexCreateCurve(data_, database, path, sizeof info, &info), 0) << path;
    EXPECT_EQ(dorvex::DorvexOpenCurve(data_, database, path, &curve, dorvex::kDorvexWrite, nullptr), 0);
    EXPECT_EQ(dorvex::DorvexWriteSamples(data_, curve, first, count, values.data()), 0);
    if (recording) {
      EXPECT_EQ(dorvex::DorvexSetRecording(data_, curve, true), 0);
      return curve;
    }
    dorvex::DorvexCloseDatabase(data_, database);
    return 0;
  }

  // A curve of WELL as stored: its top and samples; nothing when missing.
  struct Stored {
    int32_t top = 0;
    std::vector<float> values;
  };
  std::optional<Stored> ReadCurve(const std::string& path) {
    uint32_t database = 0;
    uint32_t curve = 0;
    std::vector<dorvex::DorvexItem> items;
    std::optional<Stored> stored;
    EXPECT_EQ(dorvex::DorvexOpenDatabase(data_, well_, 0, &database), 0);
    if (dorvex::DorvexListItems(data_, database, path, &items) == 0 &&
        dorvex::DorvexOpenCurve(data_, database, path, &curve, dorvex::kDorvexRead, nullptr) == 0) {
      stored = Stored{items[0].top, std::vector<float>(static_cast<size_t>(items[0].count))};
      auto count = static_cast<int32_t>(items[0].count);
      if (count > 0) {
        EXPECT_EQ(dorvex::DorvexReadSamples(data_, curve, items[0].top, count,
                                            stored->values.data()),
                  0);
      }
    }
    dorvex::DorvexCloseDatabase(data_, database);
    return stored;
  }
  bool Exists(const std::string& path) {
    uint32_t database = 0;
    std::vector<dorvex::DorvexItem> items;
    EXPECT_EQ(dorvex::DorvexOpenDatabase(data_, well_, 0, &database), 0);
    bool found = dorvex::DorvexListItems(data_, database, path, &items) == 0;
    dorvex::DorvexCloseDatabase(data_, database);
    return found;
  }

  // Writes a job file into the job folder and opens it as the Open command
  // does; the boxes its formulas showed are forgotten.
  void Load(const std::string& name, const std::string& text) {
    std::ofstream(home_ + "/jobs/" + name, std::ios::binary) << text;
    context_.job.filePath = name;
    ClearJobFields(context_);
    LoadJob(context_);
    ClearInputPaths(context_);
    ShowList(context_);
    screen_.Clear();
  }

  // The Main Input Source browse button, choosing a data set of WELL.
  void ChooseInput(const std::string& set = "/A/B/C/SET1") {
    screen_.ScriptBrowse(DataSource{well_, set});
    ASSERT_TRUE(ChooseInputSource(context_));
  }

  void Interval(const std::string& from, const std::string& to) {
    screen_.SetText(control::kIntervalFrom, from);
    screen_.SetText(control::kIntervalTo, to);
  }

  void StepToEnd() {
    for (int steps = 0; Step(context_) && steps < 100000; ++steps) {
    }
  }

  OutputDef& Output(size_t place) { return *context_.job.outputs.at(place); }
  std::string Progress() const { return screen_.Text(control::kProgress); }
  bool NothingOpen() {
    return context_.dorvex.OpenCurveCount() == 0 && context_.dorvex.OpenDatabaseCount() == 0;
  }

  test_support::TempFolder folder_{"quillex_engine"};
  std::string home_;
  std::string well_;
  dorvex::DorvexLibrary data_;
  ScriptedScreen screen_;
  Context context_{screen_};
};

// A job file: curve runs unless the option says otherwise, then one section
// per output, each given as its "output" line, formula and any further keys.
struct JobOutput {
  std::string line;
  std::string formula;
  std::string keys;
};
inline std::string JobFile(const std::vector<JobOutput>& outputs, int option = 0,
                           const std::string& format = "") {
  std::string text = "[0]\nformat=" + format + "\nscale=240\n[Job]\nOption=" +
                     std::to_string(option) + "\n";
  for (size_t n = 0; n < outputs.size(); ++n) {
    text += "[" + std::to_string(n + 1) + "]\noutput=" + outputs[n].line + "\nformula=" +
            outputs[n].formula + "\n" + outputs[n].keys;
  }
  return text;
}

}  // namespace quillex
