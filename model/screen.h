// The screen port: the only way the core talks to the user.
//
// The core never calls a window system. It speaks to the screen the way the
// system's dialogs are built: controls by their numeric id, and message boxes
// by caption, text and the Windows style bits (icon and buttons). The desktop
// program implements this over real widgets; tests and the headless tools use
// ScriptedScreen, which records every box and answers questions from a
// script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/job.h"

namespace quillex {

// Message-box style bits, with the values the system's boxes are defined by.
namespace box {
constexpr uint32_t kOk = 0x0;
constexpr uint32_t kYesNo = 0x4;
constexpr uint32_t kButtonMask = 0xF;
constexpr uint32_t kIconStop = 0x10;
constexpr uint32_t kIconQuestion = 0x20;
constexpr uint32_t kIconExclamation = 0x30;
constexpr uint32_t kIconInformation = 0x40;
constexpr uint32_t kIconMask = 0xF0;
constexpr uint32_t kTaskModal = 0x2000;

// What a box answers.
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
}  // namespace box

// The caption of every message box the program shows.
inline constexpr const char* kCaption = "Quillex";

// The user's answer to the math-error dialog ("ERRDLG").
struct MathErrorAnswer {
  enum Button { kYes, kNo, kClose } button = kYes;
  bool dontShowAgain = false;  // check box 1000, read by "Yes" only
};

// An open-file or save-file dialog, as the system asks for it.
struct FileDialogRequest {
  bool save = false;            // a save-file dialog, else an open-file dialog
  std::string title;            // "Select Quillex Job"
  std::string filterName;       // "Quillex Jobs"
  std::string pattern;          // "*.QXJ"; matched in either case
  std::string initialFolder;
  std::string fileName;         // the file name field's first text
  bool mustExist = false;       // open: the chosen file must exist
  bool promptOverwrite = false; // save: ask before replacing a file
};

// The database browser: a data set, curve or item chosen in a log database.
struct BrowseRequest {
  std::string title;    // "Input Source"
  std::string pattern;  // which items may be chosen: "/*/*/*/*" is any data set
  int32_t flags = 0;
  DataSource current;   // the choice the browser starts from
};

class Screen {
 public:
  virtual ~Screen() = default;

  // A modal message box; returns one of the box::kAnswer values. `owned` says
  // whether the main window owns it (no main window exists at start-up).
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t style,
                         bool owned) = 0;

  // Whether the main window exists (the owner of message boxes).
  virtual bool HasMainWindow() const = 0;

  // The math-error dialog, run modally while a run is on.
  virtual MathErrorAnswer AskMathError() = 0;

  // A file dialog; the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> AskFileName(const FileDialogRequest& request) = 0;

  // The database browser; the chosen database file and item path, or nothing
  // when the user cancels.
  virtual std::optional<DataSource> Browse(const BrowseRequest& request) = 0;

  // Texts of controls by id.
  virtual std::string Text(int32_t id) const = 0;
  virtual void SetText(int32_t id, const std::string& text) = 0;

  // Enabling controls, and the check marks of menu items.
  virtual void Enable(int32_t id, bool enabled) = 0;
  virtual void SetChecked(int32_t menuItem, bool checked) = 0;

  // The progress timer of a run (the desktop program refreshes the progress
  // text when it fires), started and stopped by id.
  virtual void StartTimer(int32_t id, int32_t milliseconds) = 0;
  virtual void StopTimer(int32_t id) = 0;

  // Shows the results report of a report run to the user.
  virtual void ShowReport(const std::string& text) = 0;

  // The lines of a list box.
  virtual void ClearList(int32_t id) = 0;
  virtual void AddListLine(int32_t id, const std::string& line) = 0;
  // Removes the line at a 0-based place.
  virtual void RemoveListLine(int32_t id, int32_t place) = 0;
  // The 0-based place of the selected line, or -1 when none is selected.
  virtual int32_t ListSelection(int32_t id) const = 0;
};

}  // namespace quillex
