// The results report of a report run, in a window of its own: read-only, in
// the fixed-pitch font its columns are laid out for, with Save As (the text
// to a file, written whole or not at all) and Copy (the selection, or all of
// it, to the clipboard). Each report run opens one; closing it loses
// nothing, since the report is also stored in the database.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace quillex {

class ReportWindow : public QWidget {
  Q_OBJECT

 public:
  ReportWindow(const QString& text, QWidget* owner);

  QString text() const;

  // Writes the report to a file; false after telling the user when it could
  // not be written (the file is then as it was).
  [[nodiscard]] bool SaveTo(const QString& file);
  void Copy();

 private:
  void SaveAs();

  QPlainTextEdit* view_ = nullptr;
};

}  // namespace quillex
