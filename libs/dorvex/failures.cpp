// Failures in words, and the seam that makes them happen on purpose.
#include <sqlite3.h>

#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/fault_vfs.h"
#include "libs/dorvex/library_state.h"

namespace dorvex {

namespace {

// What a SQLite result means to the user of a log database. The extended
// codes are looked at first where they say more than their family.
std::string Reason(int code) {
  switch (code) {
    case SQLITE_READONLY_DBMOVED:
      return "the database file was moved or removed";
  }
  switch (code & 0xFF) {
    case SQLITE_FULL:
      return "disk full";
    case SQLITE_IOERR:
      return "input/output error";
    case SQLITE_READONLY:
      return "the database cannot be written";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "the database is busy (another program is writing to it)";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return "the database file is damaged";
    case SQLITE_CANTOPEN:
      return "the database file cannot be opened";
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return "permission denied";
    case SQLITE_NOMEM:
      return "out of memory";
  }
  return sqlite3_errstr(code);
}

}  // namespace

void internal::NoteFailure(DorvexLibrary& library, int code) {
  if (code != SQLITE_OK) library.state->lastError = Reason(code);
}

void internal::NoteFailure(DorvexLibrary& library, sqlite3* db) {
  NoteFailure(library, db != nullptr ? sqlite3_extended_errcode(db) : SQLITE_CANTOPEN);
}

std::string DorvexLastError(DorvexLibrary& library) { return library.state->lastError; }

void DorvexInjectFaults(DorvexLibrary& library, const DorvexFaults& faults) {
  // One file system for the library's life: files opened through it must
  // never outlive it.
  if (!library.state->faults) library.state->faults = std::make_unique<internal::FaultVfs>();
  library.state->faults->SetPlan(faults);
}

int64_t DorvexFaultCalls(DorvexLibrary& library) {
  return library.state->faults ? library.state->faults->calls() : 0;
}

}  // namespace dorvex
