#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include "app/command_ids.h"
#include "app/help_window.h"
#include "app/output_editor.h"
#include "app/output_list.h"
#include "app/version.h"
#include "curvedata/context.h"
#include "curvedata/destination.h"
#include "jobfile/job_commands.h"
#include "jobfile/output_commands.h"
#include "jobfile/source_choice.h"
#include "model/controls.h"
#include "run/engine.h"
#include "run/session.h"

namespace quillex {

MainWindow::MainWindow(Context& context) : context_(context) {
  DialogTemplate dialog = LoadDialogTemplate(QStringLiteral("MAINDLG"));
  setWindowTitle(QString::fromStdString(dialog.caption));
  setWindowIcon(QIcon(QStringLiteral(":/icons/quillex.png")));
  // A fixed frame with a system menu and a minimise box.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("MAINDLG"));
  built_ = BuildDialog(dialog, client, [this](const ControlTemplate& control, QWidget* parent) -> QWidget* {
    if (control.id != control::kOutputList) return nullptr;
    return list_ = new OutputList(parent);
  });
  setCentralWidget(client);
  menu_ = BuildMenu(LoadMenuTemplate(QString::fromStdString(dialog.menu)), menuBar());
  menuBar()->setFont(client->font());
  ConnectCommands();
  setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::MenuItem(int32_t id) const {
  auto found = menu_.find(id);
  return found == menu_.end() ? nullptr : found->second;
}

void MainWindow::ConnectCommands() {
  for (int32_t id : {command::kExit, command::kBrowsePresentation, command::kRunButton,
                     command::kBrowseInput, command::kBrowseDestination}) {
    if (auto* button = qobject_cast<QPushButton*>(Control(id))) {
      connect(button, &QPushButton::clicked, this, [this, id] { Command(id); });
    }
  }
  for (auto& [id, action] : menu_) {
    connect(action, &QAction::triggered, this, [this, id = id] { Command(id); });
  }
  connect(list_, &OutputList::command, this, &MainWindow::Command);
  connect(list_, &OutputList::doubleClicked, this, &MainWindow::EditOrAdd);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] { Command(command::kExit); });
}

void MainWindow::Command(int32_t id) {
  Context& context = context_;
  switch (id) {
    case command::kExit:
    case command::kExitMenu:
      if (ExitCommand(context)) {
        mayClose_ = true;
        close();
      }
      break;
    case command::kBrowsePresentation:
      SelectPresentationFile(context);
      break;
    case command::kRunButton:
    case command::kRun:
      Run(context);
      break;
    case command::kBrowseInput:
      ChooseInputSource(context);
      break;
    case command::kBrowseDestination:
      ChooseOutputDestination(context);
      break;
    case command::kNew:
      NewJob(context);
      break;
    case command::kOpen:
      OpenJob(context);
      break;
    case command::kSave:
      SaveJobCommand(context);
      break;
    case command::kSaveAs:
      SaveJobAs(context);
      break;
    case command::kEdit:
      if (editor_ != nullptr) editor_->EditSelectedOutput();
      break;
    case command::kAdd:
      if (editor_ != nullptr) editor_->AddNewOutput();
      break;
    case command::kDelete:
      DeleteSelectedOutput(context);
      break;
    case command::kHelpContents:
      Help().ShowContents();
      break;
    case command::kHelpSearch:
      Help().ShowSearch();
      break;
    case command::kAbout:
      About();
      break;
    case command::kGenerateCurves:
    case command::kGenerateReport:
      // The menu has already moved its check mark; the marks stay with the
      // job's option until the core changes it.
      MenuItem(command::kGenerateCurves)->setChecked(context.job.runOption == kGenerateCurves);
      MenuItem(command::kGenerateReport)->setChecked(context.job.runOption == kGenerateReport);
      SetRunOption(context, id == command::kGenerateReport ? kGenerateReport : kGenerateCurves);
      break;
    default:
      break;
  }
}

void MainWindow::EditOrAdd() {
  if (editor_ != nullptr && !editor_->EditSelectedOutput()) editor_->AddNewOutput();
}

void MainWindow::About() {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About Quillex"),
                  QStringLiteral("<b>Quillex</b><br>quillex<br>%1<br>Version %2")
                      .arg(QString::fromUtf8(kAboutLine), QString::fromUtf8(kVersion)),
                  QMessageBox::Ok, this);
  box.setIconPixmap(windowIcon().pixmap(48, 48));
  box.setObjectName(QStringLiteral("About"));
  box.exec();
}

HelpWindow& MainWindow::Help() {
  if (help_.isNull()) help_ = new HelpWindow(this);
  return *help_;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  mayClose_ = mayClose_ || ExitCommand(context_);
  if (!mayClose_) {
    event->ignore();
    return;
  }
  event->accept();
  Q_EMIT closed();
}

}  // namespace quillex
