// A context on a home folder of its own with one log database, WELL, and
// helpers to make and read back items. The helpers close what they open, so
// a test can count the library's open handles.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "curvedata/context.h"
#include "libs/dorvex/curve_info.h"
#include "model/job_list.h"
#include "tests/support/scripted_screen.h"
#include "tests/support/temp_folder.h"

namespace quillex {

// A zeroed record with values put at their byte offsets (little-endian).
template <size_t N>
struct RecordBytes {
  std::array<uint8_t, N> bytes{};
  template <typename T>
  RecordBytes& At(size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
    return *this;
  }
  RecordBytes& Text(size_t offset, const std::string& text) {
    std::memcpy(bytes.data() + offset, text.data(), text.size());
    return *this;
  }
};

class BindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = folder_.path();
    ASSERT_FALSE(home_.empty());
    ASSERT_EQ(dorvex::DorvexInitializeAt(context_.dorvex, home_), 1);
    file_ = MakeDatabase("WELL");
  }

  // Starts the library again with these [Corvane] settings ("Units=2");
  // only while nothing is open.
  void UseSettings(const std::string& lines) {
    std::ofstream(home_ + "/jobs/corvane.ini") << "[Corvane]\n" << lines << "\n";
    ASSERT_EQ(dorvex::DorvexInitializeAt(context_.dorvex, home_), 1);
  }

  std::string MakeDatabase(const std::string& name) {
    std::string file = dorvex::DorvexDatabaseFile(context_.dorvex, name);
    EXPECT_EQ(dorvex::DorvexCreateDatabase(context_.dorvex, file), 0);
    return file;
  }

  uint32_t Open(const std::string& file) {
    uint32_t database = 0;
    EXPECT_EQ(dorvex::DorvexOpenDatabase(context_.dorvex, file, 0, &database), 0);
    return database;
  }

  // An item of WELL with count elements from its top, finished or still
  // being recorded.
  void PutItem(const std::string& path, const dorvex::CurveInfo& info, const void* elements, int32_t count,
               bool recording = false) {
    dorvex::DorvexLibrary& dorvex = context_.dorvex;
    uint32_t database = Open(file_);
    uint32_t curve = 0;
    ASSERT_EQ(dorvex::DorvexCreateCurve(dorvex, database, path, sizeof info, &info), 0) << path;
    ASSERT_EQ(dorvex::DorvexOpenCurve(dorvex, database, path, &curve, dorvex::kDorvexWrite, nullptr), 0);
    if (count > 0) {
      EXPECT_EQ(dorvex::DorvexWriteSamples(dorvex, curve, info.top, count, elements), 0);
    }
    EXPECT_EQ(dorvex::DorvexSetRecording(dorvex, curve, recording), 0);
    dorvex::DorvexCloseDatabase(dorvex, database);
  }
  void PutCurve(const std::string& path, const dorvex::CurveInfo& info, const std::vector<float>& values,
                bool recording = false) {
    PutItem(path, info, values.data(), static_cast<int32_t>(values.size()), recording);
  }

  // Nodes (data sets, numbered results), made in one transaction.
  void PutNodes(const std::string& file, const std::vector<std::string>& paths) {
    uint32_t database = Open(file);
    ASSERT_EQ(dorvex::DorvexBeginBatch(context_.dorvex, database), 0);
    for (const std::string& path : paths) {
      auto level = static_cast<int32_t>(std::count(path.begin(), path.end(), '/')) - 1;
      ASSERT_EQ(dorvex::DorvexCreateNode(context_.dorvex, database, path, 0, nullptr, level, 0), 1);
    }
    ASSERT_EQ(dorvex::DorvexEndBatch(context_.dorvex, database, true), 0);
    dorvex::DorvexCloseDatabase(context_.dorvex, database);
  }

  bool Exists(const std::string& file, const std::string& path) {
    uint32_t database = Open(file);
    std::vector<dorvex::DorvexItem> items;
    bool found = database != 0 && dorvex::DorvexListItems(context_.dorvex, database, path, &items) == 0;
    dorvex::DorvexCloseDatabase(context_.dorvex, database);
    return found;
  }

  // An item of WELL as stored: its description and its first count
  // elements of elementSize bytes.
  struct Stored {
    bool found = false;
    std::array<uint8_t, 244> info{};
    std::vector<uint8_t> elements;
  };
  Stored Read(const std::string& path, int32_t count, size_t elementSize) {
    Stored stored;
    stored.elements.resize(static_cast<size_t>(count) * elementSize);
    uint32_t database = Open(file_);
    uint32_t curve = 0;
    dorvex::CurveInfo info{};
    stored.found =
        dorvex::DorvexOpenCurve(context_.dorvex, database, path, &curve, dorvex::kDorvexRead, &info) == 0;
    std::memcpy(stored.info.data(), &info, sizeof info);
    if (stored.found)
      EXPECT_EQ(dorvex::DorvexReadSamples(context_.dorvex, curve, info.top, count, stored.elements.data()), 0);
    dorvex::DorvexCloseDatabase(context_.dorvex, database);
    return stored;
  }

  OutputDef& AddOutput(const std::string& name) {
    auto output = std::make_unique<OutputDef>();
    output->name = name;
    return AppendOutput(context_.job, std::move(output));
  }

  VariableBinding& AddNode(OutputDef& output, const std::string& name, const std::string& path,
                           int32_t kind = kNodeInput) {
    VariableBinding& node = *output.variables.emplace_back(std::make_unique<VariableBinding>());
    node.name = name;
    node.kind = kind;
    node.database = file_;
    node.path = path;
    return node;
  }

  // The texts of the boxes shown; each is expected to be an error box.
  std::vector<std::string> Errors() const {
    std::vector<std::string> texts;
    for (const RecordedBox& shown : screen_.boxes()) {
      bool error = shown.IsError() && shown.caption == kCaption;
      texts.push_back(error ? shown.text : "(not an error box) " + shown.text);
    }
    return texts;
  }

  // No curve, database or slot open, and no output database kept.
  ::testing::AssertionResult NothingOpen() const {
    size_t slots = 0;
    for (const DatabaseSlot& slot : context_.slots) slots += slot.handle != 0 ? 1 : 0;
    size_t databases = context_.dorvex.OpenDatabaseCount();
    size_t curves = context_.dorvex.OpenCurveCount();
    if (databases + curves + slots + context_.outputDatabase == 0) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << databases << " databases, " << curves << " curves, " << slots
           << " slots open; output database " << context_.outputDatabase;
  }

  test_support::TempFolder folder_{"quillex_binding"};
  std::string home_;
  std::string file_;
  ScriptedScreen screen_;
  Context context_{screen_};
};

}  // namespace quillex
