// window_screenshot: the plotting program's window as a PNG, for
// `make tavlo-screenshots` (under xvfb-run, so that a real window system
// draws the frame's contents).
//
//   window_screenshot HOME DB PATH OUT.png [--at DEPTH] [--wait SECONDS]
//
// Opens the window as tavlo does, lets the live follower run for the given
// seconds (a run may be writing), scrolls to DEPTH (display units) when
// given, moves the cursor to the middle of the plot so the status line
// shows its readout, and saves the window's picture.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>

#include "plot/plot_window.h"

using namespace tavlo;

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: window_screenshot HOME DB PATH OUT.png [--at DEPTH] [--wait SECONDS]\n");
    return 2;
  }
  double at = -1;
  double wait = 0.5;
  for (int i = 5; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--at") at = std::atof(argv[i + 1]);
    if (std::string(argv[i]) == "--wait") wait = std::atof(argv[i + 1]);
  }
  QApplication application(argc, argv);
  dorvex::DorvexLibrary library;
  if (dorvex::DorvexInitializeAt(library, argv[1]) == 0) return 1;
  OpenedPlot opened = OpenPlot(library, {argv[2], argv[3], "", std::nullopt});
  if (opened.failure != OpenFailure::kNone) {
    std::fprintf(stderr, "window_screenshot: %s\n", opened.message.toUtf8().constData());
    return 1;
  }
  PlotWindow window(opened, at < 0);
  window.resize(1120, 760);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < wait * 1000) QTest::qWait(50);
  if (at >= 0) window.view().ScrollTo(at * opened.model.unit.indexPerUnit);
  PlotView& view = window.view();
  QPoint middle(view.width() * 2 / 5, view.height() / 2);
  QTest::mouseMove(&view, middle);
  QTest::qWait(200);
  return window.grab().save(argv[4]) ? 0 : 1;
}
