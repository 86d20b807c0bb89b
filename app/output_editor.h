// Where the main window's Output Edit and Output Add go: the formula
// editor, which lives in a layer above the window and plugs in here. Until
// one is plugged in, the two commands do nothing.
#pragma once

namespace quillex {

class OutputEditor {
 public:
  virtual ~OutputEditor() = default;
  // Opens the editor on the selected output; false when no output was
  // selected (a double-click then adds one).
  virtual bool EditSelectedOutput() = 0;
  virtual void AddNewOutput() = 0;
};

}  // namespace quillex
