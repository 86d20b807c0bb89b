#include "libs/sift32/sift32.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t kFeet = 6000;

uint32_t Create(Sift32Library& library, const std::string& filterText) {
  return Sift32Create(library, "", filterText, 0, nullptr);
}

// Feeds the values in turn and returns what the filter made of each.
std::vector<double> Feed(Sift32Library& library, uint32_t handle,
                         const std::vector<double>& values) {
  std::vector<double> out;
  for (double value : values) {
    Sift32Apply(library, handle, &value);
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

struct WindowCase {
  const char* name;
  const char* filterText;
  int32_t window;
};

class Sift32WindowSize : public ::testing::TestWithParam<WindowCase> {};

TEST_P(Sift32WindowSize, RoundsToNearestOddAtLeastOne) {
  Sift32Library library;
  uint32_t handle = Create(library, GetParam().filterText);
  ASSERT_NE(handle, 0U);
  EXPECT_EQ(Sift32Window(library, handle), GetParam().window);
  EXPECT_EQ(Sift32Specification(library, handle), GetParam().filterText);
}

INSTANTIATE_TEST_SUITE_P(
    Sift32, Sift32WindowSize,
    ::testing::Values(
        WindowCase{"One", "Square,1.000000", 1},
        WindowCase{"TwoIsHalfwayAndGoesUp", "Square,2.000000", 3},
        WindowCase{"TwoAndAHalf", "Square,2.500000", 3}, WindowCase{"Three", "Square,3.000000", 3},
        WindowCase{"JustBelowFour", "Square,3.900000", 3},
        WindowCase{"Four", "Gaussian,4.000000", 5},
        WindowCase{"JustAboveFour", "Square,4.100000", 5},
        WindowCase{"OneAndAHalf", "Square,1.500000", 1},
        WindowCase{"JustBelowTwo", "Square,1.900000", 1}, WindowCase{"Zero", "Square,0.000000", 1},
        WindowCase{"Negative", "Gaussian,-3.000000", 1}, WindowCase{"NotANumber", "Square,nan", 1},
        WindowCase{"LargestAccepted", "Square,100001", 100001},
        WindowCase{"WithoutFraction", "Gaussian,5", 5}, WindowCase{"LowerCaseType", "square,7", 7},
        WindowCase{"UpperCaseType", "GAUSSIAN,9", 9}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
  const char* name;
  const char* filterText;
  int32_t flags;
};

class Sift32CreateRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(Sift32CreateRefused, GivesNoHandle) {
  Sift32Library library;
  EXPECT_EQ(Sift32Create(library, "", GetParam().filterText, GetParam().flags, nullptr), 0U);
  EXPECT_EQ(library.InstanceCount(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Sift32, Sift32CreateRefused,
                         ::testing::Values(RefusedCase{"UnknownType", "Triangle,3.000000", 0},
                                           RefusedCase{"NoComma", "Square", 0},
                                           RefusedCase{"NoNumber", "Square,", 0},
                                           RefusedCase{"NotANumberText", "Gaussian,abc", 0},
                                           RefusedCase{"EmptyText", "", 0},
                                           RefusedCase{"FlagsSet", "Square,3.000000", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Sift32Library, HandlesAreDistinctAndReleased) {
  Sift32Library library;
  uint32_t first = Create(library, "Square,3");
  uint32_t second = Create(library, "Gaussian,5");
  ASSERT_NE(first, 0U);
  ASSERT_NE(second, 0U);
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
}

TEST(Sift32Library, LibrariesAreSeparate) {
  Sift32Library one;
  Sift32Library other;
  uint32_t handle = Create(one, "Square,3");
  EXPECT_EQ(Sift32Window(other, handle), 0);
  EXPECT_EQ(other.InstanceCount(), 0U);
}

// ---------------------------------------------------------------------------
// Preparing for a run.

TEST(Sift32Prepare, ReadAheadIsHalfTheWindowInSteps) {
  Sift32Library library;
  uint32_t square = Create(library, "Square,5");
  uint32_t gaussian = Create(library, "Gaussian,2.5");
  uint32_t single = Create(library, "Square,1");
  EXPECT_EQ(Sift32ReadAhead(library, square), 0);  // not prepared yet
  ASSERT_NE(Sift32Prepare(library, square, kFeet, 1500), 0);
  ASSERT_NE(Sift32Prepare(library, gaussian, kFeet, 250), 0);
  ASSERT_NE(Sift32Prepare(library, single, kFeet, 1500), 0);
  EXPECT_EQ(Sift32ReadAhead(library, square), 3000);
  EXPECT_EQ(Sift32ReadAhead(library, gaussian), 250);
  EXPECT_EQ(Sift32ReadAhead(library, single), 0);
  // A later run with another step.
  ASSERT_NE(Sift32Prepare(library, square, 19685, 10), 0);
  EXPECT_EQ(Sift32ReadAhead(library, square), 20);
}

TEST(Sift32Prepare, LargestReadAheadThatFits) {
  Sift32Library library;
  uint32_t handle = Create(library, "Square,3");
  ASSERT_NE(Sift32Prepare(library, handle, kFeet, INT32_MAX), 0);
  EXPECT_EQ(Sift32ReadAhead(library, handle), INT32_MAX);
}

struct PrepareRefusal {
  const char* name;
  const char* filterText;
  int32_t step;
};

class Sift32PrepareRefused : public ::testing::TestWithParam<PrepareRefusal> {};

TEST_P(Sift32PrepareRefused, GivesZero) {
  Sift32Library library;
  uint32_t handle = Create(library, GetParam().filterText);
  ASSERT_NE(handle, 0U);
  EXPECT_EQ(Sift32Prepare(library, handle, kFeet, GetParam().step), 0);
  EXPECT_EQ(Sift32ReadAhead(library, handle), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sift32, Sift32PrepareRefused,
    ::testing::Values(PrepareRefusal{"ZeroStep", "Square,3", 0},
                      PrepareRefusal{"NegativeStep", "Gaussian,3", -10},
                      PrepareRefusal{"ZeroStepSingleSample", "Square,1", 0},
                      PrepareRefusal{"WindowAboveLimit", "Square,100003", 1},
                      PrepareRefusal{"HugeWindow", "Gaussian,1e12", 1},
                      PrepareRefusal{"InfiniteWindow", "Square,inf", 1},
                      PrepareRefusal{"ReadAheadTooLarge", "Square,5", INT32_MAX},
                      PrepareRefusal{"LargeWindowLargeStep", "Square,100001", 100000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sift32Prepare, UnknownHandleIsRefused) {
  Sift32Library library;
  EXPECT_EQ(Sift32Prepare(library, 0, kFeet, 10), 0);
  EXPECT_EQ(Sift32Prepare(library, 77, kFeet, 10), 0);
  EXPECT_EQ(Sift32ReadAhead(library, 0), 0);
  EXPECT_EQ(Sift32ReadAhead(library, 77), 0);
}

TEST(Sift32Prepare, StartsTheFilterAfresh) {
  Sift32Library library;
  uint32_t handle = Create(library, "Square,3");
  ASSERT_NE(Sift32Prepare(library, handle, kFeet, 10), 0);
  Feed(library, handle, {100, 200, 300});
  ASSERT_NE(Sift32Prepare(library, handle, kFeet, 10), 0);
  ExpectValues(Feed(library, handle, {1, 2}), {1, 1.5});
}

// ---------------------------------------------------------------------------
// Filtering.

struct ApplyCase {
  const char* name;
  const char* filterText;
  std::vector<double> in;
  std::vector<double> out;
};

class Sift32Filtering : public ::testing::TestWithParam<ApplyCase> {};

// Gaussian weights of a window of 3 (sigma 0.75): exp(-1/(2*0.75^2)) at the
// edges, 1 in the centre.
constexpr double kEdge3 = 0.41111229050718745;

TEST_P(Sift32Filtering, FiltersValuesInTurn) {
  Sift32Library library;
  uint32_t handle = Create(library, GetParam().filterText);
  ASSERT_NE(Sift32Prepare(library, handle, kFeet, 10), 0);
  ExpectValues(Feed(library, handle, GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Sift32, Sift32Filtering,
    ::testing::Values(
        // Until the window is full the mean is over the values fed so far.
        ApplyCase{"SquareMean", "Square,3", {1, 2, 3, 4, 10}, {1, 1.5, 2, 3, 17.0 / 3.0}},
        ApplyCase{"SquareOfOneIsIdentity", "Square,1", {5, -2, 7}, {5, -2, 7}},
        ApplyCase{
            "SquareStep", "Square,5", {0, 0, 0, 0, 5, 5, 5, 5, 5}, {0, 0, 0, 0, 1, 2, 3, 4, 5}},
        ApplyCase{"SquareSkipsNaN", "Square,3", {1, kNaN, 3, 5, 7}, {1, 1, 2, 4, 5}},
        ApplyCase{"SquareAllNaN",
                  "Square,3",
                  {kNaN, kNaN, 4, kNaN, kNaN, kNaN},
                  {kNaN, kNaN, 4, 4, 4, kNaN}},
        // The newest value stands at the window's leading edge.
        ApplyCase{
            "GaussianPartialWindow", "Gaussian,3", {1, 2}, {1, (2 * kEdge3 + 1) / (1 + kEdge3)}},
        ApplyCase{
            "GaussianFullWindow",
            "Gaussian,3",
            {1, 2, 4},
            {1, (2 * kEdge3 + 1) / (1 + kEdge3), (kEdge3 * 1 + 2 + kEdge3 * 4) / (1 + 2 * kEdge3)}},
        ApplyCase{"GaussianImpulse",
                  "Gaussian,5",
                  {0, 0, 0, 0, 10, 0, 0, 0, 0},
                  {0, 0, 0, 0, 0.9242116269661458, 2.413760246844125, 3.3240562523794575,
                   2.413760246844125, 0.9242116269661458}},
        ApplyCase{"GaussianConstant",
                  "Gaussian,7",
                  {3, 3, 3, 3, 3, 3, 3, 3, 3},
                  {3, 3, 3, 3, 3, 3, 3, 3, 3}},
        ApplyCase{"GaussianSkipsNaN", "Gaussian,3", {4, kNaN, 4, kNaN}, {4, 4, 4, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sift32Pass, HandleZeroAndUnknownHandlesPassValuesThrough) {
  Sift32Library library;
  uint32_t handle = Create(library, "Square,3");
  ASSERT_NE(Sift32Prepare(library, handle, kFeet, 10), 0);
  ExpectValues(Feed(library, 0, {1, 9, kNaN, -4}), {1, 9, kNaN, -4});
  ExpectValues(Feed(library, handle + 100, {1, 9}), {1, 9});
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
  ExpectValues(Feed(library, one, {9}), {6});
}

}  // namespace
