// How the desktop program keeps up with its user during a long run, and
// what driving the run from the event loop costs, measured in the same run:
//
//  - a job of ten outputs over SAMPLES samples each (10 million by default)
//    from three input curves in a fresh home's database;
//  - quillex-run runs it end to end, as the peer;
//  - the window runs the same job under the offscreen platform, started
//    from its command line as a user would (input chosen in the browser, no
//    plot), while a second thread posts a mouse move to the output list
//    every 2 ms. Each move records how long it waited for the event loop.
//
// Each side's best of three runs, taken in turns. It prints the longest
// and the 99th-percentile wait of an event while the run steps, and over
// the whole run (its preparation reads the inputs and its end closes the
// database, each at one go), and the window's throughput against
// quillex-run (window: from the input chosen in the browser to "Done.",
// the two questions after it included; quillex-run: the whole process). Marks: longest wait while the run steps under 50 ms,
// throughput at least 0.8 of the headless run's.
//
//   window_bench [SAMPLES] [--keep]
#include <QApplication>
#include <QMouseEvent>
#include <QPointingDevice>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "app/output_list.h"
#include "app/program.h"
#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"
#include "tests/app/app_fixture.h"

using namespace quillex;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int32_t kStep = 100;  // index units: ten million samples stay inside the index range
constexpr const char* kSet = "/BENCH/LEASE/WELL/LOGS";
constexpr double kLongestMark = 50.0;  // ms
constexpr double kThroughputMark = 0.8;
constexpr int kRounds = 3;
constexpr const char* kFormulas[] = {"A+B*C",         "(A-B)/C",          "SQRT(A*B)",
                                     "ABS(A-50)*C",   "AVG(A, B, C)",     "POW(B, 2)+C",
                                     "A/B-C*2",       "MIN(A, B*40, 75)", "MAX(A-C, 20)/10",
                                     "LOG10(A)*B+C"};

bool WriteInputs(const std::string& home, int64_t count) {
  dorvex::DorvexLibrary library;
  if (dorvex::DorvexInitializeAt(library, home) == 0) return false;
  std::string file = dorvex::DorvexDatabaseFile(library, "BENCH");
  uint32_t database = 0;
  if (dorvex::DorvexCreateDatabase(library, file) != 0 ||
      dorvex::DorvexOpenDatabase(library, file, 0, &database) != 0) {
    return false;
  }
  uint64_t state = 20240611;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  bool good = true;
  for (auto [name, base, span] : {std::tuple{"A", 10.0, 100.0}, {"B", 0.5, 2.0}, {"C", 1.0, 4.0}}) {
    std::vector<float> values(static_cast<size_t>(count));
    for (float& value : values) value = static_cast<float>(base + span * next());
    std::string path = std::string(kSet) + "/" + name + "/1";
    auto last = static_cast<int32_t>((count - 1) * kStep);
    dorvex::CurveInfo info = dorvex::SampleCurveInfo("bench input", 0, false,
                                                     dorvex::DorvexUnitCode(library, "V/V"), 0, last, kStep);
    uint32_t curve = 0;
    good = good && dorvex::DorvexCreateCurve(library, database, path, sizeof info, &info) == 0 &&
           dorvex::DorvexOpenCurve(library, database, path, &curve, dorvex::kDorvexWrite, nullptr) == 0 &&
           dorvex::DorvexWriteSamples(library, curve, 0, static_cast<int32_t>(count), values.data()) == 0;
    if (curve != 0) good = dorvex::DorvexCloseCurve(library, curve) == 0 && good;
  }
  dorvex::DorvexCloseDatabase(library, database);
  return good;
}

bool WriteJob(const std::string& file) {
  std::ofstream out(file, std::ios::binary);
  out << "[0]\r\nformat=\r\nscale=240\r\n[Job]\r\nOption=0\r\n";
  int section = 1;
  for (const char* formula : kFormulas) {
    out << "[" << section << "]\r\noutput=O" << section << ",V/V,0,bench output,0\r\nformula="
        << formula << "\r\n";
    ++section;
  }
  return static_cast<bool>(out);
}

double RunHeadless(const std::string& runner, const std::string& home) {
  std::string command = runner + " --home '" + home + "' bench.qxj --input 'BENCH: " + kSet +
                        "' > '" + home + "/run.log' 2>&1";
  auto start = Clock::now();
  int status = std::system(command.c_str());
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return status == 0 ? seconds : -1.0;
}

// A mouse move that knows when it was posted.
class TimedMove : public QMouseEvent {
 public:
  explicit TimedMove(const QPointingDevice* device)
      : QMouseEvent(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier, device),
        posted(Clock::now()) {}
  Clock::time_point posted;
};

// Notes how long each timed move waited for the event loop: all of them,
// and apart those posted and delivered while the run was stepping (after
// its preparation, before its end closed the curves).
class WaitRecorder : public QObject {
 public:
  explicit WaitRecorder(const Context& context) : context_(context) {}
  std::vector<double> all;       // ms
  std::vector<double> stepping;  // ms
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* timed = dynamic_cast<TimedMove*>(event);
    if (timed == nullptr) return QObject::eventFilter(watched, event);
    Clock::time_point now = Clock::now();
    double wait = std::chrono::duration<double, std::milli>(now - timed->posted).count();
    all.push_back(wait);
    if (context_.run.running && !seenRunning_) {
      seenRunning_ = true;
      runningSince_ = now;
    }
    if (context_.run.running && timed->posted >= runningSince_) stepping.push_back(wait);
    if (!context_.run.running) seenRunning_ = false;
    return true;
  }

 private:
  const Context& context_;
  bool seenRunning_ = false;
  Clock::time_point runningSince_;
};

struct Waits {
  double longest = 0;
  double p99 = 0;
};

Waits Summary(std::vector<double> waits) {
  if (waits.empty()) return {};
  std::sort(waits.begin(), waits.end());
  return {waits.back(), waits[waits.size() * 99 / 100]};
}

// One run of the job in the window, as a user starts it: the job on the
// command line, the input chosen in the browser, no plot. The seconds from
// the input's choice (which rewrites the job file) to "Done.", or -1.
double RunWindow(const std::string& home, std::vector<double>* all, std::vector<double>* stepping) {
  ModalScript script;
  Clock::time_point started;
  script.Expect("Input Source", [&](QWidget* dialog) {
    started = Clock::now();
    ChooseItem(home + "/db/BENCH.db", kSet)(dialog);
  });
  // No plot: a plotting program following the run would share the machine.
  script.Expect("Select Presentation File", ModalScript::Cancel());
  script.Expect("Quillex", ModalScript::Press(QMessageBox::Ok));
  Program program;
  if (!program.StartLibrary(home)) return -1;
  program.OpenMainWindow("-args bench.qxj");
  QWidget* target = program.window()->outputList()->viewport();
  WaitRecorder recorder(program.context());
  // Moves reach a widget only when it follows the mouse.
  target->setMouseTracking(true);
  target->installEventFilter(&recorder);
  const QPointingDevice* mouse = QPointingDevice::primaryPointingDevice();
  std::atomic<bool> posting{true};
  std::thread poster([&] {
    while (posting) {
      QCoreApplication::postEvent(target, new TimedMove(mouse));
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  const Context& context = program.context();
  QEventLoop loop;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (script.finished() && !context.run.running && !context.run.statusText.empty()) loop.quit();
  });
  watch.start(1);
  loop.exec();
  double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  posting = false;
  poster.join();
  QCoreApplication::removePostedEvents(target);
  bool done = context.run.statusText == "Done." && script.unexpected().isEmpty();
  program.ShutDown();
  all->insert(all->end(), recorder.all.begin(), recorder.all.end());
  stepping->insert(stepping->end(), recorder.stepping.begin(), recorder.stepping.end());
  return done ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t samples = 1'000'000;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--keep") keep = true;
    else samples = std::atoll(argv[i]);
  }
  if (samples < 1000 || samples * kStep >= dorvex::kIndexLimit) {
    std::fprintf(stderr, "window_bench: SAMPLES out of range\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  fs::path self = fs::canonical("/proc/self/exe").parent_path();
  std::string runner = (self.parent_path() / "tools" / "quillex-run").string();
  std::string home = (self / "window-bench-home").string();
  fs::remove_all(home);
  fs::create_directories(home + "/jobs");
  if (!WriteInputs(home, samples + 1) || !WriteJob(home + "/jobs/bench.qxj")) {
    std::fprintf(stderr, "window_bench: cannot write the inputs or the job\n");
    return 1;
  }
  double total = static_cast<double>(samples) * static_cast<double>(std::size(kFormulas));
  std::printf("window_bench: %zu outputs x %lld samples (%.0f million)\n", std::size(kFormulas),
              static_cast<long long>(samples), total * 1e-6);

  // Best of three each, taken in turns so that both meet the same machine.
  // Every run starts from the database as it was before the first (putting
  // it back is not timed), so none pays for the curves of the runs before.
  std::string database = home + "/db/BENCH.db";
  std::string pristine = home + "/BENCH.db";
  fs::copy_file(database, pristine);
  auto restore = [&] {
    fs::remove(database + "-wal");
    fs::remove(database + "-shm");
    fs::copy_file(pristine, database, fs::copy_options::overwrite_existing);
  };
  double headless = 1e300;
  double window = 1e300;
  std::vector<double> all, stepping;
  for (int round = 0; round < kRounds; ++round) {
    restore();
    double seconds = RunHeadless(runner, home);
    if (seconds < 0) {
      std::fprintf(stderr, "window_bench: quillex-run failed; see %s/run.log\n", home.c_str());
      return 1;
    }
    headless = std::min(headless, seconds);
    restore();
    seconds = RunWindow(home, &all, &stepping);
    if (seconds < 0) {
      std::fprintf(stderr, "window_bench: the window's run did not end \"Done.\"\n");
      return 1;
    }
    window = std::min(window, seconds);
  }
  Waits whole = Summary(all);
  Waits steps = Summary(stepping);
  double ratio = headless / window;
  bool met = ratio >= kThroughputMark && steps.longest < kLongestMark;
  std::printf("quillex-run:  %.3f s, %.2f M samples/s (best of %d)\n", headless,
              total / headless * 1e-6, kRounds);
  std::printf("window:       %.3f s, %.2f M samples/s (best of %d), input events posted every 2 ms\n",
              window, total / window * 1e-6, kRounds);
  std::printf("event wait while the run steps: longest %.1f ms (mark < %.0f), 99th percentile %.1f ms, "
              "%zu events\n", steps.longest, kLongestMark, steps.p99, stepping.size());
  std::printf("event wait over the whole run:  longest %.1f ms, 99th percentile %.1f ms, %zu events\n"
              "  (with the run's preparation, which reads the inputs, and its end, which closes the\n"
              "  database: both done at once by the Run command and the last step)\n",
              whole.longest, whole.p99, all.size());
  std::printf("throughput:   %.3f of quillex-run (mark >= %.1f)%s\n", ratio, kThroughputMark,
              met ? "" : "  BELOW MARK");
  if (!keep) fs::remove_all(home);
  return met ? 0 : 1;
}
