#include "app/file_dialog.h"

#include <QFileDialog>

namespace quillex {

QString NameFilter(const FileDialogRequest& request) {
  QString pattern = QString::fromStdString(request.pattern);
  QStringList patterns{pattern.toUpper()};
  if (pattern.toLower() != pattern.toUpper()) patterns << pattern.toLower();
  return QStringLiteral("%1 (%2)").arg(QString::fromStdString(request.filterName), patterns.join(' '));
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request, QWidget* owner) {
  QFileDialog dialog(owner, QString::fromStdString(request.title),
                     QString::fromStdString(request.initialFolder));
  dialog.setObjectName(QStringLiteral("FileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(NameFilter(request));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
  if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace quillex
