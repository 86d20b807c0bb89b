// How fast the log database moves samples, against peers measured in the
// same run on the same machine:
//
//  1. 10 million samples written and read back through the library one
//     sample per call, the way a run does it, against the same volume as raw
//     SQLite blobs (rows of 4096 floats, written and read whole).
//  2. Per-sample reads of an open curve on its sample grid, against a plain
//     loop reading the same floats from a std::vector by the same index
//     arithmetic. Reads must cost no query: the target is a ratio of at
//     least 0.25.
//
//   dorvex_bench [SAMPLES]
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"

using namespace dorvex;

namespace {

// A benchmark whose library call failed would time nothing real: it stops.
void Require(bool done, const char* call) {
  if (done) return;
  std::fprintf(stderr, "benchmark: %s failed\n", call);
  std::exit(1);
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

constexpr int32_t kTop = 0;
// A small step, so that 10 million samples fit the index range.
constexpr int32_t kStep = 100;

// Writes and reads n samples through the library; returns seconds, and the
// checksum of what was read so the work cannot be skipped.
double ThroughLibrary(const std::string& home, int64_t n, double* checksum) {
  DorvexLibrary library;
  Require(DorvexInitializeAt(library, home) != 0, "DorvexInitializeAt");
  std::string file = DorvexDatabaseFile(library, "BENCH");
  Require(DorvexCreateDatabase(library, file) == 0, "DorvexCreateDatabase");
  uint32_t database = 0;
  Require(DorvexOpenDatabase(library, file, 0, &database) == 0, "DorvexOpenDatabase");
  CurveInfo info = SampleCurveInfo("bench", 0, false, 62, kTop,
                                   static_cast<int32_t>(kTop + (n - 1) * kStep), kStep);
  Require(DorvexCreateCurve(library, database, "/A/B/C/D/GR/1", sizeof info, &info) == 0, "DorvexCreateCurve");
  auto start = Clock::now();
  uint32_t curve = 0;
  Require(DorvexOpenCurve(library, database, "/A/B/C/D/GR/1", &curve, kDorvexWrite, nullptr) == 0, "DorvexOpenCurve");
  for (int64_t i = 0; i < n; ++i) {
    float value = static_cast<float>(i % 1000);
    Require(DorvexWriteSamples(library, curve, static_cast<int32_t>(kTop + i * kStep), 1, &value) == 0, "DorvexWriteSamples");
  }
  Require(DorvexCloseCurve(library, curve) == 0, "DorvexCloseCurve");
  Require(DorvexOpenCurve(library, database, "/A/B/C/D/GR/1", &curve, kDorvexRead, nullptr) == 0, "DorvexOpenCurve");
  double sum = 0;
  for (int64_t i = 0; i < n; ++i) {
    float value = 0;
    Require(DorvexReadSamples(library, curve, static_cast<int32_t>(kTop + i * kStep), 1, &value) == 0, "DorvexReadSamples");
    sum += value;
  }
  Require(DorvexCloseCurve(library, curve) == 0, "DorvexCloseCurve");
  *checksum = sum;
  return Seconds(start);
}

// The same volume as raw SQLite blobs of 4096 floats: written in one
// transaction, read back row by row.
double ThroughSqlite(const std::string& home, int64_t n, double* checksum) {
  std::string file = home + "/raw.db";
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
               "CREATE TABLE chunks(item INTEGER, chunk INTEGER, data BLOB,"
               " PRIMARY KEY(item, chunk)) WITHOUT ROWID;", nullptr, nullptr, nullptr);
  auto start = Clock::now();
  constexpr int64_t kChunk = 4096;
  std::vector<float> chunk(kChunk);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO chunks VALUES(1, ?1, ?2)", -1, &insert, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (int64_t first = 0; first < n; first += kChunk) {
    int64_t count = std::min(kChunk, n - first);
    for (int64_t i = 0; i < count; ++i) chunk[static_cast<size_t>(i)] = static_cast<float>((first + i) % 1000);
    sqlite3_bind_int64(insert, 1, first / kChunk);
    sqlite3_bind_blob(insert, 2, chunk.data(), static_cast<int>(count * 4), SQLITE_STATIC);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_finalize(insert);
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, "SELECT data FROM chunks WHERE item=1 ORDER BY chunk", -1, &select,
                     nullptr);
  double sum = 0;
  while (sqlite3_step(select) == SQLITE_ROW) {
    const auto* values = static_cast<const float*>(sqlite3_column_blob(select, 0));
    int count = sqlite3_column_bytes(select, 0) / 4;
    for (int i = 0; i < count; ++i) sum += values[i];
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  *checksum = sum;
  return Seconds(start);
}

// Reads every sample of an open curve `passes` times, one call a sample.
double ReadsThroughLibrary(const std::string& home, int64_t n, int passes, double* checksum) {
  DorvexLibrary library;
  Require(DorvexInitializeAt(library, home) != 0, "DorvexInitializeAt");
  uint32_t database = 0;
  Require(DorvexOpenDatabase(library, DorvexDatabaseFile(library, "BENCH"), 0, &database) == 0, "DorvexOpenDatabase");
  uint32_t curve = 0;
  Require(DorvexOpenCurve(library, database, "/A/B/C/D/GR/1", &curve, kDorvexRead, nullptr) == 0, "DorvexOpenCurve");
  double sum = 0;
  auto start = Clock::now();
  for (int pass = 0; pass < passes; ++pass) {
    for (int64_t i = 0; i < n; ++i) {
      float value = 0;
      Require(DorvexReadSamples(library, curve, static_cast<int32_t>(kTop + i * kStep), 1, &value) == 0, "DorvexReadSamples");
      sum += value;
    }
  }
  double seconds = Seconds(start);
  *checksum = sum;
  return seconds;
}

// The peer: the same floats in a vector, found by the same arithmetic.
__attribute__((noinline)) float ReadVector(const std::vector<float>& values, int32_t top,
                                           int32_t step, int32_t index) {
  int64_t slot = (int64_t{index} - top) / step;
  return values[static_cast<size_t>(slot)];
}

double ReadsFromVector(int64_t n, int passes, double* checksum) {
  std::vector<float> values(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) values[static_cast<size_t>(i)] = static_cast<float>(i % 1000);
  double sum = 0;
  auto start = Clock::now();
  for (int pass = 0; pass < passes; ++pass) {
    for (int64_t i = 0; i < n; ++i) {
      sum += ReadVector(values, kTop, kStep, static_cast<int32_t>(kTop + i * kStep));
    }
  }
  double seconds = Seconds(start);
  *checksum = sum;
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t n = argc > 1 ? std::atoll(argv[1]) : 10'000'000;
  if (n < 1 || kTop + (n - 1) * kStep >= dorvex::kIndexLimit) {
    std::fprintf(stderr, "dorvex_bench: SAMPLES must be between 1 and %lld\n",
                 static_cast<long long>((dorvex::kIndexLimit - kTop) / kStep));
    return 2;
  }
  char pattern[] = "/tmp/dorvex_bench_XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return 1;
  std::string home = pattern;

  double libraryChecksum = 0;
  double sqliteChecksum = 0;
  double library = ThroughLibrary(home, n, &libraryChecksum);
  double sqlite = ThroughSqlite(home, n, &sqliteChecksum);
  std::printf("write+read %lld samples: library %.3f s (%.1f M samples/s), raw SQLite blobs %.3f s"
              " (%.1f M samples/s), ratio %.2f%s\n",
              static_cast<long long>(n), library, 2e-6 * n / library, sqlite,
              2e-6 * n / sqlite, sqlite / library,
              libraryChecksum == sqliteChecksum ? "" : "  (CHECKSUMS DIFFER)");

  constexpr int kPasses = 3;
  double fromLibrary = 0;
  double fromVector = 0;
  double readLibrary = ReadsThroughLibrary(home, n, kPasses, &fromLibrary);
  double readVector = ReadsFromVector(n, kPasses, &fromVector);
  double ratio = readVector / readLibrary;
  std::printf("per-sample reads: library %.1f M/s, vector %.1f M/s, ratio %.2f (target >= 0.25)%s\n",
              1e-6 * n * kPasses / readLibrary, 1e-6 * n * kPasses / readVector, ratio,
              fromLibrary == fromVector ? "" : "  (CHECKSUMS DIFFER)");
  std::filesystem::remove_all(home);
  return ratio >= 0.25 ? 0 : 1;
}
