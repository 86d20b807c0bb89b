// Following a curve that another connection writes: the data version tells
// that something was committed, and a refresh takes exactly the new samples,
// across chunk boundaries, while a reader sharing the old cache keeps it.
#include <gtest/gtest.h>

#include <vector>

#include "tests/dorvex/dorvex_fixture.h"

namespace dorvex {
namespace {

TEST_F(DorvexTest, AReaderFollowsAWriterThroughTheDataVersionAndRefreshes) {
  std::vector<float> first(5000);
  for (size_t i = 0; i < first.size(); ++i) first[i] = static_cast<float>(i);
  uint32_t writer = MakeCurve("/A/B/C/D/GR/1", 0, 10, first);
  ASSERT_EQ(DorvexFlush(library_, writer), 0);

  DorvexLibrary other;
  uint32_t database = OpenElsewhere(other);
  uint32_t reader = 0;
  uint32_t twin = 0;
  ASSERT_EQ(DorvexOpenCurve(other, database, "/A/B/C/D/GR/1", &reader, kDorvexRead, nullptr), 0);
  ASSERT_EQ(DorvexOpenCurve(other, database, "/A/B/C/D/GR/1", &twin, kDorvexRead, nullptr), 0);
  int64_t version = 0;
  int64_t again = 0;
  ASSERT_EQ(DorvexDataVersion(other, database, &version), 0);
  ASSERT_EQ(DorvexDataVersion(other, database, &again), 0);
  EXPECT_EQ(again, version) << "nothing committed in between";

  // The chunk holding the old end (4096 to 8191) grows, and a new one starts.
  std::vector<float> more(4000);
  for (size_t i = 0; i < more.size(); ++i) more[i] = static_cast<float>(5000 + i);
  ASSERT_EQ(DorvexWriteSamples(library_, writer, 50000, 4000, more.data()), 0);
  ASSERT_EQ(DorvexFlush(library_, writer), 0);
  ASSERT_EQ(DorvexDataVersion(other, database, &again), 0);
  EXPECT_NE(again, version);

  int64_t count = 0;
  ASSERT_EQ(DorvexRefreshCurve(other, reader, &count), 0);
  EXPECT_EQ(count, 9000);
  std::vector<float> read(9000);
  ASSERT_EQ(DorvexReadSamples(other, reader, 0, 9000, read.data()), 0);
  for (size_t i = 0; i < read.size(); ++i) ASSERT_EQ(read[i], static_cast<float>(i)) << i;
  float value = 0;
  ASSERT_EQ(DorvexReadSamples(other, twin, 89990, 1, &value), 0);
  EXPECT_EQ(value, 4999.0F) << "the twin not refreshed keeps the end it had";

  ASSERT_EQ(DorvexRefreshCurve(other, reader, &count), 0);
  EXPECT_EQ(count, 9000) << "nothing new";
  EXPECT_NE(DorvexRefreshCurve(other, 99, &count), 0);
  EXPECT_NE(DorvexDataVersion(other, 99, &version), 0);
  EXPECT_EQ(DorvexCloseCurve(library_, writer), 0);
}

}  // namespace
}  // namespace dorvex
