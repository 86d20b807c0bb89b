// A seam for tests of what a full disk or a failing device does: a SQLite
// file system (VFS) that passes every call through to the real one and makes
// a chosen write, sync or truncation fail.
//
// The library's connections use it once DorvexInjectFaults has been called
// (databases opened or created afterwards). Every write, sync and truncation
// of those connections' files is counted from 0; the call numbered
// DorvexFaults::failAt fails with its code, and with `sticky` every call
// after it too, as a disk that filled up stays full. A run can so be failed at each of its I/O calls
// in turn, deterministically, which no timing of a real disk allows. The
// background checkpointer keeps a connection of its own on the plain file
// system: its work is not counted, so the count depends on the program's
// calls alone.
//
// Each library registers a file system of its own, under a name made from
// its address, so two libraries in one process (a test's writer and reader)
// never share a count.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "libs/dorvex/dorvex.h"

struct sqlite3_vfs;

namespace dorvex {

namespace internal {

class FaultVfs {
 public:
  FaultVfs();  // registers the file system
  ~FaultVfs();  // unregisters it; no file of it may still be open
  FaultVfs(const FaultVfs&) = delete;
  FaultVfs& operator=(const FaultVfs&) = delete;

  const char* name() const { return name_.c_str(); }
  sqlite3_vfs* real() const { return real_; }
  void SetPlan(const DorvexFaults& plan);
  int64_t calls() const { return calls_; }

  // Counts one write, sync or truncation; non-zero (the code to return)
  // when it is to fail.
  int Count();

 private:
  sqlite3_vfs* real_;  // the system's file system, which does the work
  std::string name_;
  std::unique_ptr<sqlite3_vfs> vfs_;
  DorvexFaults plan_;
  int64_t calls_ = 0;
  bool failing_ = false;
};

}  // namespace internal

}  // namespace dorvex
