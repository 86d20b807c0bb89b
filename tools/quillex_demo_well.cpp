// quillex-demo-well: writes a synthetic but realistic well into a new log
// database, for the demo and for trying jobs by hand.
//
//   quillex-demo-well [--home DIR] [--name DB] [--replace] [--samples N]
//
// The well: seven curves (GR, RHOB, NPHI, DT, ILD, CALI, SP) from 4000 to
// 7000 ft every half foot (or N samples from 4000 ft down, for trying long
// runs), under DB:/FIELD/LEASE/WELL1/LOGS/<MNEMONIC>/1.
// The section is a stack of shale and sand beds; sands are shaly or clean,
// water-bearing or oil-bearing, and their curves follow the usual relations
// (density and sonic from porosity and fluid, deep resistivity from Archie's
// law with Rw 0.05 ohm-m), smoothed over the tools' vertical resolution and
// with a little noise. A few samples are missing (NaN), as in real logs: a
// short stretch of sonic cycle skips, two density spikes edited out and one
// resistivity sample.
//
// Everything comes from one small fixed-seed generator, so every run writes
// the same numbers. An existing database of that name is
// refused unless --replace is given.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"
#include "tools/tool_startup.h"

using namespace dorvex;
using namespace quillex;

namespace {

const char kUsage[] =
    "usage: quillex-demo-well [--home DIR] [--name DB] [--replace] [--samples N]\n"
    "\n"
    "Writes a synthetic well (GR, RHOB, NPHI, DT, ILD, CALI, SP from 4000 to 7000 ft\n"
    "every 0.5 ft, shale and sand beds, a few missing samples) into a new log\n"
    "database DB (default DEMO), under /FIELD/LEASE/WELL1/LOGS. The numbers are the\n"
    "same on every run.\n"
    "\n"
    "  --home DIR   use DIR instead of $CORVANE_HOME\n"
    "  --name DB    the database's name (default DEMO)\n"
    "  --replace    remove an existing database of that name first\n"
    "  --samples N  N samples a curve from 4000 ft down (default 6001, to 7000 ft;\n"
    "               2 to 50000000: a long well for trying the speed of runs)\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 wrong command line.\n";

constexpr int32_t kIndexPerFoot = 6000;
constexpr double kTopFeet = 4000;
constexpr int32_t kStep = 3000;  // half a foot
constexpr int64_t kDefaultSamples = 6001;  // to 7000 ft
// A curve of more samples would take more than a gigabyte of memory to make.
constexpr int64_t kMaxSamples = 50'000'000;

// Half a foot, or for a well too long for it a step that keeps the bottom
// within the deepest index (a high-resolution log).
int32_t StepFor(int64_t samples) {
  int64_t room = (dorvex::kIndexLimit - 1 - static_cast<int64_t>(kTopFeet * kIndexPerFoot)) /
                 std::max<int64_t>(samples - 1, 1);
  return static_cast<int32_t>(std::min<int64_t>(kStep, room));
}
constexpr const char* kSetPath = "/FIELD/LEASE/WELL1/LOGS";

// Rock and fluid constants the curves are built from (and the demo job's
// formulas use).
constexpr double kMatrixDensity = 2.65;
constexpr double kWaterDensity = 1.0;
constexpr double kOilDensity = 0.8;
constexpr double kMatrixSlowness = 55.5;
constexpr double kFluidSlowness = 189;
constexpr double kWaterResistivity = 0.05;
constexpr double kBitSize = 8.5;

// A linear congruential generator (Knuth's MMIX constants), fixed seed.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  // Uniform in [0, 1).
  double Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }
  double Between(double low, double high) { return low + (high - low) * Next(); }
  // Roughly normal, mean 0 and deviation 1 (sum of twelve uniforms).
  double Normal() {
    double sum = 0;
    for (int i = 0; i < 12; ++i) sum += Next();
    return sum - 6;
  }

 private:
  uint64_t state_;
};

enum class Lithology { kShale, kWaterSand, kOilSand };

struct Bed {
  double top = 0;  // feet
  Lithology lithology = Lithology::kShale;
  double shaleVolume = 1;  // of the bed's rock
  double porosity = 0;     // effective, of the sand part
  double waterSaturation = 1;
};

// The beds from the top down: shales 10 to 80 ft thick, sands 6 to 50 ft;
// below 5000 ft one sand in three holds oil.
std::vector<Bed> MakeBeds(Random& random, double bottomFeet) {
  std::vector<Bed> beds;
  double depth = kTopFeet;
  bool shale = true;
  while (depth < bottomFeet) {
    Bed bed;
    bed.top = depth;
    if (shale) {
      bed.lithology = Lithology::kShale;
      bed.shaleVolume = 1;
      depth += random.Between(10, 80);
    } else {
      bed.shaleVolume = random.Next() < 0.4 ? random.Between(0.15, 0.35) : random.Between(0, 0.1);
      // Porosity falls with depth (compaction).
      double trend = 0.30 - 0.08 * (depth - kTopFeet) / (bottomFeet - kTopFeet);
      bed.porosity = std::clamp(trend + 0.03 * random.Normal(), 0.08, 0.34);
      bool oil = depth > 5000 && random.Next() < 0.34;
      bed.lithology = oil ? Lithology::kOilSand : Lithology::kWaterSand;
      bed.waterSaturation = oil ? random.Between(0.18, 0.4) : 1;
      depth += random.Between(6, 50);
    }
    beds.push_back(bed);
    shale = !shale;
  }
  return beds;
}

// The seven curves, sample by sample.
struct Well {
  std::vector<float> gr, rhob, nphi, dt, ild, cali, sp;
};

struct Mnemonic {
  const char* name;
  const char* units;
  const char* description;
  std::vector<float> Well::*samples;
};

const Mnemonic kCurves[] = {
    {"GR", "GAPI", "Gamma ray (synthetic)", &Well::gr},
    {"RHOB", "G/C3", "Bulk density (synthetic)", &Well::rhob},
    {"NPHI", "V/V", "Neutron porosity, sandstone matrix (synthetic)", &Well::nphi},
    {"DT", "US/F", "Compressional slowness (synthetic)", &Well::dt},
    {"ILD", "OHMM", "Deep induction resistivity (synthetic)", &Well::ild},
    {"CALI", "IN", "Caliper (synthetic)", &Well::cali},
    {"SP", "MV", "Spontaneous potential (synthetic)", &Well::sp},
};

// A bed's undisturbed readings: what each tool would read in the middle of a
// thick bed, before smoothing and noise.
struct Readings {
  double gr, rhob, nphi, dt, logIld, cali, sp;
};

Readings BedReadings(const Bed& bed, double depth, double bottomFeet, double shaleGr) {
  double burial = (depth - kTopFeet) / (bottomFeet - kTopFeet);
  // Shale properties change with compaction.
  double shaleDensity = 2.42 + 0.14 * burial;
  double shaleNeutron = 0.38 - 0.06 * burial;
  double shaleSlowness = 112 - 18 * burial;
  double shaleResistivity = 1.6 + 1.4 * burial;
  double cleanGr = 22;
  double vsh = bed.shaleVolume;
  Readings shale{shaleGr, shaleDensity, shaleNeutron, shaleSlowness, std::log(shaleResistivity),
                 10.2, 0};
  if (bed.lithology == Lithology::kShale) return shale;
  double phi = bed.porosity;
  double sw = bed.waterSaturation;
  double fluidDensity = sw * kWaterDensity + (1 - sw) * kOilDensity;
  double sandDensity = kMatrixDensity * (1 - phi) + fluidDensity * phi;
  // Oil holds a little less hydrogen than water; the neutron reads low.
  double sandNeutron = phi * (sw + (1 - sw) * 0.9) - 0.02;
  double sandSlowness = kMatrixSlowness + phi * (kFluidSlowness - kMatrixSlowness);
  // Archie (a 1, m 2, n 2); the shale part conducts in parallel.
  double sandResistivity = kWaterResistivity / (phi * phi * sw * sw);
  double conductivity = (1 - vsh) / sandResistivity + vsh / shaleResistivity;
  // Permeable beds build mud cake; the static SP is reduced by shale.
  return Readings{cleanGr + vsh * (shaleGr - cleanGr),
                  (1 - vsh) * sandDensity + vsh * shaleDensity,
                  (1 - vsh) * sandNeutron + vsh * shaleNeutron,
                  (1 - vsh) * sandSlowness + vsh * shaleSlowness,
                  std::log(1 / conductivity),
                  kBitSize - 0.25 * (1 - vsh),
                  -75 * (1 - vsh)};
}

// A centred moving average with a triangular window of half-width `reach`
// samples: the tool's vertical resolution.
std::vector<double> Smooth(const std::vector<double>& values, int reach) {
  std::vector<double> out(values.size());
  int n = static_cast<int>(values.size());
  for (int i = 0; i < n; ++i) {
    double sum = 0;
    double weights = 0;
    for (int k = -reach; k <= reach; ++k) {
      int j = std::clamp(i + k, 0, n - 1);
      double weight = reach + 1 - std::abs(k);
      sum += weight * values[static_cast<size_t>(j)];
      weights += weight;
    }
    out[static_cast<size_t>(i)] = sum / weights;
  }
  return out;
}

double BottomFeet(int64_t samples) {
  return kTopFeet + static_cast<double>(samples - 1) * StepFor(samples) / kIndexPerFoot;
}

Well MakeWell(int64_t samples) {
  Random random(20240611);
  double bottomFeet = BottomFeet(samples);
  std::vector<Bed> beds = MakeBeds(random, bottomFeet);
  auto count = static_cast<size_t>(samples);
  std::vector<double> gr(count), rhob(count), nphi(count), dt(count), logIld(count), cali(count),
      sp(count);
  size_t bed = 0;
  // Shale gamma ray drifts slowly, as a real shale baseline does.
  double shaleGr = 115;
  for (size_t i = 0; i < count; ++i) {
    double depth = kTopFeet + static_cast<double>(i) * StepFor(samples) / kIndexPerFoot;
    while (bed + 1 < beds.size() && beds[bed + 1].top <= depth) ++bed;
    shaleGr = std::clamp(shaleGr + 0.3 * random.Normal(), 100.0, 130.0);
    Readings r = BedReadings(beds[bed], depth, bottomFeet, shaleGr);
    gr[i] = r.gr;
    rhob[i] = r.rhob;
    nphi[i] = r.nphi;
    dt[i] = r.dt;
    logIld[i] = r.logIld;
    cali[i] = r.cali;
    sp[i] = r.sp;
  }
  // Vertical resolutions: the SP spreads widest, the density and the
  // neutron are the sharpest.
  gr = Smooth(gr, 3);
  rhob = Smooth(rhob, 2);
  nphi = Smooth(nphi, 2);
  dt = Smooth(dt, 3);
  logIld = Smooth(logIld, 4);
  cali = Smooth(cali, 2);
  sp = Smooth(sp, 8);
  Well well;
  double spDrift = 0;
  for (size_t i = 0; i < count; ++i) {
    spDrift += 0.002;  // the shale baseline wanders slowly
    well.gr.push_back(static_cast<float>(std::max(5.0, gr[i] + 3.0 * random.Normal())));
    well.rhob.push_back(static_cast<float>(rhob[i] + 0.012 * random.Normal()));
    well.nphi.push_back(static_cast<float>(nphi[i] + 0.008 * random.Normal()));
    well.dt.push_back(static_cast<float>(dt[i] + 0.8 * random.Normal()));
    well.ild.push_back(static_cast<float>(std::exp(logIld[i] + 0.03 * random.Normal())));
    well.cali.push_back(static_cast<float>(cali[i] + 0.05 * random.Normal() +
                                           (cali[i] > 9.5 ? 0.4 * random.Next() : 0)));
    well.sp.push_back(static_cast<float>(sp[i] + spDrift + 0.5 * random.Normal()));
  }
  // Missing samples: sonic cycle skips over 3 ft near 5231 ft, two density
  // spikes edited out, one resistivity sample lost.
  // (Those of them that lie in a shorter well.)
  auto at = [samples](double depth) {
    return static_cast<size_t>((depth - kTopFeet) * kIndexPerFoot / StepFor(samples));
  };
  auto lose = [count](std::vector<float>& curve, size_t i) {
    if (i < count) curve[i] = std::nanf("");
  };
  for (size_t i = at(5231); i <= at(5234); ++i) lose(well.dt, i);
  lose(well.rhob, at(4712.5));
  lose(well.rhob, at(6188));
  lose(well.ild, at(5904));
  return well;
}

int Fail(const std::string& message) { return ToolFail("quillex-demo-well", message); }

int Usage(const std::string& message) { return ToolUsage("quillex-demo-well", message); }

int Write(DorvexLibrary& library, const std::string& name, bool replace, int64_t samples) {
  std::string file = DorvexDatabaseFile(library, name);
  if (std::filesystem::exists(file)) {
    if (!replace) return Fail(file + " exists; give --replace to write it anew");
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
      std::error_code ignored;
      std::filesystem::remove(file + suffix, ignored);
    }
  }
  if (DorvexCreateDatabase(library, file) != 0) return Fail("cannot create " + file);
  uint32_t database = 0;
  if (DorvexOpenDatabase(library, file, 0, &database) != 0) return Fail("cannot open " + file);
  Well well = MakeWell(samples);
  auto top = static_cast<int32_t>(kTopFeet * kIndexPerFoot);
  auto count = static_cast<int32_t>(samples);
  int32_t step = StepFor(samples);
  int32_t bottom = top + (count - 1) * step;
  if (DorvexBeginBatch(library, database) != 0) {
    return Fail("cannot write to " + file + ": " + DorvexLastError(library));
  }
  for (const Mnemonic& curve : kCurves) {
    std::string path = std::string(kSetPath) + "/" + curve.name + "/1";
    CurveInfo info = SampleCurveInfo(curve.description, 0, false,
                                     DorvexUnitCode(library, curve.units), top, bottom, step);
    uint32_t handle = 0;
    const std::vector<float>& values = well.*curve.samples;
    if (DorvexCreateCurve(library, database, path, sizeof info, &info) != 0 ||
        DorvexOpenCurve(library, database, path, &handle, kDorvexWrite, nullptr) != 0) {
      static_cast<void>(DorvexEndBatch(library, database, false));  // nothing kept
      return Fail("cannot create " + path);
    }
    int result = DorvexWriteSamples(library, handle, top, count, values.data());
    int closed = DorvexCloseCurve(library, handle);
    if (result != 0 || closed != 0) {
      std::string reason = DorvexLastError(library);
      static_cast<void>(DorvexEndBatch(library, database, false));  // nothing kept
      return Fail("cannot write " + path + ": " + reason);
    }
  }
  if (DorvexEndBatch(library, database, true) != 0) {
    return Fail("cannot commit " + file + ": " + DorvexLastError(library));
  }
  DorvexCloseDatabase(library, database);
  std::printf("%s: %zu curves of %d samples, %g to %g ft every %g ft, under %s:%s\n",
              file.c_str(), std::size(kCurves), count, kTopFeet, BottomFeet(samples),
              static_cast<double>(step) / kIndexPerFoot, name.c_str(), kSetPath);
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  ToolStart start("quillex-demo-well");
  if (int status = start.ReadCommonOptions(argc, argv); status != kExitSuccess) return status;
  if (start.help) {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  std::string name = "DEMO";
  bool replace = false;
  int64_t samples = kDefaultSamples;
  const std::vector<std::string>& arguments = start.arguments;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--replace") {
      replace = true;
    } else if (option == "--name" || option == "--samples") {
      if (i + 1 >= arguments.size()) return Usage(option + " needs a value");
      const std::string& value = arguments[++i];
      if (option == "--name") {
        name = value;
        continue;
      }
      char* end = nullptr;
      samples = std::strtoll(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || samples < 2 || samples > kMaxSamples) {
        return Usage("--samples takes a whole number from 2 to 50000000, not '" + value + "'");
      }
    } else {
      return Usage("unknown option '" + option + "'");
    }
  }
  if (name.empty() || name.find('/') != std::string::npos) {
    return Usage("--name takes a database name without a folder");
  }
  DorvexLibrary library;
  if (!start.StartLibrary(library)) return kExitFailure;
  return Write(library, name, replace, samples);
}
