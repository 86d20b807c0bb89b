// The main window: template "MAINDLG" with menu "MENU_1", and its table of
// commands.
//
// The window is a thin shell. Its fields are what the core reads and writes
// through the screen port (by control id); each button, menu item and key
// of the output list is one entry of the command table, which calls the
// core's command and does nothing else. Closing the window is the Exit
// command: with a run on it asks, and the window only goes when the core
// says it may.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <map>

#include "app/template_builder.h"

class QAction;

namespace quillex {

struct Context;
class HelpWindow;
class OutputEditor;
class OutputList;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(Context& context);
  ~MainWindow() override;

  // A control of the template, or a menu item, by id; null when none.
  QWidget* Control(int32_t id) const { return built_.Control(id); }
  QAction* MenuItem(int32_t id) const;
  OutputList* outputList() const { return list_; }

  // Carries out a command of the table (a button's or a menu item's id).
  void Command(int32_t id);

  void SetOutputEditor(OutputEditor* editor) { editor_ = editor; }

  // The help window, made when first asked for.
  HelpWindow& Help();

 Q_SIGNALS:
  // The window has gone: the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectCommands();
  void EditOrAdd();
  void About();

  Context& context_;
  BuiltDialog built_;
  std::map<int32_t, QAction*> menu_;
  OutputList* list_ = nullptr;
  OutputEditor* editor_ = nullptr;
  QPointer<HelpWindow> help_;
  bool mayClose_ = false;
};

}  // namespace quillex
