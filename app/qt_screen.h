// The screen port over real widgets: the desktop program's side of it.
//
// Controls are found in the main window by id; message boxes, file dialogs,
// the database browser and the math-error dialog run modally and answer as
// the core expects; the report opens in a window of its own. The screen
// exists before the main window does (boxes shown then have no owner) and
// outlives it (the core may still write a field while the program ends).
#pragma once

#include <QPointer>

class QWidget;

#include "model/screen.h"

namespace quillex {

struct Context;
class MainWindow;
class RunScheduler;

class QtScreen : public Screen {
 public:
  // The window the controls live in, the scheduler the timers drive, the
  // context the browser lists databases through. Null detaches.
  void Attach(MainWindow* window, RunScheduler* scheduler, Context* context);

  int MessageBox(const std::string& text, const std::string& caption, uint32_t style,
                 bool owned) override;
  bool HasMainWindow() const override { return !window_.isNull(); }
  MathErrorAnswer AskMathError() override;
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override;
  std::optional<DataSource> Browse(const BrowseRequest& request) override;
  std::string Text(int32_t id) const override;
  void SetText(int32_t id, const std::string& text) override;
  void Enable(int32_t id, bool enabled) override;
  void SetChecked(int32_t menuItem, bool checked) override;
  void StartTimer(int32_t id, int32_t milliseconds) override;
  void StopTimer(int32_t id) override;
  void ShowReport(const std::string& text) override;
  void ClearList(int32_t id) override;
  void AddListLine(int32_t id, const std::string& line) override;
  void RemoveListLine(int32_t id, int32_t place) override;
  int32_t ListSelection(int32_t id) const override;

 private:
  QWidget* Control(int32_t id) const;

  QPointer<MainWindow> window_;
  RunScheduler* scheduler_ = nullptr;
  Context* context_ = nullptr;
};

}  // namespace quillex
