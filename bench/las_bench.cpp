// How fast a LAS file imports, against numpy reading the same data section,
// measured in the same run on the same machine.
//
// The file is the largest in the LAS folder (QUILLEX_LAS_DIR, else
// ../shared/data/las beside the source tree, or the folder given). Ours:
// the file read and its samples placed on the database's grid, and the whole
// import into a fresh database (one batch, through SQLite). The peer:
// numpy.loadtxt on the data section alone, written to a file of its own (a
// wrapped file's depth steps joined a line each), timed inside Python so
// that starting the interpreter does not count. Each is the best of a few
// rounds. Prints both times and their ratio; there is no target.
//
//   las_bench [FOLDER]
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "libs/las/database_import.h"
#include "libs/las/las_lines.h"
#include "libs/las/las_reader.h"
#include "libs/las/las_samples.h"

using namespace dorvex;
using namespace las;

extern char** environ;

namespace {

// A benchmark whose library call failed would time nothing real: it stops.
void Require(bool done, const char* call) {
  if (done) return;
  std::fprintf(stderr, "benchmark: %s failed\n", call);
  std::exit(1);
}

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;

// The peer, run as python3 -c with the data file, its delimiter and the rounds.
const char kNumpy[] =
    "import sys, time, numpy\n"
    "path, delimiter, rounds = sys.argv[1], sys.argv[2] or None, int(sys.argv[3])\n"
    "best = float('inf')\n"
    "for _ in range(rounds):\n"
    "    start = time.perf_counter()\n"
    "    data = numpy.loadtxt(path, delimiter=delimiter, comments='#', ndmin=2)\n"
    "    best = min(best, time.perf_counter() - start)\n"
    "print('numpy seconds', best)\n"
    "print('rows', data.shape[0], 'columns', data.shape[1])\n";

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "las_bench: %s\n", message.c_str());
  return 1;
}

fs::path LargestFile(const fs::path& folder) {
  fs::path largest;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    std::string extension = entry.path().extension().string();
    if ((extension == ".las" || extension == ".LAS") &&
        (largest.empty() || entry.file_size() > fs::file_size(largest))) {
      largest = entry.path();
    }
  }
  return largest;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The data section as numpy.loadtxt takes it: a depth step a line.
std::string DataSection(const std::string& text, const LasFile& file) {
  LasLines lines(text);
  std::string data;
  std::string_view line;
  size_t row = 0;
  while (lines.Next(&line)) {
    if (lines.Number() <= file.dataLine) continue;
    std::string_view start = TrimLasStart(line);
    if (start.empty() || start[0] == '#') continue;
    bool next = row < file.Rows() && lines.Number() >= file.rowLines[row];
    if (next && row++ > 0) data += '\n';
    if (!next) data += ' ';
    data += line;
  }
  return data + '\n';
}

int Spawn(const std::vector<std::string>& arguments, const std::string& log) {
  std::vector<char*> argv;
  for (const std::string& each : arguments) argv.push_back(const_cast<char*>(each.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (started != 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reading and placing only: what numpy's parsing compares with.
double ReadAndPlace(const std::string& text, size_t* values) {
  double best = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    auto start = Clock::now();
    LasFile file;
    LasCurveSet set;
    LasProblem problem;
    bool placed = ReadLas(text, &file, &problem) && PlaceSamples(file, {}, &set, &problem);
    best = std::min(best, Seconds(start));
    *values = placed ? file.values.size() : 0;
  }
  return best;
}

// The whole import, each round into a database of its own.
double Import(const std::string& text, const fs::path& home, std::string* error) {
  double best = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    DorvexLibrary library;
    Require(DorvexInitializeAt(library, home.string()) != 0, "DorvexInitializeAt");
    std::string file = DorvexDatabaseFile(library, "BENCH" + std::to_string(round));
    uint32_t database = 0;
    Require(DorvexCreateDatabase(library, file) == 0, "DorvexCreateDatabase");
    Require(DorvexOpenDatabase(library, file, 0, &database) == 0, "DorvexOpenDatabase");
    LasImportResult result;
    auto start = Clock::now();
    if (ImportLas(library, database, text, "/A/B/C/SET", {}, &result) != 0) {
      *error = std::to_string(result.error.line) + ": " + result.error.message;
    }
    best = std::min(best, Seconds(start));
  }
  return best;
}

// numpy.loadtxt's best time, or a negative number when it could not run.
double Numpy(const std::string& data, const fs::path& home, std::string* report) {
  fs::path section = home / "data.txt";
  std::ofstream(section, std::ios::binary) << data;
  std::string delimiter = data.substr(0, data.find('\n')).find(',') != std::string::npos ? "," : "";
  std::string python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
  std::string log = (home / "numpy.log").string();
  int status =
      Spawn({python, "-c", kNumpy, section.string(), delimiter, std::to_string(kRounds)}, log);
  *report = ReadText(log);
  size_t at = report->find("numpy seconds ");
  if (status != 0 || at == std::string::npos) return -1;
  return std::atof(report->c_str() + at + std::string("numpy seconds ").size());
}

fs::path Folder(int argc, char** argv) {
  if (argc > 1) return argv[1];
  const char* folder = std::getenv("QUILLEX_LAS_DIR");
  return folder != nullptr ? fs::path(folder) : fs::path(QUILLEX_SOURCE_DIR) / "../shared/data/las";
}

struct Timings {
  size_t values = 0;
  double placed = 0;
  double imported = 0;
  double numpy = 0;
  std::string report;  // numpy's own lines
};

// numpy's "rows R columns C" line.
std::string Shape(const std::string& report) {
  size_t at = std::min(report.find("rows"), report.size());
  return report.substr(at, report.find('\n', at) - at);
}

void Print(const fs::path& las, const std::string& text, const LasFile& file, const Timings& t) {
  std::printf("%s: %zu bytes, %zu rows of %zu values\n", las.filename().c_str(), text.size(),
              file.Rows(), file.Width());
  std::printf("read and placed:           %8.2f ms  (%.1f M values/s)\n", t.placed * 1e3,
              static_cast<double>(t.values) / t.placed * 1e-6);
  std::printf("imported into a database:  %8.2f ms\n", t.imported * 1e3);
  std::printf("numpy.loadtxt, data only:  %8.2f ms  (%s)\n", t.numpy * 1e3,
              Shape(t.report).c_str());
  std::printf("ratio numpy / import %.2f, numpy / read and placed %.2f\n", t.numpy / t.imported,
              t.numpy / t.placed);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path las = LargestFile(Folder(argc, argv));
  if (las.empty()) return Fail("no LAS files in " + Folder(argc, argv).string());
  std::string text = ReadText(las);
  LasFile file;
  LasProblem problem;
  if (!ReadLas(text, &file, &problem)) return Fail(las.string() + ": " + problem.message);
  char pattern[] = "/tmp/las_bench_XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return Fail("no temporary folder");
  fs::path home = pattern;
  Timings t;
  std::string error;
  t.placed = ReadAndPlace(text, &t.values);
  t.imported = Import(text, home, &error);
  t.numpy = Numpy(DataSection(text, file), home, &t.report);
  fs::remove_all(home);
  if (!error.empty()) return Fail(las.string() + ":" + error);
  if (t.numpy < 0)
    return Fail("numpy.loadtxt did not run (is python3-numpy installed?):\n" + t.report);
  Print(las, text, file, t);
  return 0;
}
