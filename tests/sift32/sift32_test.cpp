#include "libs/sift32/sift32.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace sift32 {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t kFeet = 6000;

uint32_t Create(Sift32Library& library, const std::string& filterText) {
  return Sift32Create(library, "", filterText, 0, nullptr);
}

// Feeds the values in turn, for samples at index first, first + 1, ..., and
// returns what the filter made of each.
std::vector<double> Feed(Sift32Library& library, uint32_t handle,
                         const std::vector<double>& values, int32_t first = 0) {
  std::vector<double> out;
  for (double value : values) {
    Sift32Apply(library, handle, &value, first++);
    out.push_back(value);
  }
  return out;
}

void ExpectValues(const std::vector<double>& got, const std::vector<double>& expected) {
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    if (std::isnan(expected[i])) {
      EXPECT_TRUE(std::isnan(got[i])) << "value " << i << ": " << got[i];
    } else {
      EXPECT_DOUBLE_EQ(got[i], expected[i]) << "value " << i;
    }
  }
}

// ---------------------------------------------------------------------------
// Creation and the window.

// The window is the interval rounded to the nearest odd number, halfway cases
// up, and at least 1.
TEST(Sift32Create, WindowRoundsToTheNearestOddAtLeastOne) {
  struct Row {
    const char* filterText;
    int32_t window;
  };
  const std::vector<Row> rows = {
      {"Square,1.900000", 1},   {"Square,2.000000", 3}, {"Square,3.900000", 3},
      {"Gaussian,4.000000", 5}, {"Gaussian,-3", 1},     {"Square,nan", 1},
      {"square,7", 7},          {"Square,200001", 200001}, {"Square,1e300", INT32_MAX},
  };
  for (const auto& row : rows) {
    Sift32Library library;
    uint32_t handle = Create(library, row.filterText);
    ASSERT_NE(handle, 0U) << row.filterText;
    EXPECT_EQ(Sift32Window(library, handle), row.window) << row.filterText;
    EXPECT_EQ(Sift32Specification(library, handle), row.filterText);
  }
}

TEST(Sift32Create, RefusedWithoutTypeNumberOrWithFlags) {
  struct Row {
    const char* filterText;
    int32_t flags;
  };
  const std::vector<Row> rows = {
      {"Triangle,3.000000", 0}, {"Square", 0}, {"Square,", 0}, {"Square,3.000000", 1}};
  for (const auto& row : rows) {
    Sift32Library library;
    EXPECT_EQ(Sift32Create(library, "", row.filterText, row.flags, nullptr), 0U) << row.filterText;
    EXPECT_EQ(library.InstanceCount(), 0U);
  }
}

TEST(Sift32Library, HandlesAreDistinctReleasedAndOwnedByOneLibrary) {
  Sift32Library library;
  uint32_t first = Create(library, "Square,3");
  uint32_t second = Create(library, "Gaussian,5");
  ASSERT_NE(first, 0U);
  EXPECT_NE(first, second);
  EXPECT_EQ(library.InstanceCount(), 2U);

  Sift32Release(library, first);
  EXPECT_EQ(library.InstanceCount(), 1U);
  EXPECT_EQ(Sift32Window(library, first), 0);
  EXPECT_EQ(Sift32Specification(library, first), "");
  EXPECT_EQ(Sift32Window(library, second), 5);
  // 0, unknown and already released handles are ignored.
  Sift32Release(library, 0);
  Sift32Release(library, first);
  Sift32Release(library, 12345);
  EXPECT_EQ(library.InstanceCount(), 1U);

  Sift32Library other;
  EXPECT_EQ(Sift32Window(other, second), 0);
}

// ---------------------------------------------------------------------------
// Preparing for a run: the read-ahead is half the window in steps.

TEST(Sift32Prepare, ReadAheadOrRefusal) {
  struct Row {
    const char* filterText;
    int32_t step;
    bool accepted;
    int32_t readAhead;
  };
  const std::vector<Row> rows = {
      {"Square,5", 1500, true, 3000},
      {"Gaussian,2.5", 250, true, 250},
      {"Square,1", 1500, true, 0},
      {"Square,200001", 3000, true, 300000000},
      {"Square,3", INT32_MAX, true, INT32_MAX},
      {"Square,5", INT32_MAX, true, INT32_MAX},  // beyond 32 bits: past every index
      {"Square,3", 0, false, 0},
      {"Square,3", -3000, false, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.filterText) + " step " + std::to_string(row.step));
    Sift32Library library;
    uint32_t handle = Create(library, row.filterText);
    ASSERT_NE(handle, 0U);
    EXPECT_EQ(Sift32Prepare(library, handle, kFeet, row.step) != 0, row.accepted);
    EXPECT_EQ(Sift32ReadAhead(library, handle), row.readAhead);
  }
}

TEST(Sift32Prepare, UnknownHandleIsRefused) {
  Sift32Library library;
  EXPECT_EQ(Sift32Prepare(library, 0, kFeet, 10), 0);
  EXPECT_EQ(Sift32Prepare(library, 77, kFeet, 10), 0);
  EXPECT_EQ(Sift32ReadAhead(library, 77), 0);
}

TEST(Sift32Prepare, EachRunStartsAfreshWithItsStep) {
  Sift32Library library;
  uint32_t handle = Create(library, "Square,3");
  EXPECT_EQ(Sift32ReadAhead(library, handle), 0);  // not prepared yet
  ASSERT_NE(Sift32Prepare(library, handle, kFeet, 10), 0);
  Feed(library, handle, {100, 200, 300});
  ASSERT_NE(Sift32Prepare(library, handle, 19685, 20), 0);
  EXPECT_EQ(Sift32ReadAhead(library, handle), 20);
  ExpectValues(Feed(library, handle, {1, 2}), {1, 1.5});
}

// ---------------------------------------------------------------------------
// Filtering.

// Gaussian weights of a window of 3 (sigma 0.75): exp(-1/(2*0.75^2)) at the
// edges, 1 in the centre.
constexpr double kEdge3 = 0.41111229050718745;

TEST(Sift32Filtering, FiltersValuesInTurn) {
  struct Row {
    const char* name;
    const char* filterText;
    std::vector<double> in;
    std::vector<double> out;
  };
  const std::vector<Row> rows = {
      // Until the window is full the mean is over the values fed so far.
      {"square mean", "Square,3", {1, 2, 3, 4, 10}, {1, 1.5, 2, 3, 17.0 / 3.0}},
      {"square skips NaN", "Square,3", {1, kNaN, 3, 5, 7}, {1, 1, 2, 4, 5}},
      {"square of NaN only", "Square,3", {kNaN, kNaN, 4, kNaN, kNaN, kNaN},
       {kNaN, kNaN, 4, 4, 4, kNaN}},
      // The newest value stands at the window's leading edge.
      {"gaussian", "Gaussian,3", {1, 2, 4},
       {1, (2 * kEdge3 + 1) / (1 + kEdge3), (kEdge3 * 1 + 2 + kEdge3 * 4) / (1 + 2 * kEdge3)}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Sift32Library library;
    uint32_t handle = Create(library, row.filterText);
    ASSERT_NE(Sift32Prepare(library, handle, kFeet, 10), 0);
    ExpectValues(Feed(library, handle, row.in), row.out);
  }
}

TEST(Sift32Pass, HandleZeroAndUnknownHandlesPassValuesThrough) {
  Sift32Library library;
  uint32_t handle = Create(library, "Square,3");
  ASSERT_NE(Sift32Prepare(library, handle, kFeet, 10), 0);
  ExpectValues(Feed(library, 0, {1, 9, kNaN, -4}), {1, 9, kNaN, -4});
  Sift32Release(library, handle);
  ExpectValues(Feed(library, handle, {1, 9}), {1, 9});
}

TEST(Sift32Pass, InstancesKeepSeparateWindows) {
  Sift32Library library;
  uint32_t one = Create(library, "Square,3");
  uint32_t two = Create(library, "Square,3");
  ASSERT_NE(Sift32Prepare(library, one, kFeet, 10), 0);
  ASSERT_NE(Sift32Prepare(library, two, kFeet, 10), 0);
  ExpectValues(Feed(library, one, {3, 6}), {3, 4.5});
  ExpectValues(Feed(library, two, {10}), {10});
  ExpectValues(Feed(library, one, {9}, 2), {6});
}

// A sample fed again (a run held by an input not yet recorded evaluates it
// once more when the data is there) replaces the value fed for it before:
// the results are those of feeding each sample once, to the bit. A wide
// window over a few samples is the mean of those fed.
TEST(Sift32Filtering, ASampleFedAgainCountsOnce) {
  const std::vector<double> values = {1, 2, 4, 8, 16, 32, 64};
  for (const char* filterText : {"Square,3", "Gaussian,5", "Square,200001"}) {
    SCOPED_TRACE(filterText);
    Sift32Library library;
    uint32_t once = Create(library, filterText);
    uint32_t again = Create(library, filterText);
    ASSERT_NE(Sift32Prepare(library, once, kFeet, 10), 0);
    ASSERT_NE(Sift32Prepare(library, again, kFeet, 10), 0);
    std::vector<double> expected = Feed(library, once, values);
    for (int32_t k = 0; k < static_cast<int32_t>(values.size()); ++k) {
      for (double stale : {-100.0, kNaN}) Feed(library, again, {stale}, k);
      EXPECT_EQ(Feed(library, again, {values[k]}, k)[0], expected[k]) << k;
    }
  }
  Sift32Library library;
  uint32_t wide = Create(library, "Square,200001");
  ASSERT_NE(Sift32Prepare(library, wide, kFeet, 3000), 0);
  ExpectValues(Feed(library, wide, {2, 4, 9}), {2, 3, 5});
}

}  // namespace

}  // namespace sift32
