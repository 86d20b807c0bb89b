#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quillex {

namespace {

const QString kPages = QStringLiteral(":/docs/");

QPushButton* AddButton(QHBoxLayout* row, const QString& text, const char* name) {
  auto* button = new QPushButton(text);
  button->setObjectName(QString::fromLatin1(name));
  row->addWidget(button);
  return button;
}

}  // namespace

std::vector<HelpPage> HelpWindow::Pages() {
  std::vector<HelpPage> pages;
  for (const QString& name : QDir(kPages).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
    QFile file(kPages + name);
    if (!file.open(QIODevice::ReadOnly)) continue;
    std::string html = file.readAll().toStdString();
    pages.push_back(HelpPage{name.toStdString(), PageTitle(html), html});
  }
  return pages;
}

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Quillex Help"));
  auto* buttons = new QHBoxLayout;
  QPushButton* contents = AddButton(buttons, QStringLiteral("&Contents"), "HelpContents");
  QPushButton* search = AddButton(buttons, QStringLiteral("&Search"), "HelpSearch");
  QPushButton* back = AddButton(buttons, QStringLiteral("&Back"), "HelpBack");
  QPushButton* forward = AddButton(buttons, QStringLiteral("&Forward"), "HelpForward");
  buttons->addStretch(1);

  searchPanel_ = new QWidget;
  auto* panel = new QVBoxLayout(searchPanel_);
  panel->setContentsMargins(0, 0, 0, 0);
  panel->addWidget(new QLabel(QStringLiteral("Type the start of a keyword:")));
  field_ = new QLineEdit;
  field_->setObjectName(QStringLiteral("HelpKeyword"));
  field_->installEventFilter(this);
  panel->addWidget(field_);
  topics_ = new QListWidget;
  topics_->setObjectName(QStringLiteral("HelpTopics"));
  panel->addWidget(topics_, 1);
  text_ = new QTextBrowser;
  text_->setObjectName(QStringLiteral("HelpText"));
  text_->setOpenExternalLinks(true);
  text_->setSearchPaths({kPages});
  auto* split = new QSplitter;
  split->addWidget(searchPanel_);
  split->addWidget(text_);
  split->setStretchFactor(1, 1);
  split->setSizes({280, 600});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(split, 1);
  connect(contents, &QPushButton::clicked, this, &HelpWindow::ShowContents);
  connect(search, &QPushButton::clicked, this, &HelpWindow::ShowSearch);
  connect(back, &QPushButton::clicked, text_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, text_, &QTextBrowser::forward);
  connect(text_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(text_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(field_, &QLineEdit::textChanged, this, &HelpWindow::Filter);
  connect(field_, &QLineEdit::returnPressed, this, &HelpWindow::OpenTopic);
  connect(topics_, &QListWidget::itemActivated, this, &HelpWindow::OpenTopic);
  back->setEnabled(false);
  forward->setEnabled(false);
  index_ = ReadHelpIndex(Pages());
  Filter(QString());
  searchPanel_->hide();
  resize(880, 620);
}

void HelpWindow::Open(const QString& page) {
  text_->setSource(QUrl(QStringLiteral("qrc") + kPages + page));
  show();
  raise();
  activateWindow();
}

void HelpWindow::ShowContents() { Open(QStringLiteral("index.html")); }

void HelpWindow::ShowSearch() {
  searchPanel_->show();
  if (text_->source().isEmpty()) ShowContents();
  show();
  raise();
  activateWindow();
  field_->setFocus();
  field_->selectAll();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  // Up and Down in the keyword field move through the list under it.
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      int row = topics_->currentRow() + (key == Qt::Key_Down ? 1 : -1);
      if (row >= 0 && row < topics_->count()) topics_->setCurrentRow(row);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void HelpWindow::Filter(const QString& typed) {
  shown_ = FindTopics(index_, typed.toStdString());
  topics_->clear();
  for (const HelpTopic& topic : shown_) {
    topics_->addItem(QStringLiteral("%1  (%2)").arg(QString::fromStdString(topic.keyword),
                                                    QString::fromStdString(topic.title)));
  }
  if (!shown_.empty()) topics_->setCurrentRow(0);
}

void HelpWindow::OpenTopic() {
  int row = topics_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= shown_.size()) return;
  Open(QString::fromStdString(shown_[static_cast<size_t>(row)].file));
}

}  // namespace quillex
