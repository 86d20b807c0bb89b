// Sift32: the smoothing filters that formulas call through FILTSQUARE and
// FILTGAUS.
//
// A filter is created from a specification text "Square,n" or "Gaussian,n",
// where n is a window of n samples, rounded to the nearest odd whole number
// and at least 1. Square is the mean of the window; Gaussian weighs the window
// with normalised weights of sigma = n/4 samples.
//
// The caller feeds one value per sample with Sift32Apply. The filter is
// centred on the output index: the caller reads the curve ahead of it by
// Sift32ReadAhead index units ((n-1)/2 samples), so that the newest value fed
// lies at the window's leading edge. Until the window is full the result is
// over the values fed so far. Missing values (NaN) take no part in a window;
// a window with none but missing values gives NaN.
//
// Each value is fed with the index of the sample it is for. A value fed again
// for the same index as the one before replaces that one instead of joining
// the window: a run held by an input not yet recorded evaluates the same
// sample again once the data is there, and the filter must count it once.
//
// Any window that memory can hold is accepted. Memory for it is set aside
// when a run starts but filled only as values come, so a wide window over a
// short run costs what the run feeds, not what the window could hold.
//
// Handles are opaque 32-bit numbers, 0 meaning none; handle 0 (and any handle
// the library does not know) passes values through unchanged. The instances
// belong to one Sift32Library object, so every context has its own.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace sift32 {

struct Sift32Instance;

class Sift32Library {
 public:
  Sift32Library();
  ~Sift32Library();
  Sift32Library(const Sift32Library&) = delete;
  Sift32Library& operator=(const Sift32Library&) = delete;

  // Number of live instances; tests use it to show that nothing leaks.
  size_t InstanceCount() const { return instances_.size(); }

 private:
  friend Sift32Instance* Sift32Find(Sift32Library&, uint32_t);
  friend uint32_t Sift32Create(Sift32Library&, const std::string&, const std::string&, int32_t,
                               const void*);
  friend void Sift32Release(Sift32Library&, uint32_t);
  std::map<uint32_t, std::unique_ptr<Sift32Instance>> instances_;
  uint32_t nextHandle_ = 1;
};

// Creates a filter from its specification text. The name is unused and the
// flags must be 0. Returns the new handle, or 0 when the text names no filter
// type ("Square" or "Gaussian", either case) or carries no number.
uint32_t Sift32Create(Sift32Library& library, const std::string& name,
                      const std::string& specification, int32_t flags, const void* instance);

// Releases a filter; 0 and unknown handles are ignored.
void Sift32Release(Sift32Library& library, uint32_t handle);

// Starts a filter afresh for a run with the given index units per displayed
// unit and sample step (index units). Returns non-zero when the filter can run;
// 0 for an unknown handle, a step that is not positive, or a window for which
// memory cannot be had.
int32_t Sift32Prepare(Sift32Library& library, uint32_t handle, int32_t indexFactor, int32_t step);

// Feeds one value for the sample at `index` and replaces it by the filtered
// value; fed again for the same index, the value replaces the one before.
void Sift32Apply(Sift32Library& library, uint32_t handle, double* value, int32_t index);

// Index units to read ahead of the output index (0 before Sift32Prepare). A
// read-ahead beyond 32 bits is given as the largest 32-bit amount: from any
// index a curve can have, both read past every other one.
int32_t Sift32ReadAhead(Sift32Library& library, uint32_t handle);

// Window in samples of a filter (0 for an unknown handle) and the
// specification text it was created from ("" for an unknown handle).
int32_t Sift32Window(Sift32Library& library, uint32_t handle);
std::string Sift32Specification(Sift32Library& library, uint32_t handle);

}  // namespace sift32
