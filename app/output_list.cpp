#include "app/output_list.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/command_ids.h"

namespace quillex {

OutputList::OutputList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
}

void OutputList::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Q_EMIT command(command::kEdit);
      return;
    case Qt::Key_Insert:
      Q_EMIT command(command::kAdd);
      return;
    case Qt::Key_Delete:
      Q_EMIT command(command::kDelete);
      return;
    case Qt::Key_F1:
      Q_EMIT command(command::kHelpContents);
      return;
    default:
      QListWidget::keyPressEvent(event);
  }
}

void OutputList::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) Q_EMIT command(command::kHelpContents);
  QListWidget::mousePressEvent(event);
}

void OutputList::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT doubleClicked();
}

void OutputList::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  if (count() == 0) return;
  if (currentRow() < 0) setCurrentRow(0, QItemSelectionModel::NoUpdate);
  currentItem()->setSelected(true);
}

void OutputList::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  if (event->reason() != Qt::PopupFocusReason) clearSelection();
}

}  // namespace quillex
