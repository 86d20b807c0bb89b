// The desktop program in the test's own process, over real databases in a
// home folder of its own (database WELL), with its modal dialogs answered
// from a script. Curves are made and read back through a second library on
// the same home, as another program would.
#pragma once

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/database_tree_model.h"
#include "app/main_window.h"
#include "app/program.h"
#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"
#include "tests/app/modal_script.h"
#include "tests/support/temp_folder.h"

namespace quillex {

constexpr int32_t kFoot = 6000;
const QString kPresentationTitle = QStringLiteral("Select Presentation File");

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A library call the set-up cannot do without: no test can go on after it
// fails, so the test program stops with the call named.
inline void Must(bool done, const char* call) {
  if (!done) qFatal("test set-up: %s failed", call);
}

class AppHome {
 public:
  AppHome() : home(folder.path()) {
    Must(dorvex::DorvexInitializeAt(data, home) != 0, "DorvexInitializeAt");
    well = dorvex::DorvexDatabaseFile(data, "WELL");
    Must(dorvex::DorvexCreateDatabase(data, well) == 0, "DorvexCreateDatabase");
  }
  ~AppHome() {
    if (recording_ != 0) dorvex::DorvexCloseDatabase(data, recording_);
  }

  // A float curve of WELL from `top` every `step` (feet). A recording curve
  // stays open with its end open, so a run reading past it waits.
  void PutCurve(const std::string& path, double top, double step, const std::vector<float>& values,
                bool recording = false) {
    auto first = static_cast<int32_t>(top * kFoot);
    auto every = static_cast<int32_t>(step * kFoot);
    auto count = static_cast<int32_t>(values.size());
    dorvex::CurveInfo info = dorvex::SampleCurveInfo("test", 0, false, dorvex::DorvexUnitCode(data, "GAPI"),
                                                     first, first + every * (count - 1), every);
    uint32_t database = 0;
    uint32_t curve = 0;
    Must(dorvex::DorvexOpenDatabase(data, well, 0, &database) == 0, "DorvexOpenDatabase");
    Must(dorvex::DorvexCreateCurve(data, database, path, sizeof info, &info) == 0, "DorvexCreateCurve");
    Must(dorvex::DorvexOpenCurve(data, database, path, &curve, dorvex::kDorvexWrite, nullptr) == 0, "DorvexOpenCurve");
    Must(dorvex::DorvexWriteSamples(data, curve, first, count, values.data()) == 0, "DorvexWriteSamples");
    if (recording) {
      Must(dorvex::DorvexSetRecording(data, curve, true) == 0, "DorvexSetRecording");
      Must(dorvex::DorvexFlush(data, curve) == 0, "DorvexFlush");
      recording_ = database;
      return;
    }
    dorvex::DorvexCloseDatabase(data, database);
  }

  // The stored samples of a curve of WELL; empty when there is none.
  std::vector<float> Curve(const std::string& path) {
    dorvex::DorvexLibrary reader;
    Must(dorvex::DorvexInitializeAt(reader, home) != 0, "DorvexInitializeAt");
    uint32_t database = 0;
    uint32_t curve = 0;
    std::vector<dorvex::DorvexItem> items;
    Must(dorvex::DorvexOpenDatabase(reader, well, 0, &database) == 0, "DorvexOpenDatabase");
    if (dorvex::DorvexListItems(reader, database, path, &items) != 0 ||
        dorvex::DorvexOpenCurve(reader, database, path, &curve, dorvex::kDorvexRead, nullptr) != 0) {
      return {};
    }
    std::vector<float> values(static_cast<size_t>(items[0].count));
    if (!values.empty()) {
      Must(dorvex::DorvexReadSamples(reader, curve, items[0].top,
                                     static_cast<int32_t>(values.size()), values.data()) == 0,
           "DorvexReadSamples");
    }
    return values;
  }

  std::string Job(const std::string& name) const { return home + "/jobs/" + name; }
  void WriteJob(const std::string& name, const std::string& text) const {
    std::ofstream(Job(name), std::ios::binary) << text;
  }

  test_support::TempFolder folder{"quillex_app"};
  std::string home;
  std::string well;
  dorvex::DorvexLibrary data;

 private:
  uint32_t recording_ = 0;
};

// A job file of curve runs (or report runs), one section per output given
// as its "output" line and formula.
inline std::string JobText(const std::vector<std::pair<std::string, std::string>>& outputs,
                           int option = 0) {
  std::string text = "[0]\nformat=\nscale=240\n[Job]\nOption=" + std::to_string(option) + "\n";
  for (size_t n = 0; n < outputs.size(); ++n) {
    text += "[" + std::to_string(n + 1) + "]\noutput=" + outputs[n].first + "\nformula=" +
            outputs[n].second + "\n";
  }
  return text;
}

// Browser answer: the item of a database file, then OK.
inline ModalScript::Answer ChooseItem(const std::string& file, const std::string& path) {
  return [file, path](QWidget* dialog) {
    auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("BrowseTree"));
    auto* model = static_cast<DatabaseTreeModel*>(tree->model());
    tree->setCurrentIndex(model->Find(file, path));
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  };
}

// File dialog answer: a file, then OK.
inline ModalScript::Answer ChooseFile(const std::string& path) {
  return [path](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    files->selectFile(QString::fromStdString(path));
    QMetaObject::invokeMethod(files, "accept");
  };
}

// Drives the program: made on a home, started with a command line.
class ProgramDriver {
 public:
  explicit ProgramDriver(const AppHome& home) {
    started_ = program_.StartLibrary(home.home);
  }
  bool started() const { return started_; }

  void Start(const std::string& commandLine = "") { program_.OpenMainWindow(commandLine); }

  MainWindow& window() const { return *program_.window(); }
  Context& context() { return program_.context(); }
  template <typename Widget = QWidget>
  Widget* Control(int id) const {
    return window().findChild<Widget*>(QString::number(id));
  }
  QString Text(int id) const {
    QWidget* widget = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    return QString();
  }
  void Click(int id) const { Control<QPushButton>(id)->click(); }
  void Menu(int id) const { window().MenuItem(id)->trigger(); }
  QStringList ListLines() const {
    QStringList lines;
    auto* list = Control<QListWidget>(104);
    for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
    return lines;
  }
  void ShutDown() { program_.ShutDown(); }
  Program& program() { return program_; }

 private:
  Program program_;
  bool started_ = false;
};

// The folder the built programs are in (beside this test's own folder).
inline QString ToolPath(const QString& tool) {
  const char* bin = std::getenv("QUILLEX_BIN");
  return QString::fromUtf8(bin != nullptr ? bin : "tools") + "/" + tool;
}

}  // namespace quillex
