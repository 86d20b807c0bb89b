// A log database of its own for each test (tests/dorvex/dorvex_fixture.h),
// with the reads the LAS tests need.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "libs/dorvex/curve_info.h"
#include "libs/las/database_export.h"
#include "libs/las/database_import.h"
#include "tests/dorvex/dorvex_fixture.h"

namespace las {

class LasDatabaseTest : public dorvex::DorvexTest {
 protected:
  int Import(const std::string& text, const std::string& set = "/A/B/C/SET",
             LasImportOptions options = {}) {
    return ImportLas(library_, database_, text, set, options, &imported_);
  }

  int Export(const std::string& set = "/A/B/C/SET", LasExportOptions options = {}) {
    return ExportLas(library_, database_, set, options, &exported_);
  }

  // Every item, a line each: path, and for curves top, step and count.
  std::string Listing() {
    std::vector<dorvex::DorvexItem> items;
    EXPECT_EQ(dorvex::DorvexListItems(library_, database_, "", &items), 0);
    std::string text;
    for (const dorvex::DorvexItem& item : items) {
      text += item.path;
      if (item.kind == 1) {
        text += " " + std::to_string(item.top) + " " + std::to_string(item.step) + " " +
                std::to_string(item.count);
      }
      text += "\n";
    }
    return text;
  }

  std::vector<float> Samples(const std::string& path, dorvex::CurveInfo* info = nullptr) {
    dorvex::CurveInfo read = dorvex::EmptyCurveInfo();
    uint32_t curve = 0;
    std::vector<dorvex::DorvexItem> items;
    if (dorvex::DorvexListItems(library_, database_, path, &items) != 0 ||
        dorvex::DorvexOpenCurve(library_, database_, path, &curve, dorvex::kDorvexRead, &read) != 0) {
      ADD_FAILURE() << "no curve " << path;
      return {};
    }
    std::vector<float> values(static_cast<size_t>(items[0].count));
    EXPECT_EQ(dorvex::DorvexReadSamples(library_, curve, items[0].top, static_cast<int32_t>(values.size()),
                      values.data()), 0);
    EXPECT_EQ(dorvex::DorvexCloseCurve(library_, curve), 0);
    if (info != nullptr) *info = read;
    return values;
  }

  // A curve written as a user's program would, outside any LAS file.
  void MakePlainCurve(const std::string& path, int32_t top, int32_t step,
                      const std::vector<float>& values, bool time = false) {
    int32_t bottom = top + static_cast<int32_t>(values.size() - 1) * step;
    dorvex::CurveInfo info = dorvex::SampleCurveInfo("typed by a user", 0, time, 62, top, bottom, step);
    ASSERT_EQ(dorvex::DorvexCreateCurve(library_, database_, path, sizeof info, &info), 0);
    uint32_t curve = 0;
    ASSERT_EQ(dorvex::DorvexOpenCurve(library_, database_, path, &curve, dorvex::kDorvexWrite, nullptr), 0);
    EXPECT_EQ(dorvex::DorvexWriteSamples(library_, curve, top, static_cast<int32_t>(values.size()), values.data()), 0);
    EXPECT_EQ(dorvex::DorvexCloseCurve(library_, curve), 0);
  }

  LasImportResult imported_;
  LasExportResult exported_;
};

inline bool SameSamples(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) return false;
  }
  return true;
}

}  // namespace las
