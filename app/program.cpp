#include "app/program.h"

#include <QApplication>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "app/run_scheduler.h"
#include "app/version.h"
#include "jobfile/settings.h"
#include "run/engine.h"
#include "run/session.h"

namespace quillex {

namespace {

const char kUsage[] =
    "usage: quillex [--home DIR] [JOBFILE]\n"
    "\n"
    "The Quillex desktop program: derives new well-log curves from existing ones.\n"
    "\n"
    "  JOBFILE    a job file to open and run at once; a name without a folder lies\n"
    "             in the job folder ($CORVANE_HOME/jobs). Without one the program\n"
    "             offers the Open dialog.\n"
    "  --home DIR use DIR instead of $CORVANE_HOME\n"
    "  --help     this text\n"
    "  --version  the program's version\n"
    "\n"
    "The manual is under Help > Contents.\n";

struct Options {
  bool help = false;
  bool version = false;
  std::string home;
  std::string commandLine;  // "-args JOBFILE" for the settings, or ""
  std::string mistake;
};

// The argument block names the job as one quoted word, blanks and all.
std::string ArgumentBlock(const std::string& job) { return "-args \"" + job + "\""; }

Options ReadOptions(const std::vector<std::string>& arguments) {
  Options options;
  for (size_t at = 0; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    if (argument == "--help") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--home") {
      if (at + 1 >= arguments.size()) options.mistake = "--home needs a folder";
      else options.home = arguments[++at];
    } else if (argument.rfind("--", 0) == 0) {
      options.mistake = "unknown option '" + argument + "'";
    } else if (!options.commandLine.empty()) {
      options.mistake = "more than one job file given";
    } else {
      options.commandLine = ArgumentBlock(argument);
    }
  }
  return options;
}

}  // namespace

Program::Program() : scheduler_(std::make_unique<RunScheduler>(context_)) {}

Program::~Program() { ShutDown(); }

bool Program::StartLibrary(const std::string& home) {
  int started = home.empty() ? dorvex::DorvexInitialize(context_.dorvex, 0)
                             : dorvex::DorvexInitializeAt(context_.dorvex, home);
  return started != 0;
}

void Program::OpenMainWindow(const std::string& commandLine) {
  LoadSettings(context_, commandLine);
  window_ = std::make_unique<MainWindow>(context_);
  screen_.Attach(window_.get(), scheduler_.get(), &context_);
  window_->show();
  QTimer::singleShot(0, window_.get(), [this] { StartMainWindow(context_); });
}

void Program::ShutDown() {
  if (shutDown_ || window_ == nullptr) return;
  shutDown_ = true;
  Finish(context_);
  screen_.Attach(nullptr, nullptr, nullptr);
  window_.reset();
  EndSession(context_);
}

int QuillexMain(int argc, char** argv) {
  // --help and --version are answered before the toolkit starts, so that
  // they work where no display is.
  Options early = ReadOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (early.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (early.version) {
    std::printf("quillex %s\n", kVersion);
    return 0;
  }
  // The toolkit takes its own options (-platform, -style ...) out of the
  // command line; the rest is the program's.
  QApplication application(argc, argv);
  Options options = ReadOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.mistake.empty()) {
    std::fprintf(stderr, "quillex: %s\nTry 'quillex --help'.\n", options.mistake.c_str());
    return 2;
  }
  // Numbers in files and fields are written with "." whatever the user's
  // locale; the toolkit has just set it for the whole process.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("quillex"));
  QApplication::setQuitOnLastWindowClosed(false);
  Program program;
  if (!program.StartLibrary(options.home)) {
    std::fprintf(stderr, "quillex: cannot use the home folder %s\n",
                 options.home.empty() ? "of the system" : options.home.c_str());
    return 0;
  }
  program.OpenMainWindow(options.commandLine);
  QObject::connect(program.window(), &MainWindow::closed, &application, &QApplication::quit);
  int status = QApplication::exec();
  program.ShutDown();
  return status;
}

}  // namespace quillex
