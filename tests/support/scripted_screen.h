// The tests' screen: no window, everything recorded, answers from a script.
//
// Every message box is recorded in order, with its caption, style and owner.
// Questions are answered from scripts:
// each box takes the next scripted answer, and falls back to a default when
// the script has run out (OK for an OK box, No for a Yes/No box). Control
// texts live in a map: a test sets a field, the core reads it, and the other
// way round.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "model/screen.h"

namespace quillex {

struct RecordedBox {
  std::string text;
  std::string caption;
  uint32_t style = 0;
  bool owned = false;

  bool IsError() const { return (style & box::kIconMask) == box::kIconStop; }
  bool IsInfo() const { return (style & box::kIconMask) == box::kIconInformation; }
};

class ScriptedScreen : public Screen {
 public:
  int MessageBox(const std::string& text, const std::string& caption, uint32_t style,
                 bool owned) override;
  bool HasMainWindow() const override { return mainWindow_; }
  MathErrorAnswer AskMathError() override;
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override;
  std::optional<DataSource> Browse(const BrowseRequest& request) override;
  std::string Text(int32_t id) const override;
  void SetText(int32_t id, const std::string& text) override;
  void Enable(int32_t id, bool enabled) override { disabled_[id] = !enabled; }
  void SetChecked(int32_t menuItem, bool checked) override { checked_[menuItem] = checked; }
  void StartTimer(int32_t id, int32_t milliseconds) override { timers_[id] = milliseconds; }
  void StopTimer(int32_t id) override { timers_.erase(id); }
  void ShowReport(const std::string& text) override { reports_.push_back(text); }
  void ClearList(int32_t id) override { lists_[id].clear(); }
  void AddListLine(int32_t id, const std::string& line) override { lists_[id].push_back(line); }
  void RemoveListLine(int32_t id, int32_t place) override;
  int32_t ListSelection(int32_t id) const override;

  bool TimerRunning(int32_t id) const { return timers_.count(id) != 0; }
  const std::vector<std::string>& reports() const { return reports_; }
  bool IsEnabled(int32_t id) const { return !disabled_.count(id) || !disabled_.at(id); }
  bool IsChecked(int32_t menuItem) const {
    return checked_.count(menuItem) != 0 && checked_.at(menuItem);
  }
  std::vector<std::string> ListLines(int32_t id) const {
    return lists_.count(id) ? lists_.at(id) : std::vector<std::string>();
  }

  void SetMainWindow(bool exists) { mainWindow_ = exists; }
  // The line a test selects in a list box; -1 selects none.
  void SelectListLine(int32_t id, int32_t place) { selections_[id] = place; }

  // Scripts: answers taken in order by the next boxes and math-error dialogs.
  void ScriptAnswer(int answer) { answers_.push_back(answer); }
  void ScriptMathError(MathErrorAnswer answer) { mathAnswers_.push_back(answer); }
  void SetDefaultMathError(MathErrorAnswer answer) { defaultMathAnswer_ = answer; }
  // The next file dialog's answer; nothing stands for Cancel, as does an
  // empty script.
  void ScriptFileName(std::optional<std::string> path) { fileNames_.push_back(std::move(path)); }
  const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
  // The next browse's answer; nothing stands for Cancel, as does an empty
  // script.
  void ScriptBrowse(std::optional<DataSource> choice) { browses_.push_back(std::move(choice)); }
  const std::vector<BrowseRequest>& browseRequests() const { return browseRequests_; }

  const std::vector<RecordedBox>& boxes() const { return boxes_; }
  // The texts of the boxes in order, the form most tests compare.
  std::vector<std::string> BoxTexts() const;
  int mathErrorDialogs() const { return mathErrorDialogs_; }
  void Clear() { boxes_.clear(); }

 private:
  bool mainWindow_ = false;
  std::vector<RecordedBox> boxes_;
  std::deque<int> answers_;
  std::deque<MathErrorAnswer> mathAnswers_;
  MathErrorAnswer defaultMathAnswer_;
  int mathErrorDialogs_ = 0;
  std::map<int32_t, std::string> texts_;
  std::map<int32_t, bool> disabled_;
  std::map<int32_t, int32_t> timers_;
  std::vector<std::string> reports_;
  std::map<int32_t, bool> checked_;
  std::map<int32_t, std::vector<std::string>> lists_;
  std::map<int32_t, int32_t> selections_;
  std::deque<std::optional<std::string>> fileNames_;
  std::vector<FileDialogRequest> fileDialogs_;
  std::deque<std::optional<DataSource>> browses_;
  std::vector<BrowseRequest> browseRequests_;
};

}  // namespace quillex
