#include "libs/dorvex/fault_vfs.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>

namespace dorvex {

namespace internal {

namespace {

// A file of the fault file system: the real file follows this header in the
// same block of memory, which SQLite allocates szOsFile bytes for.
struct FaultFile {
  sqlite3_file base;
  FaultVfs* faults;
  sqlite3_file* real;
};

constexpr size_t kHeader = (sizeof(FaultFile) + 7) / 8 * 8;

FaultFile* Of(sqlite3_file* file) { return reinterpret_cast<FaultFile*>(file); }
sqlite3_file* Real(sqlite3_file* file) { return Of(file)->real; }
FaultVfs* Owner(sqlite3_vfs* vfs) { return static_cast<FaultVfs*>(vfs->pAppData); }
sqlite3_vfs* RealVfs(sqlite3_vfs* vfs) { return Owner(vfs)->real(); }

int Close(sqlite3_file* file) { return Real(file)->pMethods->xClose(Real(file)); }
int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
  return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}
int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
  if (int code = Of(file)->faults->Count()) return code;
  return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  if (int code = Of(file)->faults->Count()) return code;
  return Real(file)->pMethods->xTruncate(Real(file), size);
}
int Sync(sqlite3_file* file, int flags) {
  if (int code = Of(file)->faults->Count()) return code;
  return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) {
  return Real(file)->pMethods->xFileSize(Real(file), size);
}
int Lock(sqlite3_file* file, int level) { return Real(file)->pMethods->xLock(Real(file), level); }
int Unlock(sqlite3_file* file, int level) {
  return Real(file)->pMethods->xUnlock(Real(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* out) {
  return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int FileControl(sqlite3_file* file, int op, void* argument) {
  return Real(file)->pMethods->xFileControl(Real(file), op, argument);
}
int SectorSize(sqlite3_file* file) { return Real(file)->pMethods->xSectorSize(Real(file)); }
int DeviceCharacteristics(sqlite3_file* file) {
  return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}
int ShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** memory) {
  return Real(file)->pMethods->xShmMap(Real(file), page, size, extend, memory);
}
int ShmLock(sqlite3_file* file, int offset, int count, int flags) {
  return Real(file)->pMethods->xShmLock(Real(file), offset, count, flags);
}
void ShmBarrier(sqlite3_file* file) { Real(file)->pMethods->xShmBarrier(Real(file)); }
int ShmUnmap(sqlite3_file* file, int remove) {
  return Real(file)->pMethods->xShmUnmap(Real(file), remove);
}

// Memory-mapped reads are not offered: every page then goes through Read,
// and the real file's mapping never outlives a failure here.
const sqlite3_io_methods kMethods = {
    2,        Close,           Read,     Write,      Truncate,  Sync,   FileSize,
    Lock,     Unlock,          CheckReservedLock,    FileControl,       SectorSize,
    DeviceCharacteristics,     ShmMap,   ShmLock,    ShmBarrier,        ShmUnmap,
    nullptr,  nullptr};

int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags) {
  FaultFile* faulty = Of(file);
  faulty->base.pMethods = nullptr;
  faulty->faults = Owner(vfs);
  faulty->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + kHeader);
  sqlite3_vfs* real = RealVfs(vfs);
  int result = real->xOpen(real, name, faulty->real, flags, outFlags);
  if (result == SQLITE_OK) faulty->base.pMethods = &kMethods;
  return result;
}

int Delete(sqlite3_vfs* vfs, const char* name, int sync) {
  return RealVfs(vfs)->xDelete(RealVfs(vfs), name, sync);
}
int Access(sqlite3_vfs* vfs, const char* name, int flags, int* out) {
  return RealVfs(vfs)->xAccess(RealVfs(vfs), name, flags, out);
}
int FullPathname(sqlite3_vfs* vfs, const char* name, int size, char* out) {
  return RealVfs(vfs)->xFullPathname(RealVfs(vfs), name, size, out);
}
void* DlOpen(sqlite3_vfs* vfs, const char* name) {
  return RealVfs(vfs)->xDlOpen(RealVfs(vfs), name);
}
void DlError(sqlite3_vfs* vfs, int size, char* out) {
  RealVfs(vfs)->xDlError(RealVfs(vfs), size, out);
}
void (*DlSym(sqlite3_vfs* vfs, void* handle, const char* symbol))(void) {
  return RealVfs(vfs)->xDlSym(RealVfs(vfs), handle, symbol);
}
void DlClose(sqlite3_vfs* vfs, void* handle) { RealVfs(vfs)->xDlClose(RealVfs(vfs), handle); }
int Randomness(sqlite3_vfs* vfs, int size, char* out) {
  return RealVfs(vfs)->xRandomness(RealVfs(vfs), size, out);
}
int Sleep(sqlite3_vfs* vfs, int microseconds) {
  return RealVfs(vfs)->xSleep(RealVfs(vfs), microseconds);
}
int CurrentTime(sqlite3_vfs* vfs, double* out) {
  return RealVfs(vfs)->xCurrentTime(RealVfs(vfs), out);
}
int GetLastError(sqlite3_vfs* vfs, int size, char* out) {
  return RealVfs(vfs)->xGetLastError(RealVfs(vfs), size, out);
}
int CurrentTimeInt64(sqlite3_vfs* vfs, sqlite3_int64* out) {
  return RealVfs(vfs)->xCurrentTimeInt64(RealVfs(vfs), out);
}

}  // namespace

FaultVfs::FaultVfs() : real_(sqlite3_vfs_find(nullptr)), vfs_(std::make_unique<sqlite3_vfs>()) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(this));
  name_ = std::string("dorvex-faults-") + address;
  sqlite3_vfs& vfs = *vfs_;
  std::memset(&vfs, 0, sizeof vfs);
  vfs.iVersion = 2;
  vfs.szOsFile = static_cast<int>(kHeader) + real_->szOsFile;
  vfs.mxPathname = real_->mxPathname;
  vfs.zName = name_.c_str();
  vfs.pAppData = this;
  vfs.xOpen = Open;
  vfs.xDelete = Delete;
  vfs.xAccess = Access;
  vfs.xFullPathname = FullPathname;
  vfs.xDlOpen = DlOpen;
  vfs.xDlError = DlError;
  vfs.xDlSym = DlSym;
  vfs.xDlClose = DlClose;
  vfs.xRandomness = Randomness;
  vfs.xSleep = Sleep;
  vfs.xCurrentTime = CurrentTime;
  vfs.xGetLastError = GetLastError;
  vfs.xCurrentTimeInt64 = CurrentTimeInt64;
  sqlite3_vfs_register(&vfs, 0);
}

FaultVfs::~FaultVfs() { sqlite3_vfs_unregister(vfs_.get()); }

void FaultVfs::SetPlan(const DorvexFaults& plan) {
  plan_ = plan;
  calls_ = 0;
  failing_ = false;
}

int FaultVfs::Count() {
  int64_t call = calls_++;
  if (failing_ || call == plan_.failAt) {
    failing_ = plan_.sticky;
    return plan_.code;
  }
  return 0;
}

}  // namespace internal

}  // namespace dorvex
