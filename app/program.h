// The desktop program from start to end.
//
// Start-up, in this order: the log database library (when it cannot start
// the program ends at once, with status 0 and no window, as it always has);
// the settings and the command line; the main window, shown, whose first
// moves (a job named on the command line run at once, or the Open dialog)
// wait until the event loop runs. Shut-down, after the loop: a run still on
// is finished, the window goes, then the outputs and the unit list, and the
// settings are written last.
//
// Program holds what lives for the whole process: the screen, the context
// (passed by reference to everything else), the run scheduler and the main
// window. Tests make one in their own process to drive the real widgets.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "app/qt_screen.h"
#include "curvedata/context.h"

class QApplication;

namespace quillex {

class MainWindow;
class RunScheduler;

class Program {
 public:
  Program();
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The library in the home folder (empty: the system's). False: the
  // program can do nothing and ends.
  [[nodiscard]] bool StartLibrary(const std::string& home);

  // Reads the settings and the command line ("-args JOB" names a job), makes
  // the main window and shows it; its first moves run once the event loop
  // does.
  void OpenMainWindow(const std::string& commandLine);

  // Finishes a run still on, closes the window, releases the job and writes
  // the settings. Called once, after the event loop.
  void ShutDown();

  Context& context() { return context_; }
  MainWindow* window() const { return window_.get(); }
  RunScheduler& scheduler() const { return *scheduler_; }

 private:
  QtScreen screen_;
  Context context_{screen_};
  std::unique_ptr<RunScheduler> scheduler_;
  std::unique_ptr<MainWindow> window_;
  bool shutDown_ = false;
};

// The whole program: the command line (quillex [--home DIR] [JOBFILE],
// --help, --version), the start-up, the event loop and the shut-down.
// Returns the exit status.
int QuillexMain(int argc, char** argv);

}  // namespace quillex
