// Curves: creation, the in-memory sample cache, reading, buffered writing and
// recordings in progress.
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

#include "libs/dorvex/curve_info.h"
#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/items.h"
#include "libs/dorvex/library_state.h"
#include "libs/dorvex/sqlite_util.h"

namespace dorvex {

using namespace internal;
using sql::Statement;
using sql::Transaction;
using Clock = std::chrono::steady_clock;

namespace {


// Buffered samples reach the file at least this often while a curve is
// written, so that a reader in another process can follow.
constexpr auto kCommitInterval = std::chrono::milliseconds(500);
// A reader past the end of a recording looks for new samples at most this
// often, so that a held run polling every few milliseconds costs few queries.
constexpr auto kRefreshInterval = std::chrono::milliseconds(10);
// A curve's cache may not grow beyond this: a write far past the end is a
// mistake, not a reason to exhaust memory.
constexpr int64_t kMaxCurveBytes = int64_t{1} << 31;
// A curve being written commits at least every this many chunks' worth of
// samples, and then keeps only the chunk it is filling. A long curve so costs
// a window of memory, used again and again, rather than its whole length:
// fresh memory is slow to come by, and the file has the samples anyway.
constexpr int64_t kWindowElements = 64 * kChunkElements;

// The description a caller handed over, as a record (it may not be aligned).
CurveInfo Described(const void* bytes) {
  CurveInfo info;
  std::memcpy(&info, bytes, sizeof info);
  return info;
}

uint32_t AddCurve(DorvexLibrary& library, std::unique_ptr<OpenCurve> curve) {
  library.state->curves.push_back(std::move(curve));
  return static_cast<uint32_t>(library.state->curves.size());
}

// Fills the cache with the chunks from element `from` on, up to the count.
bool LoadChunks(sqlite3* db, OpenCurve& curve, int64_t from) {
  size_t size = static_cast<size_t>(curve.elementSize);
  curve.data->resize(static_cast<size_t>(curve.count) * size);
  Statement read(db, "SELECT chunk, data FROM chunks WHERE item=?1 AND chunk>=?2 ORDER BY chunk");
  read.Bind(1, curve.item).Bind(2, from / kChunkElements);
  int result;
  while ((result = read.Step()) == SQLITE_ROW) {
    int64_t first = read.Integer(0) * kChunkElements;
    auto [bytes, length] = read.BlobBytes(1);
    int64_t elements = std::min<int64_t>(static_cast<int64_t>(length / size), curve.count - first);
    if (first < 0 || elements <= 0 || bytes == nullptr) continue;
    std::memcpy(curve.data->data() + static_cast<size_t>(first) * size, bytes,
                static_cast<size_t>(elements) * size);
  }
  return result == SQLITE_DONE;
}

// Looks again at a curve that another process is recording.
void Refresh(DorvexLibrary& library, OpenCurve& curve) {
  auto now = Clock::now();
  if (now - curve.lastRefresh < kRefreshInterval) return;
  curve.lastRefresh = now;
  sqlite3* db = FindDatabase(library, curve.database)->db;
  Statement state(db, "SELECT count, open_end FROM items WHERE id=?1");
  state.Bind(1, curve.item);
  if (state.Step() != SQLITE_ROW) return;
  int64_t oldCount = curve.count;
  int64_t newCount = state.Integer(0);
  curve.openEnd = state.Integer(1) != 0;
  if (newCount <= oldCount) return;
  curve.count = newCount;
  // The chunk holding the old end may have grown too: load from its start.
  if (!LoadChunks(db, curve, oldCount - oldCount % kChunkElements)) curve.count = oldCount;
}

// Lets the committed chunks before the one being filled go.
void LetCommittedGo(OpenCurve& curve) {
  int64_t keepFrom = curve.count / kChunkElements * kChunkElements;
  if (curve.mode != kDorvexWrite || keepFrom <= curve.base) return;
  auto& bytes = *curve.data;
  bytes.erase(bytes.begin(), bytes.begin() + (keepFrom - curve.base) * curve.elementSize);
  curve.base = keepFrom;
}

// Loads back what LetCommittedGo let go, so that the cache holds every
// element again. False (the cache as it was) when the file cannot be read.
bool LoadBack(DorvexLibrary& library, OpenCurve& curve) {
  if (curve.base == 0) return true;
  std::vector<uint8_t> window;
  window.swap(*curve.data);
  int64_t count = curve.count;
  curve.count = curve.base;
  bool loaded = LoadChunks(FindDatabase(library, curve.database)->db, curve, 0);
  curve.count = count;
  if (!loaded) {
    curve.data->swap(window);
    return false;
  }
  curve.data->insert(curve.data->end(), window.begin(), window.end());
  curve.base = 0;
  return true;
}

void CopyElement(const OpenCurve& curve, int64_t element, uint8_t* out) {
  size_t size = static_cast<size_t>(curve.elementSize);
  std::memcpy(out, curve.data->data() + static_cast<size_t>(element) * size, size);
}

float FloatAt(const OpenCurve& curve, int64_t element) {
  float value;
  std::memcpy(&value, curve.data->data() + static_cast<size_t>(element) * 4, 4);
  return value;
}

// Every case but a sample inside the recorded range.
int ReadOutside(DorvexLibrary& library, OpenCurve& curve, int64_t at, uint8_t* out) {
  if (curve.openEnd) Refresh(library, curve);
  if (curve.count == 0) return curve.openEnd ? kDorvexNotYetAvailable : kDorvexFailed;
  if (curve.step == 0 || at <= curve.top) {
    CopyElement(curve, 0, out);
    return 0;
  }
  int64_t distance = at - curve.top;
  int64_t element = distance / curve.step;
  if (element + 1 < curve.count || (element + 1 == curve.count && distance % curve.step == 0)) {
    return -1;  // inside after the refresh: the caller reads it
  }
  if (curve.openEnd) return kDorvexNotYetAvailable;
  CopyElement(curve, curve.count - 1, out);
  return 0;
}

// One element at an index: on the grid that sample, between two samples of a
// float curve the straight line between them.
int ReadOne(DorvexLibrary& library, OpenCurve& curve, int64_t at, uint8_t* out) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (curve.step > 0 && at >= curve.top) {
      int64_t distance = at - curve.top;
      int64_t element = distance / curve.step;
      int64_t rest = distance % curve.step;
      if (rest == 0 && element < curve.count) {
        CopyElement(curve, element, out);
        return 0;
      }
      if (element + 1 < curve.count) {
        if (curve.elementSize != 4) {
          CopyElement(curve, element, out);
          return 0;
        }
        double fraction = static_cast<double>(rest) / curve.step;
        double low = FloatAt(curve, element);
        double high = FloatAt(curve, element + 1);
        float value = static_cast<float>(low + (high - low) * fraction);
        std::memcpy(out, &value, 4);
        return 0;
      }
    }
    int result = ReadOutside(library, curve, at, out);
    if (result >= 0) return result;
  }
  return kDorvexFailed;
}

void MarkDirty(OpenCurve& curve, int64_t from, int64_t to) {
  curve.dirtyFrom = curve.dirtyFrom < 0 ? from : std::min(curve.dirtyFrom, from);
  curve.dirtyTo = std::max(curve.dirtyTo, to);
}

// Makes room for elements up to `end`; gaps read as missing values.
bool Grow(OpenCurve& curve, int64_t end) {
  if (end <= curve.count) return true;
  if (end * curve.elementSize > kMaxCurveBytes) return false;
  size_t size = static_cast<size_t>(curve.elementSize);
  size_t oldBytes = curve.data->size();
  curve.data->resize(static_cast<size_t>(end) * size, 0);
  if (curve.elementSize == 4) {
    const float missing = std::numeric_limits<float>::quiet_NaN();
    for (size_t at = oldBytes; at < curve.data->size(); at += 4) {
      std::memcpy(curve.data->data() + at, &missing, 4);
    }
  }
  MarkDirty(curve, curve.count, end);
  curve.count = end;
  return true;
}

// A curve open for reading, of the same item, whose cache a new reader can
// share: both finished, with the same number of samples recorded.
const OpenCurve* SharableTwin(DorvexLibrary& library, const OpenCurve& wanted) {
  if (wanted.mode != kDorvexRead || wanted.openEnd) return nullptr;
  for (const auto& other : library.state->curves) {
    if (other != nullptr && other->mode == kDorvexRead && !other->openEnd &&
        other->database == wanted.database && other->item == wanted.item &&
        other->count == wanted.count) {
      return other.get();
    }
  }
  return nullptr;
}

// A curve made to be written from top to bottom says how long it will be:
// room for that many samples spares copying as it grows.
void ReserveForWriting(OpenCurve& curve) {
  CurveInfo info = Described(curve.info);
  int32_t top = info.top;
  int32_t bottom = info.bottom;
  if (curve.step <= 0 || bottom <= top) return;
  int64_t elements = (int64_t{bottom} - top) / curve.step + 1;
  int64_t bytes = std::min(elements, kWindowElements + 2 * kChunkElements) * curve.elementSize;
  curve.data->reserve(static_cast<size_t>(bytes));
}

bool CommitDue(OpenCurve& curve) {
  // Reading the clock costs little, but not nothing: look every 64 writes.
  if (++curve.writesSinceClock < 64) return false;
  curve.writesSinceClock = 0;
  return Clock::now() - curve.lastCommit >= kCommitInterval;
}

// The description's bottom follows the samples: the index of the last one
// (the top while there is none), so that a reader of the description, or of
// a recording that has ended, finds the curve as long as it is.
int32_t SampledBottom(const OpenCurve& curve) {
  int64_t last = curve.top + std::max<int64_t>(curve.count - 1, 0) * int64_t{curve.step};
  return static_cast<int32_t>(std::min<int64_t>(last, std::numeric_limits<int32_t>::max()));
}

int32_t DescribedBottom(const OpenCurve& curve) {
  int32_t bottom;
  std::memcpy(&bottom, curve.info + offsetof(CurveInfo, bottom), sizeof bottom);
  return bottom;
}

// The chunks a curve changed and its header and description, in one
// transaction. Returns SQLITE_OK, or the code of the failure as it was before
// the rollback.
int StoreCurve(sqlite3* db, const OpenCurve& curve, const uint8_t* record) {
  Transaction transaction(db);
  if (!transaction.began()) return sqlite3_extended_errcode(db);
  size_t size = static_cast<size_t>(curve.elementSize);
  Statement store(db, "INSERT OR REPLACE INTO chunks(item, chunk, data) VALUES(?1, ?2, ?3)");
  for (int64_t chunk = std::max<int64_t>(curve.dirtyFrom, 0) / kChunkElements;
       curve.dirtyFrom >= 0 && chunk * kChunkElements < curve.dirtyTo; ++chunk) {
    int64_t first = chunk * kChunkElements;
    int64_t elements = std::min(kChunkElements, curve.count - first);
    store.Bind(1, curve.item).Bind(2, chunk);
    // The cache outlives the statement and does not change while it runs.
    store.BindBlobInPlace(3, curve.data->data() + static_cast<size_t>(first - curve.base) * size,
                          static_cast<size_t>(elements) * size);
    if (store.Step() != SQLITE_DONE) return sqlite3_extended_errcode(db);
    store.Reset();
  }
  Statement header(db, "UPDATE items SET count=?1, open_end=?2, record=?3 WHERE id=?4");
  header.Bind(1, curve.count)
      .Bind(2, curve.openEnd ? 1 : 0)
      .BindBlob(3, record, kDorvexCurveInfoSize)
      .Bind(4, curve.item);
  if (!header.Run() || !transaction.Commit()) return sqlite3_extended_errcode(db);
  return SQLITE_OK;
}

}  // namespace

bool internal::CommitCurve(DorvexLibrary& library, OpenCurve& curve) {
  int32_t bottom = SampledBottom(curve);
  bool dirty = curve.dirtyFrom >= 0 || curve.count != curve.committedCount ||
               curve.openEnd != curve.openEndCommitted || bottom != DescribedBottom(curve);
  curve.lastCommit = Clock::now();
  if (!dirty) return true;
  uint8_t record[kDorvexCurveInfoSize];
  std::memcpy(record, curve.info, sizeof record);
  std::memcpy(record + offsetof(CurveInfo, bottom), &bottom, sizeof bottom);
  sqlite3* db = FindDatabase(library, curve.database)->db;
  if (int failure = StoreCurve(db, curve, record); failure != SQLITE_OK) {
    NoteFailure(library, failure);
    return false;
  }
  std::memcpy(curve.info, record, sizeof record);
  curve.dirtyFrom = curve.dirtyTo = -1;
  curve.committedCount = curve.count;
  curve.openEndCommitted = curve.openEnd;
  LetCommittedGo(curve);
  return true;
}

int DorvexCreateCurve(DorvexLibrary& library, uint32_t database, const std::string& path,
                      int32_t infoSize, const void* info) {
  OpenDatabase* open = FindDatabase(library, database);
  std::vector<std::string> components = SplitPath(path);
  if (open == nullptr || infoSize != kDorvexCurveInfoSize || info == nullptr ||
      components.size() != static_cast<size_t>(kLevels)) {
    return kDorvexFailed;
  }
  CurveInfo described = Described(info);
  uint16_t elementSize = described.elementSize;
  Transaction transaction(open->db);
  if (!transaction.began()) return kDorvexFailed;
  int64_t parent = EnsureNodes(open->db, components, components.size() - 1);
  if (parent < 0) return kDorvexFailed;
  int64_t id = InsertItem(open->db, parent, components.back(), kLevels, kCurveItem);
  if (id < 0) return kDorvexFailed;  // a curve of that path exists
  Statement describe(open->db,
                     "UPDATE items SET record=?1, top=?2, step=?3, element_size=?4 WHERE id=?5");
  describe.BindBlob(1, info, kDorvexCurveInfoSize)
      .Bind(2, described.top)
      .Bind(3, described.step)
      .Bind(4, elementSize == 0 ? 4 : elementSize)
      .Bind(5, id);
  if (!describe.Run() || !transaction.Commit()) {
    NoteFailure(library, open->db);
    return kDorvexFailed;
  }
  return 0;
}

int DorvexOpenCurve(DorvexLibrary& library, uint32_t database, const std::string& path,
                    uint32_t* handle, int32_t mode, void* info) {
  *handle = 0;
  OpenDatabase* open = FindDatabase(library, database);
  if (open == nullptr || (mode != kDorvexRead && mode != kDorvexWrite)) return kDorvexFailed;
  // A file we may not write is refused for writing now, not at the first
  // commit, when the samples would already be taken from the caller.
  if (mode == kDorvexWrite && sqlite3_db_readonly(open->db, "main") != 0) return kDorvexFailed;
  int64_t id = FindItem(open->db, SplitPath(path));
  Statement read(open->db,
                 "SELECT record, top, step, element_size, count, open_end FROM items "
                 "WHERE id=?1 AND kind=1");
  read.Bind(1, id);
  if (id <= 0 || read.Step() != SQLITE_ROW) return kDorvexFailed;
  auto curve = std::make_unique<OpenCurve>();
  std::vector<uint8_t> record = read.Blob(0);
  if (record.size() != static_cast<size_t>(kDorvexCurveInfoSize)) return kDorvexFailed;
  std::memcpy(curve->info, record.data(), record.size());
  curve->database = database;
  curve->item = id;
  curve->mode = mode;
  curve->top = static_cast<int32_t>(read.Integer(1));
  curve->step = static_cast<int32_t>(read.Integer(2));
  curve->elementSize = static_cast<int32_t>(read.Integer(3));
  curve->count = read.Integer(4);
  curve->openEnd = read.Integer(5) != 0;
  curve->committedCount = curve->count;
  curve->openEndCommitted = curve->openEnd;
  curve->lastCommit = Clock::now();
  if (curve->elementSize <= 0 || curve->count < 0 || curve->step < 0 ||
      curve->count * curve->elementSize > kMaxCurveBytes) {
    return kDorvexFailed;
  }
  if (const OpenCurve* twin = SharableTwin(library, *curve)) {
    curve->data = twin->data;
  } else if (!LoadChunks(open->db, *curve, 0)) {
    return kDorvexFailed;
  }
  if (mode == kDorvexWrite) ReserveForWriting(*curve);
  if (info != nullptr) std::memcpy(info, curve->info, kDorvexCurveInfoSize);
  *handle = AddCurve(library, std::move(curve));
  return 0;
}

int DorvexCloseCurve(DorvexLibrary& library, uint32_t handle) {
  OpenCurve* curve = FindCurve(library, handle);
  if (curve == nullptr) return kDorvexFailed;
  bool stored = curve->mode != kDorvexWrite || CommitCurve(library, *curve);
  library.state->curves[handle - 1].reset();
  return stored ? 0 : kDorvexNotStored;
}

namespace {

// Every read but the one sample on the grid of a float curve.
__attribute__((noinline)) int ReadSamplesSlowly(DorvexLibrary& library, OpenCurve* curve,
                                                int32_t index, int32_t count, void* buffer) {
  if (curve == nullptr || count < 0 || (count > 0 && buffer == nullptr)) return kDorvexFailed;
  auto* out = static_cast<uint8_t*>(buffer);
  int result = 0;
  for (int32_t k = 0; k < count; ++k) {
    int64_t at = int64_t{index} + int64_t{k} * curve->step;
    int one = ReadOne(library, *curve, at, out + static_cast<size_t>(k) * curve->elementSize);
    if (one != 0 && result != kDorvexNotYetAvailable) result = one;
  }
  return result;
}

}  // namespace

int DorvexReadSamples(DorvexLibrary& library, uint32_t handle, int32_t index, int32_t count,
                      void* buffer) {
  OpenCurve* curve = FindCurve(library, handle);
  if (curve != nullptr && curve->base > 0 && !LoadBack(library, *curve)) return kDorvexFailed;
  // The run's cases first, kept small: samples on the grid of a float curve,
  // inside the recorded range, one or a block of them: one copy. Indexes lie
  // within the reserved values, so the distance from the top fits 32 bits
  // unsigned and one 32-bit division finds the element.
  if (curve != nullptr && count >= 1 && curve->elementSize == 4 && curve->step > 0 &&
      index >= curve->top && buffer != nullptr) {
    uint32_t distance = static_cast<uint32_t>(int64_t{index} - curve->top);
    uint32_t element = distance / static_cast<uint32_t>(curve->step);
    if (element * static_cast<uint32_t>(curve->step) == distance &&
        int64_t{element} + count <= curve->count) {
      std::memcpy(buffer, curve->data->data() + size_t{element} * 4, size_t(count) * 4);
      return 0;
    }
  }
  return ReadSamplesSlowly(library, curve, index, count, buffer);
}

int DorvexWriteSamples(DorvexLibrary& library, uint32_t handle, int32_t index, int32_t count,
                       const void* buffer) {
  OpenCurve* curve = FindCurve(library, handle);
  if (curve == nullptr || curve->mode != kDorvexWrite || count < 0 ||
      (count > 0 && buffer == nullptr)) {
    return kDorvexFailed;
  }
  if (count == 0) return 0;
  int64_t element = 0;
  if (curve->step > 0) {
    int64_t distance = int64_t{index} - curve->top;
    if (distance < 0 || distance % curve->step != 0) return kDorvexFailed;
    element = distance / curve->step;
  }
  size_t size = static_cast<size_t>(curve->elementSize);
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  if (element == curve->count && (element + count) * curve->elementSize <= kMaxCurveBytes) {
    // A run writes each curve from its top down: samples go on the end.
    if (count == 1 && size == 4) {
      // One float, the run's case: four bytes on the end, without a copy call.
      for (int b = 0; b < 4; ++b) curve->data->push_back(bytes[b]);
    } else {
      curve->data->insert(curve->data->end(), bytes, bytes + static_cast<size_t>(count) * size);
    }
    curve->count += count;
  } else {
    if (!LoadBack(library, *curve) || !Grow(*curve, element + count)) return kDorvexFailed;
    std::memcpy(curve->data->data() + static_cast<size_t>(element) * size, bytes,
                static_cast<size_t>(count) * size);
  }
  MarkDirty(*curve, element, element + count);
  bool windowFull = curve->dirtyTo - curve->dirtyFrom >= kWindowElements;
  if ((windowFull || CommitDue(*curve)) && !CommitCurve(library, *curve)) return kDorvexNotStored;
  return 0;
}

int32_t DorvexQueryState(DorvexLibrary& library, uint32_t handle, int32_t from, int32_t to,
                         int32_t, int32_t) {
  OpenCurve* curve = FindCurve(library, handle);
  if (curve == nullptr) return 0;
  if (curve->openEnd) Refresh(library, *curve);
  if (!curve->openEnd) return 0;
  int64_t last = curve->count == 0 ? int64_t{curve->top} - 1
                                   : curve->top + (curve->count - 1) * int64_t{curve->step};
  for (int32_t at : {from, to}) {
    if (at == kIndexLimit || (at == kIndexUnset && curve->count == 0)) return kDorvexNotYetAvailable;
    if (at != kIndexUnset && at > last) return kDorvexNotYetAvailable;
  }
  return 0;
}

int DorvexSetRecording(DorvexLibrary& library, uint32_t handle, bool recording) {
  OpenCurve* curve = FindCurve(library, handle);
  if (curve == nullptr || curve->mode != kDorvexWrite) return kDorvexFailed;
  curve->openEnd = recording;
  return CommitCurve(library, *curve) ? 0 : kDorvexNotStored;
}

int DorvexFlush(DorvexLibrary& library, uint32_t handle) {
  OpenCurve* curve = FindCurve(library, handle);
  if (curve == nullptr) return kDorvexFailed;
  if (curve->mode != kDorvexWrite) return 0;
  return CommitCurve(library, *curve) ? 0 : kDorvexNotStored;
}

}  // namespace dorvex
