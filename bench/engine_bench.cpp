// How fast a processing run derives curves, end to end, against numpy
// evaluating the same formulas on the same data in memory, in the same run:
//
//  - three input curves A, B, C of SAMPLES + 1 samples each (the run covers
//    the interval from the first sample up to the last, so every output gets
//    SAMPLES samples) written into a fresh home's database;
//  - a job of ten outputs, each a formula of a few operators and a function
//    or two, run by quillex-run as a user would: job loaded, inputs read
//    from the database, outputs written and committed;
//  - bench/engine_bench.py evaluating the same ten formula texts, strictly
//    left to right, with numpy on the same floats, and checking its results
//    against the curves the run wrote.
//
// Both rates count ten outputs times SAMPLES samples; each side's best of
// three runs. The target: our rate at least a tenth of numpy's.
//
//   engine_bench [SAMPLES] [--keep]
//
// The home lies beside this program (engine-bench-home) and is removed at
// the end unless --keep is given.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"

using namespace dorvex;

extern char** environ;

namespace {

// A benchmark whose library call failed would time nothing real: it stops.
void Require(bool done, const char* call) {
  if (done) return;
  std::fprintf(stderr, "benchmark: %s failed\n", call);
  std::exit(1);
}

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int32_t kTop = 0;
// 100 index units (1/60 ft): a million samples stay well inside the index
// range.
constexpr int32_t kStep = 100;
constexpr int kRounds = 3;
constexpr double kTarget = 0.1;
constexpr const char* kSet = "/BENCH/LEASE/WELL/LOGS";

// The ten outputs. Each formula is read strictly left to right, as the
// language does; the numpy side reads the very same texts.
struct Output {
  const char* name;
  const char* formula;
};

const Output kOutputs[] = {
    {"O1", "A+B*C"},
    {"O2", "(A-B)/C"},
    {"O3", "SQRT(A*B)"},
    {"O4", "ABS(A-50)*C"},
    {"O5", "AVG(A, B, C)"},
    {"O6", "POW(B, 2)+C"},
    {"O7", "A/B-C*2"},
    {"O8", "MIN(A, B*40, 75)"},
    {"O9", "MAX(A-C, 20)/10"},
    {"O10", "LOG10(A)*B+C"},
};

// Inputs: A 10 to 110, B 0.5 to 2.5, C 1 to 5 (never 0: no math errors), from
// a fixed-seed linear congruential generator.
struct Inputs {
  std::vector<float> a, b, c;
};

Inputs MakeInputs(int64_t count) {
  uint64_t state = 20240611;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  Inputs inputs;
  for (int64_t i = 0; i < count; ++i) {
    inputs.a.push_back(static_cast<float>(10 + 100 * next()));
    inputs.b.push_back(static_cast<float>(0.5 + 2 * next()));
    inputs.c.push_back(static_cast<float>(1 + 4 * next()));
  }
  return inputs;
}

bool WriteInputs(const std::string& home, const Inputs& inputs) {
  DorvexLibrary library;
  if (DorvexInitializeAt(library, home) == 0) return false;
  std::string file = DorvexDatabaseFile(library, "BENCH");
  uint32_t database = 0;
  if (DorvexCreateDatabase(library, file) != 0 ||
      DorvexOpenDatabase(library, file, 0, &database) != 0) {
    return false;
  }
  auto count = static_cast<int32_t>(inputs.a.size());
  int32_t bottom = kTop + (count - 1) * kStep;
  bool good = true;
  for (auto [name, values] : {std::pair{"A", &inputs.a}, {"B", &inputs.b}, {"C", &inputs.c}}) {
    std::string path = std::string(kSet) + "/" + name + "/1";
    CurveInfo info = SampleCurveInfo(std::string("bench input ") + name, 0, false,
                                     DorvexUnitCode(library, "V/V"), kTop, bottom, kStep);
    uint32_t curve = 0;
    good = good && DorvexCreateCurve(library, database, path, sizeof info, &info) == 0 &&
           DorvexOpenCurve(library, database, path, &curve, kDorvexWrite, nullptr) == 0 &&
           DorvexWriteSamples(library, curve, kTop, count, values->data()) == 0;
    if (curve != 0) Require(DorvexCloseCurve(library, curve) == 0, "DorvexCloseCurve");
  }
  DorvexCloseDatabase(library, database);
  return good;
}

bool WriteJob(const std::string& file) {
  std::ofstream out(file, std::ios::binary);
  out << "[Job]\r\nOption=0\r\n";
  int section = 1;
  for (const Output& output : kOutputs) {
    out << "[" << section++ << "]\r\n"
        << "output=" << output.name << ",V/V,0,bench output,0\r\n"
        << "formula=" << output.formula << "\r\n";
  }
  return static_cast<bool>(out);
}

bool WriteFloats(const std::string& file, const float* values, size_t count) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(values), static_cast<std::streamsize>(count * 4));
  return static_cast<bool>(out);
}

// Runs a program to its end with standard output and error going to `log`;
// its exit status, or -1 when it cannot be started.
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
  if (started != 0) return -1;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The data set a run wrote: the one under the well holding curve O1.
std::string FindRunSet(DorvexLibrary& library, uint32_t database) {
  std::vector<DorvexItem> items;
  Require(DorvexListItems(library, database, "/BENCH/LEASE/WELL", &items) == 0, "DorvexListItems");
  std::string found;
  for (const DorvexItem& item : items) {
    if (item.kind == 1 && item.name == "1" && item.path.find("/O1/1") != std::string::npos &&
        item.path.find("/LOGS/") == std::string::npos) {
      found = item.path.substr(0, item.path.size() - std::strlen("/O1/1"));
    }
  }
  return found;
}

// Reads back what the last run wrote, as raw floats for the numpy side to
// compare with. The count of samples written, or -1.
int64_t ExportOutputs(const std::string& home, const std::string& folder) {
  DorvexLibrary library;
  Require(DorvexInitializeAt(library, home) != 0, "DorvexInitializeAt");
  uint32_t database = 0;
  if (DorvexOpenDatabase(library, DorvexDatabaseFile(library, "BENCH"), 0, &database) != 0) {
    return -1;
  }
  std::string set = FindRunSet(library, database);
  int64_t samples = -1;
  for (const Output& output : kOutputs) {
    std::string path = set + "/" + output.name + "/1";
    std::vector<DorvexItem> items;
    uint32_t curve = 0;
    if (set.empty() || DorvexListItems(library, database, path, &items) != 0 ||
        DorvexOpenCurve(library, database, path, &curve, kDorvexRead, nullptr) != 0) {
      return -1;
    }
    int64_t count = items[0].count;
    if (samples >= 0 && count != samples) return -1;
    samples = count;
    std::vector<float> values(static_cast<size_t>(count));
    Require(DorvexReadSamples(library, curve, items[0].top, static_cast<int32_t>(count), values.data()) == 0, "DorvexReadSamples");
    Require(DorvexCloseCurve(library, curve) == 0, "DorvexCloseCurve");
    if (!WriteFloats(folder + "/" + output.name + ".f32", values.data(), values.size())) return -1;
  }
  DorvexCloseDatabase(library, database);
  return samples;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "engine_bench: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t samples = 1'000'000;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--keep") == 0) {
      keep = true;
    } else {
      samples = std::atoll(argv[i]);
    }
  }
  if (samples < 1000 || kTop + samples * int64_t{kStep} >= dorvex::kIndexLimit) {
    std::fprintf(stderr, "engine_bench: SAMPLES must be between 1000 and %lld\n",
                 static_cast<long long>((dorvex::kIndexLimit - kTop) / kStep - 1));
    return 2;
  }
  fs::path self = fs::canonical("/proc/self/exe").parent_path();
  std::string runner = (self.parent_path() / "tools" / "quillex-run").string();
  std::string script = std::string(QUILLEX_SOURCE_DIR) + "/bench/engine_bench.py";
  std::string home = (self / "engine-bench-home").string();
  std::string data = home + "/data";
  if (!fs::exists(runner)) return Fail(runner + " is missing; build it first");
  fs::remove_all(home);
  fs::create_directories(home + "/jobs");
  fs::create_directories(data);

  // Inputs: one sample more than the outputs get.
  Inputs inputs = MakeInputs(samples + 1);
  if (!WriteInputs(home, inputs)) return Fail("cannot write the input curves");
  for (auto [name, values] : {std::pair{"A", &inputs.a}, {"B", &inputs.b}, {"C", &inputs.c}}) {
    if (!WriteFloats(data + "/" + name + ".f32", values->data(), static_cast<size_t>(samples))) {
      return Fail("cannot export the inputs");
    }
  }
  if (!WriteJob(home + "/jobs/bench.qxj")) return Fail("cannot write the job");
  {
    std::ofstream formulas(data + "/formulas.txt", std::ios::binary);
    for (const Output& output : kOutputs) formulas << output.name << "=" << output.formula << "\n";
  }

  std::printf("engine_bench: %d outputs x %lld samples, inputs A, B, C in the database\n",
              static_cast<int>(std::size(kOutputs)), static_cast<long long>(samples));
  for (const Output& output : kOutputs) std::printf("  %-4s %s\n", output.name, output.formula);

  // Our side: quillex-run end to end, best of kRounds. Every round starts
  // from the database as it was before the first (copying it back is not
  // timed), so none pays for the curves of the rounds before it.
  std::string database = home + "/db/BENCH.db";
  std::string pristine = data + "/BENCH.db";
  fs::copy_file(database, pristine);
  std::string log = home + "/run.log";
  // The best of kRounds runs, over the whole input or over its first
  // `interval` feet.
  auto timeRuns = [&](const std::string& interval, double* best) {
    *best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
      fs::remove(database + "-wal");
      fs::remove(database + "-shm");
      fs::copy_file(pristine, database, fs::copy_options::overwrite_existing);
      std::vector<std::string> command = {runner, "--home", home, "bench.qxj", "--input",
                                          std::string("BENCH: ") + kSet};
      if (!interval.empty()) command.insert(command.end(), {"--from", "0", "--to", interval});
      auto start = Clock::now();
      int status = Spawn(command, log);
      double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      if (status != 0) {
        Fail("quillex-run failed (status " + std::to_string(status) + "):\n" + ReadText(log));
        return false;
      }
      *best = std::min(*best, seconds);
    }
    return true;
  };
  // What a run costs whatever its length: the same job over its first 1000
  // samples.
  double fixed = 0;
  if (!timeRuns(std::to_string(1000 * kStep / 6000.0), &fixed)) return 1;
  double ours = 0;
  if (!timeRuns("", &ours)) return 1;
  int64_t written = ExportOutputs(home, data);
  if (written != samples) {
    return Fail("the run wrote " + std::to_string(written) + " samples an output, not " +
                std::to_string(samples));
  }

  // The peer: numpy on the same floats, which also checks our results.
  // Debian's own interpreter, which the packaged numpy belongs to, before
  // whatever python3 comes first on the path.
  std::string python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
  std::string peerLog = home + "/numpy.log";
  int status = Spawn({python, script, data, std::to_string(samples), std::to_string(kRounds)},
                     peerLog);
  std::string peer = ReadText(peerLog);
  std::fputs(peer.c_str(), stdout);
  size_t at = peer.find("numpy seconds ");
  if (status != 0 || at == std::string::npos) {
    return Fail("bench/engine_bench.py failed (status " + std::to_string(status) + ")");
  }
  double theirs = std::atof(peer.c_str() + at + std::strlen("numpy seconds "));

  double total = static_cast<double>(samples) * static_cast<double>(std::size(kOutputs));
  double ratio = theirs / ours;
  std::printf("quillex-run end to end: %.3f s, %.2f M samples/s\n", ours, total / ours * 1e-6);
  std::printf("  of which the same job over 1000 samples an output: %.3f s; the rest %.0f ns a "
              "sample\n",
              fixed, (ours - fixed) / total * 1e9);
  std::printf("numpy in memory:        %.3f s, %.2f M samples/s\n", theirs, total / theirs * 1e-6);
  std::printf("ratio (ours / numpy):   %.3f (target >= %.2f)%s\n", ratio, kTarget,
              ratio >= kTarget ? "" : "  BELOW TARGET");
  if (!keep) fs::remove_all(home);
  return ratio >= kTarget ? 0 : 1;
}
