// Answers the modal dialogs a test makes the program open, in order, from a
// script: each dialog that becomes the active modal window takes the next
// answer. A dialog the script does not expect is noted and cancelled, and
// one still open a second after its answer (an answer that failed) is
// cancelled too, so a test fails instead of waiting for a user.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

namespace quillex {

class ModalScript : public QObject {
 public:
  using Answer = std::function<void(QWidget* dialog)>;

  ModalScript() {
    QObject::connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
    poll_.start(5);
  }

  // The next dialog, expected by its title.
  void Expect(const QString& title, Answer answer) { steps_.push_back({title, std::move(answer)}); }
  bool finished() const { return steps_.empty(); }

  // What was met: "TITLE" for a dialog, "TITLE: TEXT" for a message box.
  const QStringList& seen() const { return seen_; }
  const QStringList& unexpected() const { return unexpected_; }

  // Common answers.
  static Answer Press(QMessageBox::StandardButton button) {
    return [button](QWidget* dialog) {
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) box->button(button)->click();
    };
  }
  static Answer Cancel() {
    return [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); };
  }

 private:
  struct Step {
    QString title;
    Answer answer;
  };

  void Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible()) return;
    for (const QPointer<QWidget>& done : handled_) {
      if (done != dialog) continue;
      if (++stuck_ > 200) {
        unexpected_ << "still open after its answer: " + dialog->windowTitle();
        if (auto* modal = qobject_cast<QDialog*>(dialog)) modal->reject();
      }
      return;
    }
    stuck_ = 0;
    handled_.emplace_back(dialog);
    QString title = dialog->windowTitle();
    auto* box = qobject_cast<QMessageBox*>(dialog);
    seen_ << (box != nullptr ? title + ": " + box->text() : title);
    if (steps_.empty() || steps_.front().title != title) {
      unexpected_ << seen_.back();
      if (auto* modal = qobject_cast<QDialog*>(dialog)) modal->reject();
      return;
    }
    Answer answer = std::move(steps_.front().answer);
    steps_.pop_front();
    answer(dialog);
  }

  QTimer poll_;
  std::deque<Step> steps_;
  std::vector<QPointer<QWidget>> handled_;
  QStringList seen_;
  QStringList unexpected_;
  int stuck_ = 0;  // polls since the last answer with its dialog still open
};

}  // namespace quillex
