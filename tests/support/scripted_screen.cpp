#include "tests/support/scripted_screen.h"

namespace quillex {

int ScriptedScreen::MessageBox(const std::string& text, const std::string& caption,
                                uint32_t style, bool owned) {
  boxes_.push_back(RecordedBox{text, caption, style, owned});
  if (!answers_.empty()) {
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return (style & box::kButtonMask) == box::kYesNo ? box::kAnswerNo : box::kAnswerOk;
}

MathErrorAnswer ScriptedScreen::AskMathError() {
  ++mathErrorDialogs_;
  if (mathAnswers_.empty()) return defaultMathAnswer_;
  MathErrorAnswer answer = mathAnswers_.front();
  mathAnswers_.pop_front();
  return answer;
}

std::string ScriptedScreen::Text(int32_t id) const {
  auto found = texts_.find(id);
  return found == texts_.end() ? std::string() : found->second;
}

void ScriptedScreen::SetText(int32_t id, const std::string& text) { texts_[id] = text; }

std::vector<std::string> ScriptedScreen::BoxTexts() const {
  std::vector<std::string> texts;
  for (const RecordedBox& each : boxes_) texts.push_back(each.text);
  return texts;
}

std::optional<std::string> ScriptedScreen::AskFileName(const FileDialogRequest& request) {
  fileDialogs_.push_back(request);
  if (fileNames_.empty()) return std::nullopt;
  std::optional<std::string> answer = fileNames_.front();
  fileNames_.pop_front();
  return answer;
}

std::optional<DataSource> ScriptedScreen::Browse(const BrowseRequest& request) {
  browseRequests_.push_back(request);
  if (browses_.empty()) return std::nullopt;
  std::optional<DataSource> answer = browses_.front();
  browses_.pop_front();
  return answer;
}

void ScriptedScreen::RemoveListLine(int32_t id, int32_t place) {
  std::vector<std::string>& lines = lists_[id];
  if (place >= 0 && static_cast<size_t>(place) < lines.size()) lines.erase(lines.begin() + place);
  // A list box forgets its selection when a line goes.
  selections_.erase(id);
}

int32_t ScriptedScreen::ListSelection(int32_t id) const {
  auto found = selections_.find(id);
  return found == selections_.end() ? -1 : found->second;
}

}  // namespace quillex
