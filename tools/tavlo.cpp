// tavlo: the plotting program. Log tracks of a data set, in a window that
// follows a run as it writes, or exported to PNG, SVG or PDF.
//
//   tavlo [--home DIR] DBFILE PATH [-go]
//   tavlo [--home DIR] --export OUT.png|.svg|.pdf DBFILE PATH [--from X] [--to Y]
//         [--presentation FILE] [--width PX] [--height PX] [--scale N]
//
// The first form is how a curve run starts it ("-go": the run has just
// begun). Everything but reading the command line lives in plot/.
#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "plot/plot_export.h"
#include "plot/plot_opening.h"
#include "plot/plot_window.h"
#include "tools/tool_startup.h"

using namespace quillex;
using namespace tavlo;

namespace {

const char kUsage[] =
    "usage: tavlo [--home DIR] DBFILE PATH [-go]\n"
    "       tavlo [--home DIR] --export OUT.png|.svg|.pdf DBFILE PATH [--from X] [--to Y]\n"
    "             [--presentation FILE] [--width PX] [--height PX] [--scale N]\n"
    "\n"
    "Plots the curves of the data set PATH (/L1/L2/L3/SET) of the log database DBFILE\n"
    "(a name in the database folder, or a file when it holds '/'): every curve of the\n"
    "set, the highest pass of each, or those the presentation names.\n"
    "\n"
    "  -go                  follow the curves from the top as a run writes them\n"
    "  --export OUT         write the plot to OUT instead of showing a window; the\n"
    "                       extension chooses PNG, SVG or PDF\n"
    "  --from X, --to Y     the depths (or times) plotted, in display units; default\n"
    "                       the run's interval, else every sample\n"
    "  --presentation FILE  a presentation file (.PRS) in the presentation folder, or\n"
    "                       a path; default the run's, else the automatic layout\n"
    "  --width PX           the picture's width (default 1000)\n"
    "  --height PX          the picture's height; sets the scale to fit\n"
    "  --scale N            depth scale 1:N (seconds to the inch for times); default\n"
    "                       the run's, else 1:240 (feet) or 1:200 (metres)\n"
    "  --home DIR           use DIR instead of $CORVANE_HOME\n"
    "\n"
    "Exit status: 0 done, 1 failed (no such database, data set or presentation, or\n"
    "the file could not be written), 2 wrong command line.\n";

struct Options {
  std::string database;
  std::string path;
  bool go = false;
  QString exportFile;
  std::optional<double> from, to, scale;
  QString presentation;
  int width = 1000;
  std::optional<int> height;
};

bool ReadNumber(const std::string& text, double* value) {
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return !text.empty() && end != nullptr && *end == '\0' && std::isfinite(*value);
}

// kExitSuccess, or the status after a usage message.
int ReadOptions(const ToolStart& start, Options& options) {
  std::vector<std::string> positional;
  const auto& words = start.arguments;
  for (size_t at = 0; at < words.size(); ++at) {
    const std::string& word = words[at];
    if (word == "-go" || word == "--go") {
      options.go = true;
      continue;
    }
    if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
      positional.push_back(word);
      continue;
    }
    if (at + 1 >= words.size()) return start.Usage(word + " needs a value");
    const std::string& value = words[++at];
    double number = 0;
    bool isNumber = ReadNumber(value, &number);
    if (word == "--export") {
      options.exportFile = QString::fromStdString(value);
    } else if (word == "--presentation") {
      options.presentation = QString::fromStdString(value);
    } else if (word == "--from" || word == "--to") {
      if (!isNumber) return start.Usage(word + " needs a number, not '" + value + "'");
      (word == "--from" ? options.from : options.to) = number;
    } else if (word == "--width" || word == "--height") {
      if (!isNumber || number < 100 || number > 20000 || number != std::floor(number)) {
        return start.Usage(word + " needs a whole number of pixels from 100 to 20000");
      }
      if (word == "--width") options.width = static_cast<int>(number);
      if (word == "--height") options.height = static_cast<int>(number);
    } else if (word == "--scale") {
      if (!isNumber || number <= 0) return start.Usage("--scale needs a number above 0");
      options.scale = number;
    } else {
      return start.Usage("unknown option " + word);
    }
  }
  if (positional.size() != 2) return start.Usage("give a database and a data set path");
  options.database = positional[0];
  options.path = positional[1];
  if (options.exportFile.isEmpty() && (options.from || options.to || options.height)) {
    return start.Usage("--from, --to and --height go with --export");
  }
  if (!options.exportFile.isEmpty() && FormatOf(options.exportFile) == ExportFormat::kUnknown) {
    return start.Usage("the export file must end in .png, .svg or .pdf");
  }
  return kExitSuccess;
}

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

void Tell(const ToolStart& start, const QStringList& messages) {
  for (const QString& message : messages) {
    std::fprintf(stderr, "%s: %s\n", start.name, message.toUtf8().constData());
  }
}

int Export(const ToolStart& start, const Options& options, OpenedPlot& opened) {
  const PlotModel& model = opened.model;
  if (opened.presentationFailed && !options.presentation.isEmpty()) {
    Tell(start, model.messages);
    return start.Fail("nothing written");
  }
  Tell(start, model.messages);
  double top = 0, bottom = 0;
  bool extent = model.Extent(&top, &bottom);
  if (opened.runInterval) std::tie(top, bottom) = *opened.runInterval;
  if (!extent && !opened.runInterval && !(options.from && options.to)) {
    return start.Fail("no curve of " + options.path + " has samples: nothing to plot");
  }
  double perUnit = model.unit.indexPerUnit;
  ExportRequest request;
  request.file = options.exportFile;
  request.fromIndex = options.from ? *options.from * perUnit : top;
  request.toIndex = options.to ? *options.to * perUnit : bottom;
  if (request.toIndex < request.fromIndex) std::swap(request.fromIndex, request.toIndex);
  request.width = options.width;
  request.height = options.height;
  double scale = 0;
  QString message;
  if (!ExportPlot(model, request, &scale, &message)) return start.Fail(message.toStdString());
  std::printf("%s, %s to %s %s at %s, written to %s\n", model.source.toUtf8().constData(),
              QString::number(request.fromIndex / perUnit, 'f', 1).toUtf8().constData(),
              QString::number(request.toIndex / perUnit, 'f', 1).toUtf8().constData(),
              model.unit.label.c_str(), ScaleText(scale, model.timeBased).toUtf8().constData(),
              options.exportFile.toUtf8().constData());
  return kExitSuccess;
}

// Qt's notes about the environment it found (no runtime folder when run
// from a script) are not the user's business; everything else goes on.
void QuietAboutTheEnvironment(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtWarningMsg && message.startsWith("QStandardPaths:")) return;
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  ToolStart start("tavlo");
  if (int status = start.ReadCommonOptions(argc, argv); status != kExitSuccess) return status;
  if (start.help) {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  Options options;
  if (int status = ReadOptions(start, options); status != kExitSuccess) return status;
  bool exporting = !options.exportFile.isEmpty();
  if (!HasDisplay()) {
    if (!exporting) return start.Fail("no display to show the plot on (--export writes a file)");
    // An export needs fonts and a painter, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qInstallMessageHandler(QuietAboutTheEnvironment);
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication application(qtArgc, qtArgv);
  dorvex::DorvexLibrary library;
  if (!start.StartLibrary(library)) return kExitFailure;
  PlotRequest request{options.database, options.path, options.presentation, options.scale};
  OpenedPlot opened = OpenPlot(library, request);
  if (opened.failure != OpenFailure::kNone) return start.Fail(opened.message.toStdString());
  if (exporting) return Export(start, options, opened);
  PlotWindow window(opened, options.go);
  window.show();
  return application.exec();
}
