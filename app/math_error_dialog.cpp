#include "app/math_error_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>

namespace quillex {

namespace {

constexpr int32_t kYes = 1;
constexpr int32_t kNo = 2;
constexpr int32_t kDontShowAgain = 1000;

}  // namespace

MathErrorDialog::MathErrorDialog() {
  DialogTemplate dialog = LoadDialogTemplate(QStringLiteral("ERRDLG"));
  setObjectName(QStringLiteral("ERRDLG"));
  setWindowTitle(QString::fromStdString(dialog.caption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  built_ = BuildDialog(dialog, this);
  if (auto* yes = qobject_cast<QPushButton*>(built_.Control(kYes))) {
    connect(yes, &QPushButton::clicked, this, [this] {
      button_ = MathErrorAnswer::kYes;
      done(QDialog::Accepted);
    });
  }
  if (auto* no = qobject_cast<QPushButton*>(built_.Control(kNo))) {
    connect(no, &QPushButton::clicked, this, [this] {
      button_ = MathErrorAnswer::kNo;
      done(QDialog::Rejected);
    });
  }
}

MathErrorAnswer MathErrorDialog::Ask() {
  button_ = MathErrorAnswer::kClose;
  exec();
  auto* check = qobject_cast<QCheckBox*>(built_.Control(kDontShowAgain));
  bool dontShow = button_ == MathErrorAnswer::kYes && check != nullptr && check->isChecked();
  return MathErrorAnswer{button_, dontShow};
}

void MathErrorDialog::closeEvent(QCloseEvent* event) {
  // Closing is a choice of its own: the run goes on, the box unread.
  button_ = MathErrorAnswer::kClose;
  event->accept();
  done(QDialog::Accepted);
}

void MathErrorDialog::reject() {
  // Esc: the second button.
  button_ = MathErrorAnswer::kNo;
  done(QDialog::Rejected);
}

}  // namespace quillex
