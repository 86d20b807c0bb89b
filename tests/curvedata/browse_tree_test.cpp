// What the database browser shows for a request: patterns, the tree cut to
// what can be chosen (and what lies below a choice, shown but not to be
// chosen), unreadable files, and where the browser opens.
#include <fstream>

#include "curvedata/browse_tree.h"
#include "curvedata/destination.h"
#include "tests/curvedata/binding_fixture.h"

namespace quillex {

namespace {

struct PatternCase {
  const char* pattern;
  const char* path;
  bool matches;
  bool leadsTo;
};

TEST(BrowsePattern, MatchesByComponentWithoutRegardToCase) {
  const PatternCase cases[] = {
      {"/*/*/*/*", "/A/B/C/SET1", true, false},
      {"/*/*/*/*", "/A/B/C", false, true},
      {"/*/*/*/*", "/A/B/C/SET1/GR", false, false},
      {"/*/*/*/_plots_/_qxrp_/*", "/a/b/c/_PLOTS_/_qxrp_/3", true, false},
      {"/*/*/*/_plots_/_qxrp_/*", "/a/b/c/_plots_", false, true},
      {"/*/*/*/_plots_/_qxrp_/*", "/a/b/c/SET1", false, false},
      {"/*/*/*/*/_vars_/*", "/A//B/C/S/_vars_/PHI", true, false},
  };
  for (const PatternCase& each : cases) {
    EXPECT_EQ(PatternMatches(each.pattern, each.path), each.matches) << each.pattern << " " << each.path;
    EXPECT_EQ(PatternLeadsTo(each.pattern, each.path), each.leadsTo) << each.pattern << " " << each.path;
  }
}

class BrowseTreeTest : public BindingTest {
 protected:
  void SetUp() override {
    BindingTest::SetUp();
    dorvex::CurveInfo info = dorvex::SampleCurveInfo("gr", 0, false, 0, 6000000, 6003000, 3000);
    PutCurve("/A/B/C/SET1/GR/1", info, {1, 2});
    PutCurve("/A/B/C/SET1/GR/2", info, {1, 2});
    PutNodes(file_, {"/A/B/C/_plots_/_qxrp_/1", "/A/B/D/SET2"});
    std::ofstream(home_ + "/db/junk.db") << "not a database";
  }
  std::vector<std::string> Paths(const std::vector<BrowseNode>& nodes, bool choosable) {
    std::vector<std::string> paths;
    for (const BrowseNode& node : nodes) {
      if (node.choosable == choosable) paths.push_back(node.path);
      for (const std::string& below : Paths(node.children, choosable)) paths.push_back(below);
    }
    return paths;
  }
};

TEST_F(BrowseTreeTest, KeepsWhatCanBeChosenAndWhatLiesBelowIt) {
  std::vector<BrowseDatabase> databases = ListBrowseTree(context_, "/*/*/*/*");
  ASSERT_EQ(databases.size(), 2u);
  EXPECT_EQ(databases[0].name, "junk");
  EXPECT_FALSE(databases[0].readable);
  const BrowseDatabase& well = databases[1];
  EXPECT_EQ(well.file, file_);
  // In the database's order: names without regard to case.
  EXPECT_EQ(Paths(well.items, true),
            (std::vector<std::string>{"/A/B/C/_plots_", "/A/B/C/SET1", "/A/B/D/SET2"}));
  EXPECT_EQ(Paths(well.items, false),
            (std::vector<std::string>{"/A", "/A/B", "/A/B/C", "/A/B/C/_plots_/_qxrp_",
                                      "/A/B/C/_plots_/_qxrp_/1", "/A/B/C/SET1/GR",
                                      "/A/B/C/SET1/GR/1", "/A/B/C/SET1/GR/2", "/A/B/D"}));
  const BrowseNode& set = well.items[0].children[0].children[0].children[1];
  EXPECT_EQ(set.details, "data set");
  EXPECT_EQ(set.children[0].details, "curve");
  EXPECT_EQ(set.children[0].children[0].details, "2 samples, 1000.00 to 1000.50 ft");
  EXPECT_EQ(OpeningPath(well, "/a/b/c/set1/GR/*"), "/A/B/C/SET1/GR/2");
  EXPECT_EQ(OpeningPath(well, "/A/B/X/SET"), "/A/B");
}

TEST_F(BrowseTreeTest, AReportPatternShowsOnlyTheWayToNumberedResults) {
  std::vector<BrowseDatabase> databases = ListBrowseTree(context_, kResultPattern);
  EXPECT_EQ(Paths(databases[1].items, true), (std::vector<std::string>{"/A/B/C/_plots_/_qxrp_/1"}));
  EXPECT_EQ(Paths(databases[1].items, false),
            (std::vector<std::string>{"/A", "/A/B", "/A/B/C", "/A/B/C/_plots_", "/A/B/C/_plots_/_qxrp_"}));
}

}  // namespace

}  // namespace quillex
