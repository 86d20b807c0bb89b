#include "curvedata/unit_list.h"

#include <gtest/gtest.h>


#include "curvedata/context.h"
#include "curvedata/recording_screen.h"

namespace {

class UnitListTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadUnitList(context_); }

  RecordingScreen screen_;
  Context context_{screen_};
};

TEST_F(UnitListTest, LooksUpTheUnitsTheProgramReliesOn) {
  ASSERT_GT(context_.unitCount, 0);
  EXPECT_EQ(static_cast<size_t>(context_.unitCount), context_.units.size());
  EXPECT_EQ(UnitMnemonicOf(context_, kUnitFeet), "F");
  EXPECT_EQ(UnitNameOf(context_, kUnitMetres), "Metres");
  EXPECT_EQ(UnitCodeOfName(context_, "Seconds"), kUnitSeconds);
  EXPECT_EQ(UnitMnemonicAt(context_, UnitPosition(context_, kUnitMetres)), "M");
}

TEST_F(UnitListTest, MissesGiveTheEmptyAnswers) {
  struct Case {
    const char* name;
    int32_t code;
  } names[] = {{"  Metres\t", kUnitMetres}, {"metres", 0}, {"METRES", 0}, {"Metre", 0},
               {"", 0},                     {"   ", 0},    {"M", 0}};
  for (const auto& c : names) EXPECT_EQ(UnitCodeOfName(context_, c.name), c.code) << c.name;
  for (int32_t code : {0, -1, 999, 99999}) {
    EXPECT_EQ(UnitPosition(context_, code), -1) << code;
    EXPECT_EQ(UnitNameOf(context_, code), "") << code;
    EXPECT_EQ(UnitMnemonicOf(context_, code), "") << code;
  }
  for (int32_t position : {-1, context_.unitCount, context_.unitCount + 100}) {
    EXPECT_EQ(UnitMnemonicAt(context_, position), "") << position;
  }
}

// The editor shows names and stores codes: every name must lead back to its
// own entry, so names and codes must both be unique in the list.
TEST_F(UnitListTest, EveryNameLeadsBackToItsEntry) {
  std::vector<std::string> names = UnitNames(context_);
  ASSERT_EQ(names.size(), context_.units.size());
  for (size_t i = 0; i < names.size(); ++i) {
    const UnitEntry& entry = context_.units[i];
    EXPECT_EQ(names[i], entry.name);
    EXPECT_EQ(UnitCodeOfName(context_, entry.name), entry.code) << entry.name;
    EXPECT_EQ(UnitPosition(context_, entry.code), static_cast<int32_t>(i)) << entry.name;
  }
}

TEST_F(UnitListTest, AUnitRegisteredLaterIsNotOffered) {
  int32_t code = DorvexUnitCode(context_.dorvex, "QXFOO");
  ASSERT_GE(code, kFirstRegistryCode);
  EXPECT_EQ(UnitPosition(context_, code), -1);
  EXPECT_EQ(UnitNameOf(context_, code), "");
}

TEST_F(UnitListTest, AFreedListAnswersNothing) {
  FreeUnitList(context_);
  EXPECT_EQ(context_.unitCount, 0);
  EXPECT_TRUE(UnitNames(context_).empty());
  EXPECT_EQ(UnitPosition(context_, kUnitFeet), -1);
  EXPECT_EQ(UnitCodeOfName(context_, "Feet"), 0);
}

}  // namespace
