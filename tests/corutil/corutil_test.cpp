#include "libs/corutil/corutil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corutil {

namespace {

TEST(CorutilSplitPath, BaseNameWithoutFolderAndExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\DATA\\WELL1.db", "WELL1"},
      {"/x/y.z/WELL", "WELL"},
      {"a.b.c", "a.b"},
      {"WELL", "WELL"},
      {"/home/me/db\\OLD WELL.db", "OLD WELL"},
      {"folder/", ""},
      {"", ""}};
  for (const auto& [path, expected] : cases) {
    std::string baseName = "left over";
    corutil::CorutilSplitPath(path, 0, 0, &baseName, 0);
    EXPECT_EQ(baseName, expected) << path;
  }
  corutil::CorutilSplitPath("a/b.c", 0, 0, nullptr, 0);  // no buffer: nothing to do, no crash
}

TEST(CorutilUnits, ListFollowsTheTableAndIsFreed) {
  dorvex::UnitTable units;
  std::vector<corutil::UnitEntry> list{{"stale", "X", 9}};
  int32_t count = -1;
  ASSERT_EQ(corutil::CorutilLoadUnits(units, &list, &count, 1), 0);
  ASSERT_EQ(count, static_cast<int32_t>(units.Entries().size()));
  ASSERT_EQ(list.size(), units.Entries().size());
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].name, units.Entries()[i].name);
    EXPECT_EQ(list[i].mnemonic, units.Entries()[i].mnemonic);
    EXPECT_EQ(list[i].code, units.Entries()[i].code);
  }
  EXPECT_EQ(list.front().code, dorvex::kUnitFeet);
  EXPECT_EQ(list.front().name, "Feet");

  corutil::CorutilFreeUnits(&list, &count);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(count, 0);
  EXPECT_NE(corutil::CorutilLoadUnits(units, nullptr, &count, 1), 0);
  EXPECT_NE(corutil::CorutilLoadUnits(units, &list, nullptr, 1), 0);
}

}  // namespace

}  // namespace corutil
