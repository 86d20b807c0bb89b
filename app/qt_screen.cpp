#include "app/qt_screen.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>

#include "app/browser_dialog.h"
#include "app/file_dialog.h"
#include "app/main_window.h"
#include "app/math_error_dialog.h"
#include "app/report_window.h"
#include "app/run_scheduler.h"
#include "model/controls.h"

namespace quillex {

namespace {

QMessageBox::Icon BoxIcon(uint32_t style) {
  switch (style & box::kIconMask) {
    case box::kIconStop:
      return QMessageBox::Critical;
    case box::kIconQuestion:
      return QMessageBox::Question;
    case box::kIconExclamation:
      return QMessageBox::Warning;
    case box::kIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QListWidget* AsList(QWidget* widget) { return qobject_cast<QListWidget*>(widget); }

}  // namespace

void QtScreen::Attach(MainWindow* window, RunScheduler* scheduler, Context* context) {
  window_ = window;
  scheduler_ = scheduler;
  context_ = context;
}

QWidget* QtScreen::Control(int32_t id) const {
  return window_.isNull() ? nullptr : window_->Control(id);
}

int QtScreen::MessageBox(const std::string& text, const std::string& caption, uint32_t style,
                         bool owned) {
  bool question = (style & box::kButtonMask) == box::kYesNo;
  QMessageBox box(BoxIcon(style), QString::fromStdString(caption), QString::fromStdString(text),
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  owned ? window_.data() : nullptr);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  if (question) box.setDefaultButton(QMessageBox::Yes);
  int answer = box.exec();
  if (!question) return box::kAnswerOk;
  return answer == QMessageBox::Yes ? box::kAnswerYes : box::kAnswerNo;
}

MathErrorAnswer QtScreen::AskMathError() {
  MathErrorDialog dialog;
  return dialog.Ask();
}

std::optional<std::string> QtScreen::AskFileName(const FileDialogRequest& request) {
  return RunFileDialog(request, window_.data());
}

std::optional<DataSource> QtScreen::Browse(const BrowseRequest& request) {
  if (context_ == nullptr) return std::nullopt;
  // Over the dialog that asks (the formula editor browses for one variable),
  // else over the main window.
  QWidget* modal = QApplication::activeModalWidget();
  BrowserDialog dialog(*context_, request, modal != nullptr ? modal : window_.data());
  return dialog.Choose();
}

std::string QtScreen::Text(int32_t id) const {
  QWidget* widget = Control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
  return std::string();
}

void QtScreen::SetText(int32_t id, const std::string& text) {
  QWidget* widget = Control(id);
  QString value = QString::fromStdString(text);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(value);
    edit->setCursorPosition(0);  // a long source label shows its beginning
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(value);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(value);
  }
}

void QtScreen::Enable(int32_t id, bool enabled) {
  if (QWidget* widget = Control(id)) widget->setEnabled(enabled);
}

void QtScreen::SetChecked(int32_t menuItem, bool checked) {
  if (window_.isNull()) return;
  if (QAction* action = window_->MenuItem(menuItem)) action->setChecked(checked);
}

void QtScreen::StartTimer(int32_t id, int32_t milliseconds) {
  if (id == control::kProgressTimer && scheduler_ != nullptr) scheduler_->StartProgress(milliseconds);
}

void QtScreen::StopTimer(int32_t id) {
  if (id == control::kProgressTimer && scheduler_ != nullptr) scheduler_->StopProgress();
}

void QtScreen::ShowReport(const std::string& text) {
  if (window_.isNull()) return;
  auto* report = new ReportWindow(QString::fromStdString(text), window_.data());
  report->show();
  report->raise();
}

void QtScreen::ClearList(int32_t id) {
  if (QListWidget* list = AsList(Control(id))) list->clear();
}

void QtScreen::AddListLine(int32_t id, const std::string& line) {
  if (QListWidget* list = AsList(Control(id))) list->addItem(QString::fromStdString(line));
}

void QtScreen::RemoveListLine(int32_t id, int32_t place) {
  QListWidget* list = AsList(Control(id));
  if (list != nullptr && place >= 0 && place < list->count()) delete list->takeItem(place);
}

int32_t QtScreen::ListSelection(int32_t id) const {
  QListWidget* list = AsList(Control(id));
  if (list == nullptr) return -1;
  QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.first());
}

}  // namespace quillex
