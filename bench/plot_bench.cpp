// How fast tavlo plots long logs, against matplotlib plotting the same
// curves, in the same run:
//
//  - four curves (GR, ILD, RHOB, NPHI) of SAMPLES samples each (default one
//    million, a tenth of a foot apart) written into a fresh home's database;
//  - `tavlo --export` of the data set to a 1000 x 1000 PNG, as a user would
//    run it: the database opened, the curves read, drawn and saved;
//  - bench/plot_bench.py plotting the same floats with matplotlib into a PNG
//    of the same size, as log tracks on one depth axis.
//
// Both are timed as whole processes, best of three. The target: tavlo at
// least five times faster.
//
//   plot_bench [SAMPLES] [--keep]
//
// The home lies beside this program (plot-bench-home) and is removed at the
// end unless --keep is given.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int32_t kStep = 600;  // a tenth of a foot
constexpr int kRounds = 3;
constexpr double kTarget = 5;
constexpr const char* kSet = "/BENCH/LEASE/WELL/LOGS";
constexpr const char* kSize = "1000";

struct Curve {
  const char* name;
  const char* units;
  double low, high;  // of the values
  bool logarithmic;
};

const Curve kCurves[] = {
    {"GR", "GAPI", 15, 140, false},
    {"ILD", "OHMM", 0.5, 500, true},
    {"RHOB", "G/C3", 2.0, 2.7, false},
    {"NPHI", "V/V", 0.02, 0.42, false},
};

// Beds of a few feet each, with noise on top: the values wander across
// their range as real logs do, from a fixed-seed generator.
std::vector<float> MakeValues(const Curve& curve, int64_t count, uint64_t seed) {
  uint64_t state = seed;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  std::vector<float> values(static_cast<size_t>(count));
  double level = next();
  for (int64_t k = 0; k < count; ++k) {
    if (next() < 0.004) level = next();  // a new bed every 25 ft or so
    double fraction = std::clamp(level + 0.05 * (next() - 0.5), 0.0, 1.0);
    values[static_cast<size_t>(k)] = static_cast<float>(
        curve.logarithmic ? curve.low * std::pow(curve.high / curve.low, fraction)
                          : curve.low + (curve.high - curve.low) * fraction);
  }
  return values;
}

bool WriteCurves(const std::string& home, const std::string& data, int64_t count) {
  DorvexLibrary library;
  if (DorvexInitializeAt(library, home) == 0) return false;
  std::string file = DorvexDatabaseFile(library, "BENCH");
  uint32_t database = 0;
  if (DorvexCreateDatabase(library, file) != 0 ||
      DorvexOpenDatabase(library, file, 0, &database) != 0) {
    return false;
  }
  bool good = true;
  uint64_t seed = 20240611;
  for (const Curve& curve : kCurves) {
    std::vector<float> values = MakeValues(curve, count, seed++);
    std::string path = std::string(kSet) + "/" + curve.name + "/1";
    CurveInfo info = SampleCurveInfo(std::string("bench ") + curve.name, 0, false,
                                     DorvexUnitCode(library, curve.units), 0,
                                     static_cast<int32_t>((count - 1) * kStep), kStep);
    uint32_t handle = 0;
    good = good && DorvexCreateCurve(library, database, path, sizeof info, &info) == 0 &&
           DorvexOpenCurve(library, database, path, &handle, kDorvexWrite, nullptr) == 0 &&
           DorvexWriteSamples(library, handle, 0, static_cast<int32_t>(count), values.data()) == 0;
    if (handle != 0) good = DorvexCloseCurve(library, handle) == 0 && good;
    std::ofstream out(data + "/" + curve.name + ".f32", std::ios::binary);
    out.write(reinterpret_cast<const char*>(values.data()),
              static_cast<std::streamsize>(values.size() * sizeof(float)));
    good = good && static_cast<bool>(out);
  }
  DorvexCloseDatabase(library, database);
  return good;
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

int Fail(const std::string& message) {
  std::fprintf(stderr, "plot_bench: %s\n", message.c_str());
  return 1;
}

// The best of kRounds runs of a command, in seconds; negative when it failed.
double Best(const std::vector<std::string>& command, const std::string& log, const std::string& out) {
  double best = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove(out);
    auto start = Clock::now();
    int status = Spawn(command, log);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (status != 0 || !fs::exists(out)) {
      Fail(command[0] + " failed (status " + std::to_string(status) + "):\n" + ReadText(log));
      return -1;
    }
    best = std::min(best, seconds);
  }
  return best;
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
  if (samples < 1000 || samples * int64_t{kStep} >= dorvex::kIndexLimit) {
    std::fprintf(stderr, "plot_bench: SAMPLES must be between 1000 and %lld\n",
                 static_cast<long long>(dorvex::kIndexLimit / kStep - 1));
    return 2;
  }
  fs::path self = fs::canonical("/proc/self/exe").parent_path();
  std::string tavlo = (self.parent_path() / "tools" / "tavlo").string();
  std::string script = std::string(QUILLEX_SOURCE_DIR) + "/bench/plot_bench.py";
  std::string home = (self / "plot-bench-home").string();
  std::string data = home + "/data";
  if (!fs::exists(tavlo)) return Fail(tavlo + " is missing; build it first");
  fs::remove_all(home);
  fs::create_directories(data);
  if (!WriteCurves(home, data, samples)) return Fail("cannot write the curves");
  std::printf("plot_bench: 4 curves (GR, ILD log, RHOB, NPHI reversed) x %lld samples, to a "
              "%sx%s PNG\n",
              static_cast<long long>(samples), kSize, kSize);

  std::string ours = home + "/tavlo.png";
  double tavloSeconds = Best({tavlo, "--home", home, "--export", ours, "BENCH", kSet, "--width",
                              kSize, "--height", kSize},
                             home + "/tavlo.log", ours);
  if (tavloSeconds < 0) return 1;
  // Debian's own interpreter, which the packaged matplotlib belongs to.
  std::string python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
  std::string theirs = home + "/matplotlib.png";
  double peerSeconds = Best({python, script, data, std::to_string(samples), std::to_string(kStep),
                             kSize, kSize, theirs},
                            home + "/matplotlib.log", theirs);
  if (peerSeconds < 0) return 1;

  double ratio = peerSeconds / tavloSeconds;
  std::printf("tavlo --export:      %.3f s\n", tavloSeconds);
  std::printf("matplotlib (Agg):    %.3f s\n", peerSeconds);
  std::printf("ratio (matplotlib / tavlo): %.1f (target >= %.0f)%s\n", ratio, kTarget,
              ratio >= kTarget ? "" : "  BELOW TARGET");
  if (keep) std::printf("pictures kept: %s and %s\n", ours.c_str(), theirs.c_str());
  if (!keep) fs::remove_all(home);
  return ratio >= kTarget ? 0 : 1;
}
