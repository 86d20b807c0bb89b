#include "curvedata/message_box.h"

#include <gtest/gtest.h>

#include "curvedata/recording_screen.h"

namespace {

TEST(MessageBox, CaptionIconsAndButtons) {
  RecordingScreen screen;
  ErrorBox(screen, "bad");
  InfoBox(screen, "note");
  AskYesNo(screen, "sure?");
  ASSERT_EQ(screen.boxes().size(), 3u);
  for (const RecordedBox& shown : screen.boxes()) EXPECT_EQ(shown.caption, "Quillex");
  EXPECT_EQ(screen.boxes()[0].style, 0x2010u) << "task-modal with the stop icon";
  EXPECT_EQ(screen.boxes()[1].style, 0x2040u) << "task-modal with the information icon";
  EXPECT_EQ(screen.boxes()[2].style, 0x4u) << "Yes and No, no icon, not task-modal";
  EXPECT_TRUE(screen.boxes()[0].IsError());
  EXPECT_TRUE(screen.boxes()[1].IsInfo());
  EXPECT_EQ(screen.BoxTexts(), (std::vector<std::string>{"bad", "note", "sure?"}));
}

TEST(MessageBox, OwnedOnlyOnceTheMainWindowExists) {
  RecordingScreen screen;
  ErrorBox(screen, "early");
  screen.SetMainWindow(true);
  ErrorBox(screen, "late");
  EXPECT_FALSE(screen.boxes()[0].owned);
  EXPECT_TRUE(screen.boxes()[1].owned);
}

TEST(MessageBox, QuestionsAnswerFromTheScriptThenNo) {
  RecordingScreen screen;
  screen.ScriptAnswer(box::kAnswerYes);
  screen.ScriptAnswer(box::kAnswerNo);
  EXPECT_TRUE(AskYesNo(screen, "1"));
  EXPECT_FALSE(AskYesNo(screen, "2"));
  EXPECT_FALSE(AskYesNo(screen, "3")) << "an empty script answers No";
}

TEST(MessageBox, EchoSeesEveryBoxAsItIsShown) {
  RecordingScreen screen;
  std::vector<std::string> seen;
  screen.OnBox([&](const RecordedBox& shown) { seen.push_back(shown.text); });
  InfoBox(screen, "a");
  ErrorBox(screen, "b");
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
}

TEST(MessageBox, TrimSpaces) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""}, {"   ", ""}, {"  a b  ", "a b"}, {"\t\r\nx\n", "x"}, {"x", "x"},
  };
  for (const Case& c : cases) {
    std::string text = c.in;
    EXPECT_EQ(TrimSpaces(text), c.out);
    EXPECT_EQ(text, c.out) << "trimmed in place";
  }
}

}  // namespace
