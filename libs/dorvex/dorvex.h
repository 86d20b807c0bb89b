// Dorvex: the log database library, on SQLite.
//
// A database is one SQLite file "<name>.db" in the database folder. Its items
// form a six-level hierarchy (three location levels, data set, curve, pass),
// named by slash-separated paths whose components are matched without regard
// to case. A curve item keeps its 244-byte description (CurveInfo) verbatim,
// and its samples in chunks of a few thousand elements, little-endian.
//
// All state of the library (the home folder, open databases, open curves,
// unit conversions) lives in one DorvexLibrary object; handles are opaque
// 32-bit numbers, 0 meaning none. Operations return 0 for success unless
// said otherwise.
//
// An open curve is cached in memory, so reading a sample costs no query.
// Writes are buffered and committed at least every half second and at close,
// so another process (the plotting program) can follow a run, and a killed
// run leaves a consistent database with everything committed so far.
//
// Reading at any index: an index on the sample grid returns that sample;
// between two samples, linear interpolation (float curves); outside the
// recorded range of a finished curve, the nearest end sample; past the
// recorded end of a curve still being recorded (its end is open), 32.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "libs/dorvex/index_limits.h"
#include "libs/dorvex/units.h"

namespace dorvex {

// Results beyond 0 (success).
constexpr int kDorvexNotYetAvailable = 32;  // past the end of a curve still being recorded
constexpr int kDorvexFailed = 1;            // the operation could not be done
// Samples were taken, but the file refused to keep them (a full disk, an I/O
// error): what was committed before stays, these are not in the file.
// DorvexLastError says why.
constexpr int kDorvexNotStored = 2;

// Sizes of the records exchanged with the library.
constexpr int32_t kDorvexCurveInfoSize = 244;
constexpr int32_t kDorvexNodeSize = 180;

// Open modes of DorvexOpenCurve.
constexpr int32_t kDorvexRead = 0;   // inputs
constexpr int32_t kDorvexWrite = 1;  // outputs and the settings item

// Settings of DorvexGetSetting.
namespace setting {
constexpr int32_t kRunEnd = 1;             // asked at the end of a plotted run; 0
constexpr int32_t kMetricDepth = 3;        // 1 when depths are shown in metres
constexpr int32_t kUnitSystem = 4;         // 0 as stored, 1 metric, 2 imperial
constexpr int32_t kDatabaseFolder = 13;    // text, ends in "/"
constexpr int32_t kSettingsFolder = 16;    // text, ends in "/"
constexpr int32_t kPresentationFolder = 18;  // text, ends in "/"
}  // namespace setting

struct DorvexSetting {
  int32_t number = 0;
  std::string text;
};

// The library's state. Every context has its own; nothing is shared between
// two of them but the files.
class DorvexLibrary {
 public:
  DorvexLibrary();
  ~DorvexLibrary();
  DorvexLibrary(const DorvexLibrary&) = delete;
  DorvexLibrary& operator=(const DorvexLibrary&) = delete;

  // Numbers of open databases and curves: tests count them to show that a
  // failure leaves nothing open behind.
  size_t OpenDatabaseCount() const;
  size_t OpenCurveCount() const;

  struct State;
  std::unique_ptr<State> state;
};

// Starts the library: finds the home folder ($CORVANE_HOME, default
// $XDG_DATA_HOME/corvane, then ~/.local/share/corvane), creates its folders
// and reads the settings file. Returns non-zero when the library is ready; 0
// means the program cannot go on.
[[nodiscard]] int DorvexInitialize(DorvexLibrary& library, int32_t flags);

// The same with a home folder given (the tools' --home, tests).
[[nodiscard]] int DorvexInitializeAt(DorvexLibrary& library, const std::string& home);

DorvexSetting DorvexGetSetting(DorvexLibrary& library, int32_t index);

// Opens an existing database file; never creates one. Returns 0 and the
// handle, or non-zero when the file is missing, unreadable, not a database or
// of a foreign schema.
[[nodiscard]] int DorvexOpenDatabase(DorvexLibrary& library, const std::string& file, int32_t flags,
                       uint32_t* database);
// Closes a database and every curve still open on it.
void DorvexCloseDatabase(DorvexLibrary& library, uint32_t database);

// Creates a curve item with its description (size must be 244). The data set
// and location nodes above it are created as needed. Non-zero when a curve of
// that path exists or the path does not name a curve (six components).
[[nodiscard]] int DorvexCreateCurve(DorvexLibrary& library, uint32_t database, const std::string& path,
                      int32_t infoSize, const void* info);

// Opens a curve; fills the 244-byte info. A pass "*" means the highest pass
// present. Mode kDorvexRead for reading, kDorvexWrite for reading and writing.
[[nodiscard]] int DorvexOpenCurve(DorvexLibrary& library, uint32_t database, const std::string& path,
                    uint32_t* curve, int32_t mode, void* info);
// Commits what is buffered and closes the curve. The handle is gone either
// way; kDorvexNotStored when the last samples could not be committed.
[[nodiscard]] int DorvexCloseCurve(DorvexLibrary& library, uint32_t curve);

// Reads count elements at index, index + step, ... into buffer (floats for
// curves, elements of the curve's element size otherwise).
[[nodiscard]] int DorvexReadSamples(DorvexLibrary& library, uint32_t curve, int32_t index, int32_t count,
                      void* buffer);
// Writes count elements from index on; the index must lie on the curve's grid.
// The samples are buffered and committed now and then (see above):
// kDorvexNotStored when such a commit failed.
[[nodiscard]] int DorvexWriteSamples(DorvexLibrary& library, uint32_t curve, int32_t index, int32_t count,
                       const void* buffer);

// State flags of the range [from, to]: kDorvexNotYetAvailable when any of it
// lies where the data is not yet recorded. kIndexUnset asks about an open top,
// kIndexLimit about an open bottom.
int32_t DorvexQueryState(DorvexLibrary& library, uint32_t curve, int32_t from, int32_t to,
                         int32_t, int32_t);

// Creates a node (location, data set, ...) with a 180-byte record; the level
// counts the path's components from 0 (3 is a data set) and must match the
// path. The nodes above it are created as needed. Returns 1 only when it
// created the node.
int DorvexCreateNode(DorvexLibrary& library, uint32_t database, const std::string& path,
                     int32_t size, const void* buffer, int32_t level, int32_t flag);

// Texts: 249 the description of a run's settings item, 250 the message when
// the settings item cannot be written.
std::string DorvexGetText(DorvexLibrary& library, int32_t number);

// Units (the table lives in units.h).
int32_t DorvexUnitCode(DorvexLibrary& library, const std::string& text);
int32_t DorvexUnitInSystem(DorvexLibrary& library, int32_t system, int32_t code);
uint32_t DorvexMakeConversion(DorvexLibrary& library, int32_t from, int32_t to);
double DorvexConvert(DorvexLibrary& library, double value, uint32_t conversion);
std::string DorvexUnitLabel(DorvexLibrary& library, int32_t code);
// The whole unit table, for the unit list.
const UnitTable& DorvexUnits(DorvexLibrary& library);

// Keeps a whole file (title and bytes) as an item of the database: a new
// item, or a node or stored file of that path (a curve is never replaced).
[[nodiscard]] int DorvexStoreFile(DorvexLibrary& library, uint32_t database, int32_t flags,
                    const std::string& file, const std::string& path, const std::string& title);

// A new, securely created, empty temporary file; its name ("" on failure).
std::string DorvexTempFileName(DorvexLibrary& library);

// Starts a sibling program found beside the running executable ("(tavlo)"
// names tools/tavlo), detached and without a shell, with the database, the
// path and the switches as arguments. Non-zero when it cannot be started.
int DorvexLaunch(DorvexLibrary& library, const std::string& program, const std::string& database,
                 const std::string& path, const std::string& switches);

// Reads an argument block "FILE [name=value ...]" (quotes group blanks) and
// returns the file part.
std::string DorvexParseArgs(const std::string& text);

// ---- Beyond the program's own calls: for the tools, the browser and tests.

// Creates a new, empty database file; refuses (non-zero) a file that exists.
[[nodiscard]] int DorvexCreateDatabase(DorvexLibrary& library, const std::string& file);

// The file of a database named by its base name: the database folder, the
// name and ".db". Names are matched without regard to case, as items are: a
// file of exactly that name wins, else the one file in the folder whose name
// differs only in case ("wells" finds WELLS.db), else the exact name (a
// database still to be made).
std::string DorvexDatabaseFile(DorvexLibrary& library, const std::string& name);

// Sets a number setting (kMetricDepth, kUnitSystem) for this library object
// only, over what the settings file says: a tool's --metric. Non-zero for a
// setting that cannot be set so.
int DorvexSetSetting(DorvexLibrary& library, int32_t index, int32_t number);

// Marks a curve opened for writing as being recorded (its end open: readers
// get 32 past the last sample) or as finished. Committed at once.
[[nodiscard]] int DorvexSetRecording(DorvexLibrary& library, uint32_t curve, bool recording);

// A batch makes many operations on one database one transaction: what is
// done between DorvexBeginBatch and DorvexEndBatch is committed together
// (commit true) or not at all. Curves written in a batch must be closed
// before it ends. Non-zero when the batch cannot begin, or cannot commit (it
// is then rolled back).
[[nodiscard]] int DorvexBeginBatch(DorvexLibrary& library, uint32_t database);
[[nodiscard]] int DorvexEndBatch(DorvexLibrary& library, uint32_t database, bool commit);

// Commits what is buffered for a curve now; kDorvexNotStored when the file
// refused it.
[[nodiscard]] int DorvexFlush(DorvexLibrary& library, uint32_t curve);

struct DorvexItem {
  std::string path;   // full path with leading "/", components as stored
  std::string name;
  int32_t level = 0;  // 1 to 6
  int32_t kind = 0;   // 0 node, 1 curve, 2 stored file
  // Curves only:
  int32_t top = 0;
  int32_t bottom = 0;  // index of the last recorded sample
  int32_t step = 0;
  int32_t units = 0;
  int32_t elementSize = 0;
  int64_t count = 0;   // samples recorded
  bool recording = false;
  bool timeBased = false;  // the description's time word has a non-zero high byte
  std::string title;   // stored files
};

// The items under a path ("" or "/" for the whole database), depth first in
// name order, the item itself included when the path names one. Non-zero when
// the path names nothing.
[[nodiscard]] int DorvexListItems(DorvexLibrary& library, uint32_t database, const std::string& path,
                    std::vector<DorvexItem>* items);

// What DorvexDeleteItem removed.
struct DorvexRemoved {
  int64_t items = 0;
  int64_t curves = 0;
  int64_t samples = 0;
};

// Removes an item and everything below it, samples included, in one
// transaction. Non-zero for a path that names nothing (or the whole
// database) and for an item with a curve open in this library.
[[nodiscard]] int DorvexDeleteItem(DorvexLibrary& library, uint32_t database,
                                   const std::string& path, DorvexRemoved* removed);

// Reads a stored file back.
[[nodiscard]] int DorvexReadFile(DorvexLibrary& library, uint32_t database, const std::string& path,
                   std::string* title, std::string* bytes);

// Checks a database: SQLite's integrity check plus the library's own rules
// (every curve's samples in whole chunks, no orphan rows). Problems found are
// appended as lines; returns 0 when there are none.
[[nodiscard]] int DorvexCheckDatabase(DorvexLibrary& library, const std::string& file,
                        std::vector<std::string>* problems);

// ---- Failures.

// Why the last operation that failed failed, in words that can end a message
// ("disk full", "input/output error"); "" while nothing has failed.
std::string DorvexLastError(DorvexLibrary& library);

// A seam for tests: the Nth write, sync or truncation of the files of the
// databases opened or created from now on fails (see fault_vfs.h).
struct DorvexFaults {
  int64_t failAt = -1;  // 0-based number of the first call that fails; -1 none
  int code = 13;        // SQLite's code for it: 13 a full disk, 10 an I/O error
  bool sticky = true;   // every later call fails too
};
void DorvexInjectFaults(DorvexLibrary& library, const DorvexFaults& faults);
// The writes, syncs and truncations counted since the faults were set.
int64_t DorvexFaultCalls(DorvexLibrary& library);

// ---- Following a database that another process writes (the plotting
// program watches a run). Defined in follow.cpp.

// A number that changes whenever another connection has committed to the
// database since the last call (SQLite's data_version): one cheap question
// that tells a reader whether there is anything new to look at.
[[nodiscard]] int DorvexDataVersion(DorvexLibrary& library, uint32_t database, int64_t* version);

// Takes what other processes committed to a curve open for reading since it
// was opened or last refreshed: the samples recorded since, read from the
// chunk that held the old end on, and whether its end is still open. Sets
// count to the samples recorded now. Non-zero when the curve is not open or
// its rows cannot be read (the curve then stays as it was).
[[nodiscard]] int DorvexRefreshCurve(DorvexLibrary& library, uint32_t curve, int64_t* count);

}  // namespace dorvex
