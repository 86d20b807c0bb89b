// Curves: descriptions kept verbatim, reading at any index, buffered writes,
// the window a long curve keeps while it is written, recordings followed from
// a second library (as another process would) and batches; then the library's
// services: argument blocks, temporary files and launching a program.
#include <algorithm>
#include <cmath>
#include <thread>

#include "tests/dorvex/dorvex_fixture.h"

namespace dorvex {

namespace {

// Creating and opening: the description comes back verbatim, pass "*" is the
// highest pass, and bad requests are refused.
TEST_F(DorvexTest, CurvesAreCreatedAndOpenedOnlyAsTheyShouldBe) {
  for (const char* pass : {"1", "2", "10"}) {
    uint32_t curve = MakeCurve(std::string("/A/B/C/D/GR/") + pass, 6000, 1500, {1.0F});
    ASSERT_NE(curve, 0u) << pass;
    EXPECT_EQ(DorvexCloseCurve(library_, curve), 0);
  }
  std::vector<uint8_t> info(kDorvexCurveInfoSize, 0xEE);
  uint32_t curve = 0;
  ASSERT_EQ(DorvexOpenCurve(library_, database_, "a/b/c/d/gr/*", &curve, kDorvexRead,
                            info.data()), 0);
  EXPECT_EQ(info, CurveInfoBytes(6000, 6000, 1500));
  std::vector<DorvexItem> items;
  ASSERT_EQ(DorvexListItems(library_, database_, "/A/B/C/D/GR/*", &items), 0);
  EXPECT_EQ(items.at(0).path, "/A/B/C/D/GR/10");
  EXPECT_EQ(DorvexCloseCurve(library_, curve), 0);
  EXPECT_EQ(library_.OpenCurveCount(), 0u);

  info = CurveInfoBytes(0, 0, 100);
  const struct {
    const char* why;
    std::string path;
    int32_t size;
  } cases[] = {
      {"five components", "/A/B/C/D/SP", kDorvexCurveInfoSize},
      {"seven components", "/A/B/C/D/SP/1/2", kDorvexCurveInfoSize},
      {"a description of the wrong size", "/A/B/C/D/SP/1", 180},
      {"a component too long", "/A/B/C/D/ABCDEFGHIJK/1", kDorvexCurveInfoSize},
      {"the same curve, other case", "/a/b/c/d/gr/1", kDorvexCurveInfoSize},
  };
  for (const auto& c : cases) {
    EXPECT_NE(DorvexCreateCurve(library_, database_, c.path, c.size, info.data()), 0) << c.why;
  }
  EXPECT_EQ(DorvexCreateCurve(library_, database_, "/A/B/C/D/SP/1", kDorvexCurveInfoSize,
                              info.data()), 0) << "nothing is left of those refused";
  EXPECT_NE(DorvexCreateCurve(library_, 77, "/A/B/C/D/SP/2", kDorvexCurveInfoSize, info.data()), 0);
  curve = 99;
  EXPECT_NE(DorvexOpenCurve(library_, database_, "/A/B/C/D/SP/2", &curve, 0, nullptr), 0);
  EXPECT_EQ(curve, 0u);
  EXPECT_NE(DorvexOpenCurve(library_, database_, "/A/B/C/D", &curve, 0, nullptr), 0)
      << "a data set is no curve";
  EXPECT_NE(DorvexOpenCurve(library_, database_, "/A/B/C/D/GR/1", &curve, 2, nullptr), 0)
      << "no such mode";
  curve = Open("/A/B/C/D/SP/1");
  float value = 1.0F;
  EXPECT_NE(DorvexWriteSamples(library_, curve, 0, 1, &value), 0) << "opened for reading";
  EXPECT_EQ(library_.OpenCurveCount(), 1u);
  DorvexCloseDatabase(library_, database_);
  EXPECT_EQ(library_.OpenCurveCount(), 0u) << "closing a database closes its curves";
  ReadAt(curve, 0, kDorvexFailed);  // a closed handle reads nothing
}

TEST_F(DorvexTest, ReadingAtAnyIndex) {
  // Samples 10, 20, 40 at 1000, 1100, 1200.
  uint32_t curve = MakeCurve("/A/B/C/D/GR/1", 1000, 100, {10.0F, 20.0F, 40.0F});
  const std::pair<int32_t, float> cases[] = {
      {1000, 10.0F}, {1100, 20.0F}, {1200, 40.0F},          // on the grid
      {1050, 15.0F}, {1125, 25.0F}, {1199, 39.8F},          // between two samples
      {999, 10.0F},  {-1073741400, 10.0F},                  // above the top
      {1201, 40.0F}, {1300, 40.0F}, {1073741400, 40.0F},    // below the bottom
  };
  for (const auto& [index, value] : cases) EXPECT_FLOAT_EQ(ReadAt(curve, index), value) << index;
  std::vector<float> three(3);
  ASSERT_EQ(DorvexReadSamples(library_, curve, 1050, 3, three.data()), 0);
  EXPECT_EQ(three, (std::vector<float>{15.0F, 30.0F, 40.0F}));
}

TEST_F(DorvexTest, WritesLandOnTheGridAndGapsAreMissing) {
  uint32_t curve = MakeCurve("/A/B/C/D/GR/1", 0, 100, {});
  float value = 5.0F;
  EXPECT_NE(DorvexWriteSamples(library_, curve, 50, 1, &value), 0) << "off the grid";
  EXPECT_NE(DorvexWriteSamples(library_, curve, -100, 1, &value), 0) << "above the top";
  EXPECT_EQ(DorvexWriteSamples(library_, curve, 300, 1, &value), 0);
  EXPECT_EQ(DorvexCloseCurve(library_, curve), 0);
  uint32_t reader = Open("/A/B/C/D/GR/1");
  EXPECT_TRUE(std::isnan(ReadAt(reader, 100)));
  EXPECT_EQ(ReadAt(reader, 300), 5.0F);
  EXPECT_TRUE(std::isnan(ReadAt(reader, 250))) << "a line to a missing value is missing";
}

TEST_F(DorvexTest, ElementsOfOtherSizesAndSingleValues) {
  // The run settings item: one 32-byte element at index 0, step 100.
  auto info = CurveInfoBytes(0, 0, 100, 0, 32);
  ASSERT_EQ(DorvexCreateCurve(library_, database_, "/A/B/C/D/_defaults_/1",
                              kDorvexCurveInfoSize, info.data()), 0);
  uint32_t curve = Open("/A/B/C/D/_defaults_/1", kDorvexWrite);
  uint8_t element[32];
  for (int i = 0; i < 32; ++i) element[i] = static_cast<uint8_t>(i * 7);
  ASSERT_EQ(DorvexWriteSamples(library_, curve, 0, 1, element), 0);
  EXPECT_EQ(DorvexCloseCurve(library_, curve), 0);
  curve = Open("/A/B/C/D/_defaults_/1", kDorvexWrite);
  uint8_t back[32] = {};
  ASSERT_EQ(DorvexReadSamples(library_, curve, 0, 1, back), 0);
  EXPECT_EQ(std::memcmp(back, element, 32), 0);
  // A variable under _vars_ has no step: every index reads its one value.
  EXPECT_EQ(ReadAt(MakeCurve("/A/B/C/D/_vars_/RW", 0, 0, {0.25F}), 123456), 0.25F);
}

// A long curve written from its top down is committed as it grows and keeps
// only a window in memory; reading it through the writing handle, or writing
// it elsewhere, brings the rest back first. Another reader sees the committed
// samples while the writer goes on. The last samples, written one at a time,
// are committed when the writer's library is done away with, the curve open.
TEST_F(DorvexTest, ALongCurveBeingWrittenIsCommittedAsItGrowsAndReadsWhole) {
  std::vector<float> values(1'000'003);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i % 9973) * 0.25F;
  auto index = [](size_t at) { return 6000 + static_cast<int32_t>(at) * 1500; };
  uint32_t reader = 0;
  {
    DorvexLibrary other;
    uint32_t database = OpenElsewhere(other);
    auto info = CurveInfoBytes(6000, 6000, 1500);
    ASSERT_EQ(DorvexCreateCurve(other, database, "/A/B/C/D/GR/1", kDorvexCurveInfoSize,
                                info.data()), 0);
    uint32_t writer = 0;
    ASSERT_EQ(DorvexOpenCurve(other, database, "/A/B/C/D/GR/1", &writer, kDorvexWrite, nullptr),
              0);
    for (size_t at = 0; at < 600'000; at += 1000) {
      ASSERT_EQ(DorvexWriteSamples(other, writer, index(at), 1000, &values[at]), 0);
    }
    reader = Open("/A/B/C/D/GR/1");
    std::vector<DorvexItem> items;
    ASSERT_EQ(DorvexListItems(library_, database_, "/A/B/C/D/GR/1", &items), 0);
    EXPECT_GE(items[0].count, 500'000) << "committed without a flush, by the amount written";
    EXPECT_EQ(ReadAt(reader, index(400'000)), values[400'000]);

    values[5] = -1.0F;
    ASSERT_EQ(DorvexWriteSamples(other, writer, index(5), 1, &values[5]), 0);
    std::vector<float> back(600'000);
    ASSERT_EQ(DorvexReadSamples(other, writer, index(0), 600'000, back.data()), 0);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), values.begin())) << "read whole by the writer";
    for (size_t at = 600'000; at < values.size(); ++at) {
      ASSERT_EQ(DorvexWriteSamples(other, writer, index(at), 1, &values[at]), 0);
    }
  }
  EXPECT_EQ(DorvexCloseCurve(library_, reader), 0);
  std::vector<float> back(values.size());
  ASSERT_EQ(DorvexReadSamples(library_, Open("/A/B/C/D/GR/1"), index(0),
                              static_cast<int32_t>(back.size()), back.data()), 0);
  EXPECT_EQ(back, values);
  EXPECT_TRUE(ClosedAndSound());
}

// A second library stands for another process: it sees only what the
// writer has committed, the description's bottom included.
TEST_F(DorvexTest, ARecordingIsFollowedUntilItIsFinished) {
  uint32_t writer = MakeCurve("/A/B/C/D/GR/1", 0, 100, {});
  ASSERT_EQ(DorvexSetRecording(library_, writer, true), 0);

  DorvexLibrary other;
  uint32_t database = OpenElsewhere(other);
  auto describedBottom = [&] {
    CurveInfo info = EmptyCurveInfo();
    uint32_t curve = 0;
    EXPECT_EQ(DorvexOpenCurve(other, database, "/A/B/C/D/GR/1", &curve, 0, &info), 0);
    EXPECT_EQ(DorvexCloseCurve(other, curve), 0);
    return info.bottom;
  };
  uint32_t reader = 0;
  ASSERT_EQ(DorvexOpenCurve(other, database, "/A/B/C/D/GR/1", &reader, 0, nullptr), 0);
  float value = 0.0F;
  EXPECT_EQ(DorvexReadSamples(other, reader, 0, 1, &value), kDorvexNotYetAvailable);
  EXPECT_EQ(DorvexQueryState(other, reader, -1073741400, -1073741400, 0, 0), 32);
  EXPECT_EQ(DorvexQueryState(other, reader, 1073741400, 1073741400, 0, 0), 32);

  float samples[] = {1.0F, 2.0F, 3.0F};
  ASSERT_EQ(DorvexWriteSamples(library_, writer, 0, 3, samples), 0);
  ASSERT_EQ(DorvexFlush(library_, writer), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // past the reader's refresh pause
  EXPECT_EQ(DorvexReadSamples(other, reader, 200, 1, &value), 0);
  EXPECT_EQ(value, 3.0F);
  EXPECT_EQ(DorvexReadSamples(other, reader, 250, 1, &value), kDorvexNotYetAvailable);
  EXPECT_EQ(DorvexQueryState(other, reader, -1073741400, -1073741400, 0, 0), 0);
  EXPECT_EQ(DorvexQueryState(other, reader, 0, 200, 0, 0), 0);
  EXPECT_EQ(DorvexQueryState(other, reader, 0, 300, 0, 0), 32);
  EXPECT_EQ(describedBottom(), 200);

  float more[] = {4.0F, 5.0F};
  ASSERT_EQ(DorvexWriteSamples(library_, writer, 300, 2, more), 0);
  ASSERT_EQ(DorvexSetRecording(library_, writer, false), 0);
  EXPECT_EQ(describedBottom(), 400);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(DorvexQueryState(other, reader, 1073741400, 1073741400, 0, 0), 0);
  EXPECT_EQ(DorvexReadSamples(other, reader, 5000, 1, &value), 0) << "finished: the end sample";
  EXPECT_EQ(value, 5.0F);
}

TEST_F(DorvexTest, ABatchCommitsWholeOrNotAtAll) {
  for (bool commit : {false, true}) {
    ASSERT_EQ(DorvexBeginBatch(library_, database_), 0);
    EXPECT_NE(DorvexBeginBatch(library_, database_), 0) << "batches do not nest";
    EXPECT_EQ(DorvexCloseCurve(library_, MakeCurve("/A/B/C/D/GR/1", 0, 100, {1.0F, 2.0F})), 0);
    EXPECT_EQ(DorvexCloseCurve(library_, MakeCurve("/A/B/C/D/SP/1", 0, 100, {3.0F})), 0);
    ASSERT_EQ(DorvexEndBatch(library_, database_, commit), 0);
    std::vector<DorvexItem> items;
    int listed = DorvexListItems(library_, database_, "/A/B/C/D", &items);
    if (commit) {
      ASSERT_EQ(listed, 0);
      EXPECT_EQ(items.size(), 5u) << "the set, two curves and their passes";
    } else {
      EXPECT_NE(listed, 0) << "rolled back: nothing was made";
    }
  }
  EXPECT_TRUE(ClosedAndSound());
}

TEST(DorvexServices, ArgumentBlocksTempFilesAndLaunch) {
  EXPECT_EQ(DorvexParseArgs("job.qxj"), "job.qxj");
  EXPECT_EQ(DorvexParseArgs("  \"/my jobs/a b.qxj\" mode=1 name=\"x y\""), "/my jobs/a b.qxj");
  EXPECT_EQ(DorvexParseArgs("mode=1 job.qxj"), "job.qxj");
  EXPECT_EQ(DorvexParseArgs(""), "");
  DorvexLibrary library;
  std::string first = DorvexTempFileName(library);
  std::string second = DorvexTempFileName(library);
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_TRUE(std::filesystem::exists(first));
  std::filesystem::remove(first);
  std::filesystem::remove(second);
  EXPECT_NE(DorvexLaunch(library, "(no-such-program)", "db", "/a", ""), 0);
  std::string marker = std::filesystem::temp_directory_path() / "dorvex_launch_marker";
  std::filesystem::remove(marker);
  // touch makes the marker (the "database" argument) and fails on the path.
  ASSERT_EQ(DorvexLaunch(library, "/usr/bin/touch", marker, "/no/such/folder/x", ""), 0);
  for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(std::filesystem::exists(marker)) << "started detached, without a shell";
  std::filesystem::remove(marker);
}

}  // namespace

}  // namespace dorvex
