// Databases and items: opening what is not ours, creating, nodes, stored
// files, listings, the integrity check, the log copied into the file while a
// long write goes on, a full disk and a read-only file.
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/dorvex/dorvex_fixture.h"

namespace dorvex {

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void RunSql(const std::string& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST_F(DorvexTest, FoldersAndSettingsComeFromTheHome) {
  EXPECT_EQ(DorvexGetSetting(library_, 13).text, home_ + "/db/");
  EXPECT_EQ(DorvexGetSetting(library_, 16).text, home_ + "/jobs/");
  EXPECT_EQ(DorvexGetSetting(library_, 18).text, home_ + "/plots/");
  EXPECT_EQ(DorvexGetSetting(library_, 3).number, 0);
  // The settings file is read as Windows reads it.
  const struct {
    const char* file;
    int32_t metric, units;
  } cases[] = {
      {"[Other]\r\nMetric=5\r\n[corvane]\r\n metric = 1 \r\nUnits=2\r\n", 1, 2},
      {"[Corvane]\r\nMetric=\"1\"\r\nUnits='2'\r\n", 1, 2},       // quotes stripped
      {"[Corvane]\r\nUnits=2\r\nUnits=1\r\n", 0, 2},               // the first key wins
      {"[Corvane]\r\nMetric=1\r\n[Corvane]\r\nUnits=1\r\n", 1, 0},  // and the first section
      {"[Corvane]\r\n;Metric=1\r\nUnits=1x\r\n", 0, 1},            // a comment; digits first
      {"[Corvane]\rMetric=1\rUnits=-1\r", 1, -1},                 // CR line ends; wrapped
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    WriteFile(home_ + "/jobs/corvane.ini", c.file);
    DorvexLibrary second;
    ASSERT_EQ(DorvexInitializeAt(second, home_), 1);
    EXPECT_EQ(DorvexGetSetting(second, 3).number, c.metric) << c.file;
    EXPECT_EQ(DorvexGetSetting(second, 4).number, c.units) << c.file;
  }
  EXPECT_FALSE(DorvexGetText(library_, 249).empty());
  EXPECT_FALSE(DorvexGetText(library_, 250).empty());
}

TEST_F(DorvexTest, OpeningAndCreatingRefuseWhatIsNotANewOrOurDatabase) {
  std::string folder = home_ + "/db/";
  const std::string garbage(5000, '\x5a');
  WriteFile(folder + "garbage.db", garbage);
  WriteFile(folder + "empty.db", "");
  RunSql(folder + "foreign.db", "CREATE TABLE t(x); PRAGMA user_version=1;");
  std::filesystem::create_directory(folder + "folder.db");
  for (const std::string name : {"missing.db", "garbage.db", "empty.db", "foreign.db", "folder.db",
                                 ""}) {
    uint32_t handle = 99;
    EXPECT_NE(DorvexOpenDatabase(library_, name.empty() ? "" : folder + name, 0, &handle), 0)
        << name;
    EXPECT_EQ(handle, 0u) << name;
  }
  EXPECT_EQ(library_.OpenDatabaseCount(), 1u) << "only the fixture's database";
  std::ifstream in(folder + "garbage.db", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), garbage) << "left untouched";

  EXPECT_NE(DorvexCreateDatabase(library_, file_), 0);
  EXPECT_NE(DorvexCreateDatabase(library_, home_ + "/no/such/folder/x.db"), 0);
  EXPECT_FALSE(std::filesystem::exists(home_ + "/no/such/folder/x.db"));
}

TEST_F(DorvexTest, NodesAreCreatedOnceAndMatchedWithoutCase) {
  char record[kDorvexNodeSize] = "data set";
  EXPECT_EQ(DorvexCreateNode(library_, database_, "/A/B/C/SET1", kDorvexNodeSize, record, 3, 0), 1);
  EXPECT_EQ(DorvexCreateNode(library_, database_, "a/b/c/set1", kDorvexNodeSize, record, 3, 0), 0);
  EXPECT_EQ(DorvexCreateNode(library_, database_, "/A/B/C", kDorvexNodeSize, record, 3, 0), 0)
      << "a level that does not match the path";
  EXPECT_EQ(DorvexCreateNode(library_, database_, "/A/B/C/ELEVENCHARS", 0, nullptr, 3, 0), 0)
      << "components hold at most 10 characters";
  std::vector<DorvexItem> items;
  ASSERT_EQ(DorvexListItems(library_, database_, "/a/B/c", &items), 0);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].path, "/A/B/C");
  EXPECT_EQ(items[1].path, "/A/B/C/SET1");
  EXPECT_EQ(items[1].level, 4);
  EXPECT_NE(DorvexListItems(library_, database_, "/X", &items), 0);
}

TEST_F(DorvexTest, StoredFilesComeBackByteForByte) {
  std::string source = home_ + "/report.txt";
  std::string bytes("line one\r\nline two\0with a NUL\n", 30);
  WriteFile(source, bytes);
  ASSERT_EQ(DorvexStoreFile(library_, database_, 0, source, "/A/B/C/_plots_/_qxrp_/1",
                            "Quillex Report"), 0);
  EXPECT_EQ(DorvexCloseCurve(library_, MakeCurve("/A/B/C/D/GR/1", 0, 100, {1.0F})), 0);
  EXPECT_NE(DorvexStoreFile(library_, database_, 0, source, "/A/B/C/D/GR/1", "x"), 0)
      << "a curve is never replaced";
  EXPECT_NE(DorvexStoreFile(library_, database_, 0, home_ + "/missing", "/A/B/C/_plots_/_qxrp_/2",
                            "x"), 0);
  std::string title;
  std::string back;
  ASSERT_EQ(DorvexReadFile(library_, database_, "/a/b/c/_PLOTS_/_qxrp_/1", &title, &back), 0);
  EXPECT_EQ(title, "Quillex Report");
  EXPECT_EQ(back, bytes);
}

TEST_F(DorvexTest, CheckFindsAHealthyDatabaseAndAMissingChunk) {
  EXPECT_EQ(DorvexCloseCurve(library_, MakeCurve("/A/B/C/D/GR/1", 0, 100, std::vector<float>(5000, 1.5F))), 0);
  std::vector<std::string> problems;
  EXPECT_EQ(DorvexCheckDatabase(library_, file_, &problems), 0) << problems.front();
  DorvexCloseDatabase(library_, database_);
  RunSql(file_, "DELETE FROM chunks WHERE chunk=1");
  EXPECT_NE(DorvexCheckDatabase(library_, file_, &problems), 0);
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems[0], "curve with missing or extra sample chunks: /A/B/C/D/GR/1");
}

// A long write is copied from the log into the file while it goes on, by
// the library's own thread; closing copies the rest and removes the log.
TEST_F(DorvexTest, ALongWriteReachesTheFileWhileItGoesOn) {
  uint32_t curve = MakeCurve("/A/B/C/D/GR/1", 0, 100, {});
  std::vector<float> block(100'000, 1.25F);
  for (int32_t at = 0; at < 3'000'000; at += 100'000) {
    ASSERT_EQ(DorvexWriteSamples(library_, curve, at * 100, 100'000, block.data()), 0);
  }
  auto fileSize = [this] {
    std::error_code error;
    auto size = std::filesystem::file_size(file_, error);
    return error ? 0 : size;
  };
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (fileSize() < 8'000'000 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_GE(fileSize(), 8'000'000U) << "checkpointed before the curve is closed";
  EXPECT_TRUE(ClosedAndSound());
  EXPECT_GE(fileSize(), 12'000'000U);
  EXPECT_FALSE(std::filesystem::exists(file_ + "-wal"));
}

// A full disk: the process may not grow files past a limit, so the commit
// fails. The samples committed before stay, and the file stays sound.
TEST_F(DorvexTest, AFullDiskFailsTheWriteAndKeepsWhatWasCommitted) {
  uint32_t curve = MakeCurve("/A/B/C/D/GR/1", 0, 100, std::vector<float>(1000, 2.0F));
  ASSERT_EQ(DorvexFlush(library_, curve), 0);
  std::vector<float> many(2'000'000, 3.0F);
  auto old = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved;
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit tiny = saved;
  tiny.rlim_cur = 512 * 1024;
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  // So many samples are committed at once, by the write itself.
  int written = DorvexWriteSamples(library_, curve, 100'000, static_cast<int32_t>(many.size()),
                                   many.data());
  int flushed = DorvexFlush(library_, curve);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old);
  EXPECT_NE(written, 0);
  EXPECT_NE(flushed, 0);
  DorvexCloseDatabase(library_, database_);

  DorvexLibrary reader;
  uint32_t database = OpenElsewhere(reader);
  std::vector<std::string> problems;
  EXPECT_EQ(DorvexCheckDatabase(reader, file_, &problems), 0);
  std::vector<DorvexItem> items;
  ASSERT_EQ(DorvexListItems(reader, database, "/A/B/C/D/GR/1", &items), 0);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_TRUE(items[0].count == 1000 || items[0].count == 1000 + 2'000'000)
      << "either the commit happened whole or not at all: " << items[0].count;
}

// Makes a file read-only even for root (who ignores permission bits) by
// marking it immutable; false when this file system cannot.
bool MakeReadOnly(const std::string& file) {
  if (::geteuid() != 0) {
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read);
    return true;
  }
  return std::system(("chattr +i '" + file + "' 2>/dev/null").c_str()) == 0;
}

void MakeWritable(const std::string& file) {
  if (::geteuid() == 0) std::system(("chattr -i '" + file + "' 2>/dev/null").c_str());
  std::filesystem::permissions(file, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
}

TEST_F(DorvexTest, AReadOnlyFileIsReadButNeverWritten) {
  EXPECT_EQ(DorvexCloseCurve(library_, MakeCurve("/A/B/C/D/GR/1", 0, 100, {4.0F, 5.0F})), 0);
  DorvexCloseDatabase(library_, database_);
  if (!MakeReadOnly(file_)) GTEST_SKIP() << "cannot make a file read-only here";
  ASSERT_EQ(DorvexOpenDatabase(library_, file_, 0, &database_), 0);
  uint32_t curve = 0;
  EXPECT_NE(DorvexOpenCurve(library_, database_, "/A/B/C/D/GR/1", &curve, kDorvexWrite, nullptr),
            0);
  EXPECT_EQ(ReadAt(Open("/A/B/C/D/GR/1"), 100), 5.0F);
  auto info = CurveInfoBytes(0, 0, 100);
  EXPECT_NE(DorvexCreateCurve(library_, database_, "/A/B/C/D/SP/1", kDorvexCurveInfoSize,
                              info.data()), 0);
  EXPECT_EQ(DorvexCreateNode(library_, database_, "/A/B/C/E", 0, nullptr, 3, 0), 0);
  DorvexCloseDatabase(library_, database_);
  MakeWritable(file_);
  EXPECT_TRUE(ClosedAndSound());
}

}  // namespace

}  // namespace dorvex
