#include "app/report_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace quillex {

ReportWindow::ReportWindow(const QString& text, QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("ReportWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Quillex Report"));
  view_ = new QPlainTextEdit(this);
  view_->setObjectName(QStringLiteral("ReportText"));
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view_->setPlainText(text);
  auto* saveAs = new QPushButton(QStringLiteral("Save &As..."), this);
  saveAs->setObjectName(QStringLiteral("SaveAs"));
  auto* copy = new QPushButton(QStringLiteral("&Copy"), this);
  copy->setObjectName(QStringLiteral("Copy"));
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  connect(saveAs, &QPushButton::clicked, this, &ReportWindow::SaveAs);
  connect(copy, &QPushButton::clicked, this, &ReportWindow::Copy);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(saveAs);
  buttons->addWidget(copy);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);
  // Wide enough for the report's 78 columns without a scroll bar.
  QFontMetrics metrics(view_->font());
  resize(metrics.horizontalAdvance(QString(84, QLatin1Char('0'))) + 40, metrics.height() * 24 + 60);
}

QString ReportWindow::text() const { return view_->toPlainText(); }

void ReportWindow::SaveAs() {
  QFileDialog dialog(this, QStringLiteral("Save Report As"), QDir::homePath());
  dialog.setObjectName(QStringLiteral("FileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("Text Files (*.txt *.TXT)"));
  dialog.selectFile(QStringLiteral("report.txt"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  static_cast<void>(SaveTo(dialog.selectedFiles().first()));
}

bool ReportWindow::SaveTo(const QString& file) {
  // Written beside the file and put in its place once complete.
  QSaveFile out(file);
  if (out.open(QIODevice::WriteOnly) && out.write(text().toUtf8()) >= 0 && out.commit()) return true;
  QMessageBox::warning(this, QStringLiteral("Quillex"),
                       QStringLiteral("The report could not be saved as %1: %2")
                           .arg(QDir::toNativeSeparators(file), out.errorString()));
  return false;
}

void ReportWindow::Copy() {
  QString selected = view_->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n');
  QApplication::clipboard()->setText(selected.isEmpty() ? text() : selected);
}

}  // namespace quillex
