// Pictures of the windows for looking at, not a test: `make screenshots`
// runs this under a virtual X server and leaves PNG files in the folder it
// is given. The main window empty, with a job of five outputs, and during a
// run; the database browser, the math-error dialog, the report window and
// a help page. Each window is drawn by itself, without a window manager's
// frame.
#include <QApplication>
#include <QTextBrowser>
#include <QTimer>
#include <clocale>
#include <cmath>
#include <cstdio>

#include "app/help_window.h"
#include "app/report_window.h"
#include "tests/app/app_fixture.h"

using namespace quillex;

namespace {

QString folder;

void Save(QWidget* window, const char* name) {
  QApplication::processEvents();
  QString file = folder + "/" + name + ".png";
  bool saved = window->grab().save(file);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
}

std::vector<float> Log(size_t n, double base, double swing, double period) {
  std::vector<float> values(n);
  for (size_t at = 0; at < n; ++at) {
    values[at] = static_cast<float>(base + swing * std::sin(static_cast<double>(at) / period));
  }
  return values;
}

void Wait(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

template <typename Ready>
void WaitFor(Ready ready) {
  for (int n = 0; n < 1000 && !ready(); ++n) Wait(10);
}

const std::string kSet = "/FIELD/LEASE/WELL1/LOGS";
const std::vector<std::pair<std::string, std::string>> kPetrophysics = {
    {"VSH,V/V,0,shale volume,0", "MIN(MAX((GR-20)/(120-20), 0), 1)"},
    {"PHID,V/V,0,density porosity,0", "(2.65-RHOB)/(2.65-1.0)"},
    {"PHIND,V/V,0,neutron-density porosity,0", "(NPHI+PHID)/2"},
    {"SW,V/V,0,water saturation,1000", "MIN(SQRT(0.05/(ILD*POW(PHID, 2))), 1)"},
    {"GRS,GAPI,0,smoothed gamma ray,0", "FILTGAUS(GR, 9)"}};
const std::vector<std::pair<std::string, std::string>> kZone = {
    {"GRAVG,GAPI,0, ,0", "AVERAGE(GR)"},
    {"PHIMAX,V/V,0, ,0", "MAXIMUM((2.65-RHOB)/(2.65-1.0))"},
    {"ILDMIN,OHMM,0, ,0", "MINIMUM(ILD)"}};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  folder = argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral(".");
  AppHome home;
  for (auto [name, base, swing] : {std::tuple{"GR", 70.0, 45.0}, {"RHOB", 2.4, 0.15},
                                   {"NPHI", 0.22, 0.1}, {"ILD", 12.0, 9.0}, {"PHID", 0.15, 0.08}}) {
    home.PutCurve(kSet + "/" + name + "/1", 4000, 0.5, Log(6001, base, swing, 40.0));
  }
  home.PutCurve("/FIELD/LEASE/WELL2/MAIN/GR/1", 5000, 0.5, Log(2000, 60, 30, 25));
  home.PutCurve(kSet + "/REC/1", 4000, 0.5, Log(2600, 50, 20, 30), true);
  home.WriteJob("PETRO.QXJ", JobText(kPetrophysics));
  home.WriteJob("HELD.QXJ", JobText({{"R2,GAPI,0, ,0", "REC*2"}}));
  home.WriteJob("DIV.QXJ", JobText({{"Z,GAPI,0, ,0", "GR/(GR-GR)"}}));
  home.WriteJob("ZONE.QXJ", JobText(kZone, 1));
  // Waits for the dialogs a picture needs; says which ones came unasked.
  auto dialogsDone = [](ModalScript& script) {
    WaitFor([&] { return script.finished(); });
    for (const QString& dialog : script.unexpected()) std::printf("unexpected: %s\n", qPrintable(dialog));
  };
  auto input = ChooseItem(home.well, kSet);

  {  // Empty, then with a job of five outputs, then the browser over it.
    ModalScript script;
    script.Expect("Select Quillex Job", ModalScript::Cancel());
    ProgramDriver program(home);
    program.Start();
    dialogsDone(script);
    Save(&program.window(), "main-empty");
    script.Expect("Select Quillex Job", ChooseFile(home.Job("PETRO.QXJ")));
    program.Menu(122);
    script.Expect("Input Source", [&](QWidget* dialog) {
      Save(dialog, "browser");
      input(dialog);
    });
    program.Click(115);
    dialogsDone(script);
    program.Control<QLineEdit>(111)->setText("4500");
    program.Control<QLineEdit>(112)->setText("6500");
    program.Control<QListWidget>(104)->setCurrentRow(1);
    Save(&program.window(), "main-five-outputs");
    program.ShutDown();
  }
  {  // During a run held by a recording.
    ModalScript script;
    ProgramDriver program(home);
    // A recording has no bottom yet: the interval goes past its end.
    script.Expect("Input Source", [&](QWidget* dialog) {
      program.Control<QLineEdit>(111)->setText("4000");
      program.Control<QLineEdit>(112)->setText("5600");
      input(dialog);
    });
    script.Expect(kPresentationTitle, ModalScript::Cancel());
    script.Expect("Quillex", ModalScript::Press(QMessageBox::Ok));
    program.Start("-args HELD.QXJ");
    dialogsDone(script);
    Wait(1500);
    Save(&program.window(), "main-running");
    program.ShutDown();
  }
  {  // The math-error dialog.
    ModalScript script;
    script.Expect("Input Source", input);
    script.Expect(kPresentationTitle, ModalScript::Cancel());
    script.Expect("Quillex", ModalScript::Press(QMessageBox::Ok));
    script.Expect("Math error has occurred", [](QWidget* dialog) {
      Save(dialog, "errdlg");
      dialog->findChild<QPushButton*>("2")->click();
    });
    ProgramDriver program(home);
    program.Start("-args DIV.QXJ");
    dialogsDone(script);
    program.ShutDown();
  }
  {  // A report run's report, and a page of the manual.
    ModalScript script;
    script.Expect("Input Source", input);
    ProgramDriver program(home);
    program.Start("-args ZONE.QXJ");
    dialogsDone(script);
    ReportWindow* report = nullptr;
    WaitFor([&] { return (report = program.window().findChild<ReportWindow*>()) != nullptr; });
    if (report != nullptr) Save(report, "report");
    HelpWindow& help = program.window().Help();
    help.ShowSearch();
    help.findChild<QLineEdit*>("HelpKeyword")->setText("filt");
    help.Open("formula-language.html#filters");
    Save(&help, "help");
    program.ShutDown();
  }
  return 0;
}
