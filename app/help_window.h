// Help: the user manual (the HTML pages of docs/, built into the program)
// in a window of its own. Contents opens the manual's first page; Search
// opens a keyword box beside the page: typing the start of a keyword lists
// the keywords that begin with it, and choosing one opens its page. The
// same pages read in any web browser.
#pragma once

#include <QWidget>
#include <vector>

#include "app/help_index.h"

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace quillex {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* owner);

  void ShowContents();
  void ShowSearch();
  // Opens a page of the manual ("jobs.html", "jobs.html#settings").
  void Open(const QString& page);

  // The pages built into the program.
  static std::vector<HelpPage> Pages();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Filter(const QString& typed);
  void OpenTopic();

  QTextBrowser* text_ = nullptr;
  QWidget* searchPanel_ = nullptr;
  QLineEdit* field_ = nullptr;
  QListWidget* topics_ = nullptr;
  std::vector<HelpTopic> index_;
  std::vector<HelpTopic> shown_;
};

}  // namespace quillex
