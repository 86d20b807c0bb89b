#include "libs/sift32/sift32.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace sift32 {

struct Sift32Instance {
  std::string specification;
  bool gaussian = false;
  int32_t window = 1;       // samples, odd, at least 1
  int32_t readAhead = 0;    // index units, set by Sift32Prepare
  // The last `window` values fed, as a ring; `filled` of them are valid.
  std::vector<double> ring;
  std::vector<double> weights;  // by distance from the window's trailing edge
  size_t head = 0;
  size_t filled = 0;
};

Sift32Library::Sift32Library() = default;
Sift32Library::~Sift32Library() = default;

Sift32Instance* Sift32Find(Sift32Library& library, uint32_t handle) {
  auto found = library.instances_.find(handle);
  return found == library.instances_.end() ? nullptr : found->second.get();
}

namespace {

// Rounds an interval to the nearest odd whole number of samples, at least 1;
// halfway cases (an even number) go up. Values too large for the limit are
// kept just above it so that Sift32Prepare can refuse them.
int32_t OddWindow(double interval) {
  if (!(interval > 1.0)) return 1;  // also NaN
  if (interval > kSift32MaxWindow) return kSift32MaxWindow + 2;
  double odd = 2.0 * std::floor((interval - 1.0) / 2.0 + 0.5) + 1.0;
  return static_cast<int32_t>(odd);
}

// Parses "Type,number". Returns false when the type is unknown or no number
// follows the comma.
bool ParseSpecification(const std::string& text, bool* gaussian, double* interval) {
  size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  std::string type = text.substr(0, comma);
  if (strcasecmp(type.c_str(), "Square") == 0) {
    *gaussian = false;
  } else if (strcasecmp(type.c_str(), "Gaussian") == 0) {
    *gaussian = true;
  } else {
    return false;
  }
  const char* number = text.c_str() + comma + 1;
  char* end = nullptr;
  *interval = std::strtod(number, &end);
  return end != number;
}

void MakeWeights(Sift32Instance& filter) {
  filter.weights.assign(static_cast<size_t>(filter.window), 1.0);
  if (!filter.gaussian) return;
  double sigma = filter.window / 4.0;
  double centre = (filter.window - 1) / 2.0;
  for (int32_t i = 0; i < filter.window; ++i) {
    double distance = i - centre;
    filter.weights[static_cast<size_t>(i)] = std::exp(-distance * distance / (2.0 * sigma * sigma));
  }
}

}  // namespace

uint32_t Sift32Create(Sift32Library& library, const std::string& /*name*/,
                      const std::string& specification, int32_t flags, const void* /*instance*/) {
  bool gaussian = false;
  double interval = 0.0;
  if (flags != 0 || !ParseSpecification(specification, &gaussian, &interval)) return 0;
  auto filter = std::make_unique<Sift32Instance>();
  filter->specification = specification;
  filter->gaussian = gaussian;
  filter->window = OddWindow(interval);
  uint32_t handle = library.nextHandle_++;
  if (library.nextHandle_ == 0) library.nextHandle_ = 1;
  library.instances_[handle] = std::move(filter);
  return handle;
}

void Sift32Release(Sift32Library& library, uint32_t handle) {
  library.instances_.erase(handle);
}

int32_t Sift32Prepare(Sift32Library& library, uint32_t handle, int32_t /*indexFactor*/,
                      int32_t step) {
  Sift32Instance* filter = Sift32Find(library, handle);
  if (filter == nullptr || step <= 0 || filter->window > kSift32MaxWindow) return 0;
  int64_t readAhead = static_cast<int64_t>(filter->window - 1) / 2 * step;
  if (readAhead > INT32_MAX) return 0;
  filter->readAhead = static_cast<int32_t>(readAhead);
  filter->ring.assign(static_cast<size_t>(filter->window), 0.0);
  MakeWeights(*filter);
  filter->head = 0;
  filter->filled = 0;
  return 1;
}

void Sift32Apply(Sift32Library& library, uint32_t handle, double* value) {
  Sift32Instance* filter = Sift32Find(library, handle);
  if (filter == nullptr || filter->ring.empty()) return;
  size_t size = filter->ring.size();
  filter->ring[filter->head] = *value;
  filter->head = (filter->head + 1) % size;
  if (filter->filled < size) ++filter->filled;
  // Walk the valid values from newest to oldest; the newest sits at the
  // window's leading edge, weight index size-1.
  double sum = 0.0;
  double weightSum = 0.0;
  size_t position = filter->head;
  for (size_t k = 0; k < filter->filled; ++k) {
    position = (position + size - 1) % size;
    double sample = filter->ring[position];
    if (std::isnan(sample)) continue;
    double weight = filter->weights[size - 1 - k];
    sum += weight * sample;
    weightSum += weight;
  }
  *value = weightSum > 0.0 ? sum / weightSum : std::nan("");
}

int32_t Sift32ReadAhead(Sift32Library& library, uint32_t handle) {
  Sift32Instance* filter = Sift32Find(library, handle);
  return filter == nullptr ? 0 : filter->readAhead;
}

int32_t Sift32Window(Sift32Library& library, uint32_t handle) {
  Sift32Instance* filter = Sift32Find(library, handle);
  return filter == nullptr ? 0 : filter->window;
}

std::string Sift32Specification(Sift32Library& library, uint32_t handle) {
  Sift32Instance* filter = Sift32Find(library, handle);
  return filter == nullptr ? std::string() : filter->specification;
}

}  // namespace sift32
