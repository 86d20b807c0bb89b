// "ERRDLG": a run met a math error. Yes goes on (and reads the check box:
// no more of these in this run), No asks the run to stop; closing the
// dialog goes on like Yes without reading the check box. Esc is No, as the
// key has always meant the dialog's second button.
#pragma once

#include <QDialog>

#include "app/template_builder.h"
#include "model/screen.h"

namespace quillex {

class MathErrorDialog : public QDialog {
  Q_OBJECT

 public:
  // Without owner: the dialog belongs to no window, as it always has.
  MathErrorDialog();

  // Runs the dialog modally.
  MathErrorAnswer Ask();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  BuiltDialog built_;
  MathErrorAnswer::Button button_ = MathErrorAnswer::kClose;
};

}  // namespace quillex
