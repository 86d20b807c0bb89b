#include "libs/sift32/sift32.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace sift32 {

struct Sift32Instance {
  std::string specification;
  bool gaussian = false;
  int32_t window = 1;       // samples, odd, at least 1
  int32_t readAhead = 0;    // index units, set by Sift32Prepare
  // The last `window` values fed, as a ring that grows to the window as
  // values come; `head` is where the next one goes.
  std::vector<double> ring;
  std::vector<double> weights;  // Gaussian only: by age, the newest value's first
  size_t head = 0;
  bool fed = false;         // a value has been fed since Sift32Prepare
  int32_t lastIndex = 0;    // the index it was fed for
};

Sift32Library::Sift32Library() = default;
Sift32Library::~Sift32Library() = default;

Sift32Instance* Sift32Find(Sift32Library& library, uint32_t handle) {
  auto found = library.instances_.find(handle);
  return found == library.instances_.end() ? nullptr : found->second.get();
}

namespace {

// Rounds an interval to the nearest odd whole number of samples, at least 1;
// halfway cases (an even number) go up. An interval beyond 32 bits is the
// widest window there is.
int32_t OddWindow(double interval) {
  constexpr int32_t kWidest = INT32_MAX;  // odd
  if (!(interval > 1.0)) return 1;  // also NaN
  if (interval >= kWidest) return kWidest;
  double odd = 2.0 * std::floor((interval - 1.0) / 2.0 + 0.5) + 1.0;
  return static_cast<int32_t>(std::min<double>(odd, kWidest));
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

// The Gaussian weight of the value of a given age (0 the newest, at the
// window's leading edge), by its distance from the window's centre.
double GaussianWeight(const Sift32Instance& filter, size_t age) {
  double sigma = filter.window / 4.0;
  double centre = (filter.window - 1) / 2.0;
  int32_t place = filter.window - 1 - static_cast<int32_t>(age);
  double distance = place - centre;
  return std::exp(-distance * distance / (2.0 * sigma * sigma));
}

// Takes a value into the ring: a new one at the head, or, fed again for the
// sample of the one before, in that one's place.
void Take(Sift32Instance& filter, double value, int32_t index) {
  size_t window = static_cast<size_t>(filter.window);
  if (filter.fed && index == filter.lastIndex) {
    filter.ring[(filter.head + window - 1) % window] = value;
    return;
  }
  filter.fed = true;
  filter.lastIndex = index;
  if (filter.ring.size() < window) {
    // Room was set aside by Sift32Prepare: growing moves nothing.
    filter.ring.push_back(value);
    if (filter.gaussian) filter.weights.push_back(GaussianWeight(filter, filter.weights.size()));
  } else {
    filter.ring[filter.head] = value;
  }
  filter.head = (filter.head + 1) % window;
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
  if (filter == nullptr || step <= 0) return 0;
  int64_t readAhead = static_cast<int64_t>(filter->window - 1) / 2 * step;
  filter->readAhead = static_cast<int32_t>(std::min<int64_t>(readAhead, INT32_MAX));
  filter->ring.clear();
  filter->weights.clear();
  filter->head = 0;
  filter->fed = false;
  try {
    filter->ring.reserve(static_cast<size_t>(filter->window));
    if (filter->gaussian) filter->weights.reserve(static_cast<size_t>(filter->window));
  } catch (const std::bad_alloc&) {
    filter->ring = {};
    filter->weights = {};
    filter->readAhead = 0;
    return 0;
  }
  return 1;
}

void Sift32Apply(Sift32Library& library, uint32_t handle, double* value, int32_t index) {
  Sift32Instance* filter = Sift32Find(library, handle);
  if (filter == nullptr || filter->ring.capacity() == 0) return;
  Take(*filter, *value, index);
  // Walk the values fed from the newest to the oldest; the newest sits at
  // the window's leading edge.
  size_t window = static_cast<size_t>(filter->window);
  size_t filled = filter->ring.size();
  double sum = 0.0;
  double weightSum = 0.0;
  size_t position = filter->head;
  for (size_t age = 0; age < filled; ++age) {
    position = (position + window - 1) % window;
    double sample = filter->ring[position];
    if (std::isnan(sample)) continue;
    double weight = filter->gaussian ? filter->weights[age] : 1.0;
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
