// The screen of the command-line tools: no window, a fixed policy.
//
// Every message box becomes one line on standard error ("error: TEXT" for the
// stop icon, "note: TEXT" for notes, "message: TEXT" for the rest) and is
// answered without asking: OK, and No to every question, so a headless run
// never waits for a user who is not there and never says yes to something
// it was not told. The math-error dialog answers "continue, and show no
// more" (the run counts the errors and the tool reports their number). The
// database browser answers with the one source the command line gave, file
// dialogs are cancelled, and a report is written to standard output.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "model/screen.h"

namespace quillex {

// The line a message box becomes: "error: ", "note: " or "message: " and the
// text.
std::string BoxLine(const std::string& text, uint32_t style);

class HeadlessScreen : public Screen {
 public:
  int MessageBox(const std::string& text, const std::string& caption, uint32_t style,
                 bool owned) override;
  bool HasMainWindow() const override { return false; }
  MathErrorAnswer AskMathError() override { return {MathErrorAnswer::kYes, true}; }
  std::optional<std::string> AskFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<DataSource> Browse(const BrowseRequest&) override { return browseAnswer_; }
  std::string Text(int32_t id) const override;
  void SetText(int32_t id, const std::string& text) override { texts_[id] = text; }
  void Enable(int32_t, bool) override {}
  void SetChecked(int32_t, bool) override {}
  void StartTimer(int32_t, int32_t) override {}
  void StopTimer(int32_t) override {}
  void ShowReport(const std::string& text) override;
  void ClearList(int32_t) override {}
  void AddListLine(int32_t, const std::string&) override {}
  void RemoveListLine(int32_t, int32_t) override {}
  int32_t ListSelection(int32_t) const override { return -1; }

  // Notes that say only what a user of the tools knows already ("Presentation
  // file not selected, plot will not run.") are shown only when verbose.
  void SetVerbose(bool verbose) { verbose_ = verbose; }

  // The source every browse answers with (a tool's --input); none cancels.
  void SetBrowseAnswer(std::optional<DataSource> source) { browseAnswer_ = std::move(source); }

  // Error boxes shown so far.
  int errors() const { return errors_; }

 private:
  std::map<int32_t, std::string> texts_;
  std::optional<DataSource> browseAnswer_;
  int errors_ = 0;
  bool verbose_ = false;
};

}  // namespace quillex
