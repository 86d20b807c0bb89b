// Destination naming: numbered set names, destinations made beside the
// chosen source in a real database up to the last number tried, and the
// Output Destination browse.
#include "curvedata/destination.h"

#include "model/controls.h"
#include "tests/curvedata/binding_fixture.h"

namespace quillex {

namespace {

TEST(NextSetName, RaisesTheTrailingNumberWithinTenCharacters) {
  struct Case {
    const char* name;
    const char* next;
  } cases[] = {
      {"_qxj1_", "_qxj2_"}, {"_qxj9_", "_qxj10_"}, {"12", "13"}, {"RUN07", "RUN8"},
      {"SET", "SET"}, {"SET_", "SET__"}, {"_", "__"},
      {"7", "7"},              // the first character never counts as a digit
      {"AB12CD", "AB12CD"},    // only a number at the end counts
      {"SETNAMEX9_", "SETNAMEX10"},  // no room left for the "_"
      {"ABCDEFG9_", "ABCDEFG10_"}, {"ABCDEFGH99", "ABCDEFGH10"},  // cut to ten
      {"ABCDEFGHI_", "ABCDEFGHI_"}, {"9999999999", "9100000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(NextSetName(c.name), c.next) << c.name;
}

class DestinationTest : public BindingTest {
 protected:
  std::string Destination() const {
    return context_.job.destination.database + " " + context_.job.destination.path;
  }
  // Paths numbered from 1 to last.
  static std::vector<std::string> Numbered(const std::string& before, int last,
                                           const std::string& after = "") {
    std::vector<std::string> paths;
    for (int n = 1; n <= last; ++n) paths.push_back(before + std::to_string(n) + after);
    return paths;
  }
};

TEST_F(DestinationTest, AFreshDestinationIsMadeBesideTheChosenSource) {
  struct Case {
    int32_t option;
    const char* chosen;
    std::vector<std::string> taken;
    const char* destination;
  } cases[] = {
      {kGenerateCurves, "/a/b/c/d", {}, "/a/b/c/_qxj1_"},
      {kGenerateCurves, "/a/b/c/d/GR/1", {"/a/b/c/_QXJ1_"}, "/a/b/c/_qxj2_"},
      {kGenerateCurves, "/a/b/c", {}, "/a/b/c/_qxj1_"},
      {kGenerateReport, "/a/b/c/d", {}, "/a/b/c/_plots_/_qxrp_/1"},
      {kGenerateReport, "/a/b/c/d/GR/1", Numbered("/a/b/c/_plots_/_qxrp_/", 2),
       "/a/b/c/_plots_/_qxrp_/3"},
  };
  int number = 0;
  for (const Case& c : cases) {
    std::string file = MakeDatabase("W" + std::to_string(++number));
    if (!c.taken.empty()) PutNodes(file, c.taken);
    context_.job.destination = {};
    context_.job.runOption = c.option;
    DeriveDestination(context_, file, c.chosen);
    EXPECT_EQ(Destination(), file + " " + c.destination);
    EXPECT_TRUE(Exists(file, c.destination)) << c.destination;
    EXPECT_TRUE(NothingOpen());
  }

  context_.job.destination = {file_, "/x/y/z/_qxj5_"};
  DeriveDestination(context_, file_, "/a/b/c/d");
  EXPECT_EQ(Destination(), file_ + " /x/y/z/_qxj5_") << "a destination already set stays";
  EXPECT_FALSE(Exists(file_, "/a/b/c"));
  EXPECT_TRUE(screen_.boxes().empty());
}

TEST_F(DestinationTest, NumbersAreTriedUpToTheLimitThenTheDestinationStays) {
  struct Case {
    int32_t option;
    std::vector<std::string> taken;
    const char* start;
    const char* last;  // the last number tried
    void (*create)(Context&);
  } cases[] = {
      {kGenerateCurves, Numbered("/a/b/c/_qxj", 499, "_"), "/a/b/c/_qxj1_", "/a/b/c/_qxj500_",
       CreateDestinationSet},
      {kGenerateReport, Numbered("/a/b/c/_plots_/_qxrp_/", 498), "/a/b/c/_plots_/_qxrp_",
       "/a/b/c/_plots_/_qxrp_/499", CreateDestinationPass},
  };
  for (const Case& c : cases) {
    std::string file = MakeDatabase(c.option == kGenerateCurves ? "SETS" : "RESULTS");
    PutNodes(file, c.taken);
    context_.job.runOption = c.option;
    context_.job.destination = {file, c.start};
    c.create(context_);
    EXPECT_EQ(Destination(), file + " " + c.last);
    context_.job.destination.path = c.start;
    c.create(context_);  // every number is taken now
    EXPECT_EQ(Destination(), file + " " + c.start);
    EXPECT_TRUE(NothingOpen());
  }
  EXPECT_FALSE(Exists(home_ + "/db/SETS.db", "/a/b/c/_qxj501_"));
  EXPECT_FALSE(Exists(home_ + "/db/RESULTS.db", "/a/b/c/_plots_/_qxrp_/500"));
  EXPECT_TRUE(screen_.boxes().empty()) << "refusals are silent";
}

TEST_F(DestinationTest, WhatNamingNeedsAndTheMessageWhenTheDatabaseFails) {
  std::string gone = home_ + "/db/GONE.db";
  std::vector<std::string> message{"The database " + gone + " cannot be opened."};
  struct Case {
    void (*create)(Context&);
    int32_t option;
    std::string database;
    const char* path;
    const char* after;
    std::vector<std::string> boxes;
  } cases[] = {
      {CreateDestinationSet, kGenerateCurves, file_, "/a/b/c", "/a/b/c/_qxj1_", {}},
      {CreateDestinationSet, kGenerateReport, file_, "/a/b/c", "/a/b/c/_qxrp_", {}},
      {CreateDestinationSet, kGenerateCurves, file_, "/a/b", "/a/b", {}},
      {CreateDestinationSet, kGenerateCurves, "", "/a/b/c/d", "/a/b/c/d", {}},
      {CreateDestinationSet, kGenerateCurves, gone, "/a/b/c/d", "/a/b/c/d", message},
      {CreateDestinationPass, kGenerateReport, file_, "/a/b", "/a/b", {}},
      {CreateDestinationPass, kGenerateReport, gone, "/a/b/c/_plots_/_qxrp_",
       "/a/b/c/_plots_/_qxrp_", message},
  };
  for (const Case& c : cases) {
    screen_.Clear();
    context_.job.runOption = c.option;
    context_.job.destination = {c.database, c.path};
    c.create(context_);
    EXPECT_EQ(Destination(), c.database + " " + c.after);
    EXPECT_EQ(Errors(), c.boxes) << c.path;
    EXPECT_TRUE(NothingOpen());
  }
}

TEST_F(DestinationTest, TheOutputDestinationBrowse) {
  AddOutput("GR2");
  screen_.SetText(control::kDestination, "WELL: /a/b/c/d");
  context_.run.running = true;
  EXPECT_FALSE(ChooseOutputDestination(context_));
  EXPECT_TRUE(screen_.browseRequests().empty()) << "refused while a run is on";
  context_.run.running = false;
  for (int32_t option : {kGenerateCurves, kGenerateReport}) {
    context_.job.runOption = option;
    EXPECT_FALSE(ChooseOutputDestination(context_)) << "cancelled";
    const BrowseRequest& request = screen_.browseRequests().back();
    EXPECT_EQ(request.title, "Output Destination");
    EXPECT_EQ(request.pattern, option == kGenerateCurves ? "/*/*/*/*" : "/*/*/*/_plots_/_qxrp_/*");
    EXPECT_EQ(request.flags, 0);
    EXPECT_EQ(request.current.database + " " + request.current.path, file_ + " /a/b/c/d")
        << "the field is read first";
  }
  screen_.ScriptBrowse(DataSource{file_, "/x/y/z/OUT"});
  EXPECT_TRUE(ChooseOutputDestination(context_));
  EXPECT_EQ(Destination(), file_ + " /x/y/z/OUT");
  EXPECT_EQ(screen_.Text(control::kDestination), "WELL: /x/y/z/OUT");
  EXPECT_EQ(screen_.ListLines(control::kOutputList).size(), 1U);
  EXPECT_TRUE(screen_.boxes().empty());
}

}  // namespace

}  // namespace quillex
