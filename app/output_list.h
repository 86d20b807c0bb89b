// The main window's list of outputs, with the keys and the mouse as the
// list has always taken them: Enter edits the selected output, Insert adds
// one, Delete deletes the selected one, F1 and the right button open the
// help. A double-click edits (or adds, when no line is selected).
//
// The selection follows the focus: gaining it selects the line with the
// caret, losing it clears the selection. So a command that acts on "the
// selected output" acts on a line only while the user is working in the
// list; opening a menu does not count as leaving it.
#pragma once

#include <QListWidget>
#include <cstdint>

namespace quillex {

class OutputList : public QListWidget {
  Q_OBJECT

 public:
  explicit OutputList(QWidget* parent = nullptr);

 Q_SIGNALS:
  // A command of the main window's table, by id.
  void command(int32_t id);
  void doubleClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace quillex
