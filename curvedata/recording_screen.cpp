#include "curvedata/recording_screen.h"

int RecordingScreen::MessageBox(const std::string& text, const std::string& caption,
                                uint32_t style, bool owned) {
  boxes_.push_back(RecordedBox{text, caption, style, owned});
  if (echo_) echo_(boxes_.back());
  if (!answers_.empty()) {
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return (style & box::kButtonMask) == box::kYesNo ? box::kAnswerNo : box::kAnswerOk;
}

MathErrorAnswer RecordingScreen::AskMathError() {
  ++mathErrorDialogs_;
  if (mathAnswers_.empty()) return defaultMathAnswer_;
  MathErrorAnswer answer = mathAnswers_.front();
  mathAnswers_.pop_front();
  return answer;
}

std::string RecordingScreen::Text(int32_t id) const {
  auto found = texts_.find(id);
  return found == texts_.end() ? std::string() : found->second;
}

void RecordingScreen::SetText(int32_t id, const std::string& text) { texts_[id] = text; }

std::vector<std::string> RecordingScreen::BoxTexts() const {
  std::vector<std::string> texts;
  for (const RecordedBox& each : boxes_) texts.push_back(each.text);
  return texts;
}

std::optional<std::string> RecordingScreen::AskFileName(const FileDialogRequest& request) {
  fileDialogs_.push_back(request);
  if (fileNames_.empty()) return std::nullopt;
  std::optional<std::string> answer = fileNames_.front();
  fileNames_.pop_front();
  return answer;
}

std::optional<DataSource> RecordingScreen::Browse(const BrowseRequest& request) {
  browseRequests_.push_back(request);
  if (browses_.empty()) return std::nullopt;
  std::optional<DataSource> answer = browses_.front();
  browses_.pop_front();
  return answer;
}
