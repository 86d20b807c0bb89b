// What the main window shows and reads without a database: the program's
// message boxes (caption, style, owner, the answers to questions), trimmed
// texts, the unit list the editor offers, clearing the job's fields and the
// plot scale typed for a run or for saving.
#include <gtest/gtest.h>

#include "curvedata/context.h"
#include "curvedata/job_fields.h"
#include "curvedata/unit_list.h"
#include "model/controls.h"
#include "model/message_box.h"
#include "tests/support/scripted_screen.h"

namespace quillex {

namespace {

// A context on a recording screen; nothing here needs the library started.
class ScreenTest : public ::testing::Test {
 protected:
  ScriptedScreen screen_;
  Context context_{screen_};
};
using MessageBoxTest = ScreenTest;
using JobFieldsTest = ScreenTest;
using UnitListTest = ScreenTest;

TEST_F(MessageBoxTest, CaptionStyleAndOwner) {
  ErrorBox(screen_, "bad");
  InfoBox(screen_, "note");
  AskYesNo(screen_, "sure?");
  screen_.SetMainWindow(true);
  ErrorBox(screen_, "late");
  std::vector<std::string> texts{"bad", "note", "sure?", "late"};
  EXPECT_EQ(screen_.BoxTexts(), texts);
  std::vector<uint32_t> styles{0x2010, 0x2040, 0x4, 0x2010};  // stop, information, Yes/No
  for (size_t i = 0; i < texts.size(); ++i) {
    const RecordedBox& shown = screen_.boxes()[i];
    EXPECT_EQ(shown.caption, "Quillex") << i;
    EXPECT_EQ(shown.style, styles[i]) << i;
    EXPECT_EQ(shown.owned, i == 3) << "owned only once the main window exists";
  }
}

TEST_F(MessageBoxTest, QuestionsAnswerFromTheScriptThenNo) {
  screen_.ScriptAnswer(box::kAnswerYes);
  screen_.ScriptAnswer(box::kAnswerNo);
  EXPECT_TRUE(AskYesNo(screen_, "1"));
  EXPECT_FALSE(AskYesNo(screen_, "2"));
  EXPECT_FALSE(AskYesNo(screen_, "3")) << "an empty script answers No";
}

TEST(TrimSpaces, TrimsBothEndsInPlace) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"", ""}, {"   ", ""}, {"  a b  ", "a b"}, {"\t\r\nx\n", "x"}, {"x", "x"}};
  for (const Case& c : cases) {
    std::string text = c.in;
    EXPECT_EQ(TrimSpaces(text), c.out);
    EXPECT_EQ(text, c.out) << "trimmed in place";
  }
}

TEST_F(JobFieldsTest, ClearEmptiesSourcesAndResetsScale) {
  Job& job = context_.job;
  job.filePath = "/jobs/a.qxj";
  job.presentation = "plot.prs";
  job.scale = 500;
  job.input = {"/db/W.db", "/a/b/c/d"};
  job.destination = {"/db/W.db", "/a/b/c/e"};
  job.intervalFrom = 100;
  job.intervalTo = 200;
  for (int32_t id : {control::kPresentation, control::kInputSource, control::kDestination,
                     control::kScale}) {
    screen_.SetText(id, "old");
  }
  ClearJobFields(context_);
  EXPECT_EQ(job.presentation, "");
  EXPECT_EQ(job.scale, 240.0);
  EXPECT_FALSE(job.input.chosen());
  EXPECT_FALSE(job.destination.chosen());
  EXPECT_EQ(job.filePath, "/jobs/a.qxj") << "the job file path stays";
  EXPECT_EQ(job.intervalFrom, 100) << "the interval stays";
  EXPECT_EQ(job.intervalTo, 200);
  EXPECT_EQ(screen_.Text(control::kPresentation), "");
  EXPECT_EQ(screen_.Text(control::kInputSource), "");
  EXPECT_EQ(screen_.Text(control::kDestination), "");
  EXPECT_EQ(screen_.Text(control::kScale), "240");
}

TEST(ScaleRules, DifferForRunAndSave) {
  struct Case {
    const char* text;
    double run;
    double save;
  } cases[] = {
      {"500", 500, 500}, {"-5", 240, -5}, {"0", 240, 240},   {"", 240, 240},
      {"abc", 240, 240}, {"0.5", 0.5, 0.5}, {"12x", 12, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleForRun(c.text), c.run) << c.text;
    EXPECT_EQ(ScaleForSave(c.text), c.save) << c.text;
  }
}

// The editor shows names and stores codes: every name must lead back to its
// own entry, so names and codes must both be unique in the list.
TEST_F(UnitListTest, EveryNameLeadsBackToItsEntry) {
  LoadUnitList(context_);
  ASSERT_GT(context_.unitCount, 0);
  EXPECT_EQ(UnitMnemonicOf(context_, dorvex::kUnitFeet), "F");
  EXPECT_EQ(UnitNameOf(context_, dorvex::kUnitMetres), "Metres");
  EXPECT_EQ(UnitCodeOfName(context_, "Seconds"), dorvex::kUnitSeconds);
  EXPECT_EQ(UnitMnemonicAt(context_, UnitPosition(context_, dorvex::kUnitMetres)), "M");
  std::vector<std::string> names = UnitNames(context_);
  ASSERT_EQ(names.size(), context_.units.size());
  ASSERT_EQ(names.size(), static_cast<size_t>(context_.unitCount));
  for (size_t i = 0; i < names.size(); ++i) {
    const corutil::UnitEntry& entry = context_.units[i];
    EXPECT_EQ(names[i], entry.name);
    EXPECT_EQ(UnitCodeOfName(context_, entry.name), entry.code) << entry.name;
    EXPECT_EQ(UnitPosition(context_, entry.code), static_cast<int32_t>(i)) << entry.name;
  }
}

TEST_F(UnitListTest, MissesGiveTheEmptyAnswers) {
  LoadUnitList(context_);
  struct Case {
    const char* name;
    int32_t code;
  } names[] = {{"  Metres\t", dorvex::kUnitMetres}, {"metres", 0}, {"METRES", 0}, {"Metre", 0},
               {"", 0},                     {"   ", 0},    {"M", 0}};
  for (const auto& c : names) EXPECT_EQ(UnitCodeOfName(context_, c.name), c.code) << c.name;
  // A unit registered after the list was loaded is not offered.
  int32_t later = dorvex::DorvexUnitCode(context_.dorvex, "QXFOO");
  ASSERT_GE(later, dorvex::kFirstRegistryCode);
  for (int32_t code : {0, -1, 999, 99999, later}) {
    EXPECT_EQ(UnitPosition(context_, code), -1) << code;
    EXPECT_EQ(UnitNameOf(context_, code), "") << code;
    EXPECT_EQ(UnitMnemonicOf(context_, code), "") << code;
  }
  for (int32_t position : {-1, context_.unitCount, context_.unitCount + 100}) {
    EXPECT_EQ(UnitMnemonicAt(context_, position), "") << position;
  }
}

TEST_F(UnitListTest, AFreedListAnswersNothing) {
  LoadUnitList(context_);
  FreeUnitList(context_);
  EXPECT_EQ(context_.unitCount, 0);
  EXPECT_TRUE(UnitNames(context_).empty());
  EXPECT_EQ(UnitPosition(context_, dorvex::kUnitFeet), -1);
  EXPECT_EQ(UnitCodeOfName(context_, "Feet"), 0);
}

}  // namespace

}  // namespace quillex
