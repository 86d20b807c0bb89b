// Curve paths and the labels that show a data source in a field: path
// components, file base names, and labels formatted and read back, with the
// message for a label without a colon.
#include "curvedata/curve_path.h"

#include "tests/curvedata/binding_fixture.h"

namespace quillex {

namespace {

TEST(CurvePath, PathComponentSkipsEmptyComponentsAndCutsLongOnes) {
  // The 480-character scan: "/a" then slashes up to place 477, then "bcdef".
  const std::string cutByScan = "/a/" + std::string(475, '/') + "bcdef";
  const std::string beyondScan = "/a" + std::string(478, '/') + "b";
  struct Case {
    std::string path;
    int32_t n;
    const char* component;
  } cases[] = {
      {"/a/b/c", 0, "a"},   {"/a/b/c", 2, "c"},     {"/a/b/c", 3, ""},
      {"a//b/", 1, "b"},    {"//a///b", 1, "b"},    {"a/b", 0, "a"},
      {"", 0, ""},          {"///", 0, ""},         {"/a/b", -1, ""},
      {"/ABCDEFGHIJKL/x", 0, "ABCDEFGHIJ"},         {"/ABCDEFGHIJKL/x", 1, "x"},
      {cutByScan, 1, "bc"}, {beyondScan, 1, ""},    {beyondScan, 0, "a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathComponent(c.path, c.n), c.component) << c.path.substr(0, 20) << " " << c.n;
  }
}

TEST(CurvePath, BaseNameTakesTheTextAfterEitherSeparator) {
  struct Case {
    const char* path;
    const char* name;
  } cases[] = {{"C:\\DATA\\WELL1.db", "WELL1.db"}, {"/home/u/db/WELL1.db", "WELL1.db"},
               {"WELL1.db", "WELL1.db"}, {"a/b\\c", "c"}, {"a\\b/c", "c"}, {"/db/", ""}, {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(BaseName(c.path), c.name) << c.path;
}

// Labels are read against the database folder of the library.
using SourceLabelTest = BindingTest;

TEST_F(SourceLabelTest, FormatShowsTheDatabaseNameAndThePath) {
  struct Case {
    const char* database;
    const char* path;
    const char* label;
  } cases[] = {
      {"", "", ""},  {"C:\\DATA\\WELL1.db", "/a/b/c/d/GR/*", "WELL1: /a/b/c/d/GR"},
      {"", "a", ": a"}, {"/home/u/db/WELL1.db", "/a/b/c/d", "WELL1: /a/b/c/d"},
      {"D:/x/W", "/a/b", "W: /a/b"}, {"/db/archive.2019.db", "/a", "archive.2019: /a"},
      {"/db/W.db", "", "W: "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatSourceLabel(context_, c.database, c.path), c.label)
        << c.database << " " << c.path;
  }
}

TEST_F(SourceLabelTest, ParseSplitsAtTheFirstColon) {
  struct Case {
    const char* text;
    const char* name;  // database file in the folder; "" for none
    const char* path;
  } cases[] = {
      {"WELL1: /a/b", "WELL1.db", "/a/b"},
      {"  WELL1:   /a/b/c/d/GR/*  ", "WELL1.db", "/a/b/c/d/GR/*"},
      {"W:/a:b", "W.db", "/a:b"}, {"W:", "W.db", ""}, {"", "", ""}, {" \t ", "", ""},
  };
  const std::string folder = home_ + "/db/";
  for (const Case& c : cases) {
    std::string database = "old.db";
    std::string path = "/old";
    ParseSourceLabel(context_, c.text, &database, &path);
    EXPECT_EQ(database, *c.name == '\0' ? "" : folder + c.name) << c.text;
    EXPECT_EQ(path, c.path) << c.text;
  }
  EXPECT_TRUE(screen_.boxes().empty());
}

TEST_F(SourceLabelTest, ParseWithoutColonTellsTheUserAndGivesNothing) {
  for (bool mainWindow : {false, true}) {
    screen_.Clear();
    screen_.SetMainWindow(mainWindow);
    std::string database = "old.db";
    std::string path = "/old";
    ParseSourceLabel(context_, "  WELL1 /a/b ", &database, &path);
    EXPECT_EQ(database, "");
    EXPECT_EQ(path, "");
    ASSERT_EQ(screen_.boxes().size(), 1U);
    const RecordedBox& shown = screen_.boxes().front();
    EXPECT_EQ(shown.text, "WELL1 /a/b");
    EXPECT_EQ(shown.caption, "Path Name Error:");
    EXPECT_EQ(shown.style, box::kTaskModal) << "no icon, OK only";
    EXPECT_EQ(shown.owned, mainWindow);
  }
}

}  // namespace

}  // namespace quillex
