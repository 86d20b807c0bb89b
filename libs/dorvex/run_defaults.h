// RunDefaults: the one 32-byte element of a data set's run settings item
// "_defaults_/1", written by a curve run and read by the plotting program.
//
// It tells the plot where the run is (its top and bottom index values), at
// what scale to show it, whether depths are feet, metres or times, and which
// presentation file lays it out. Both sides exchange it as raw bytes, so the
// layout is fixed to the byte here, once, and checked at compile time; the
// host is little-endian, as the stored bytes are (see curve_info.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace dorvex {

#pragma pack(push, 1)
struct RunDefaults {
  uint16_t indexFactor;
  uint16_t flags;           // low four bits: 0 depth (feet), 1 depth metric, 2 time;
                            // from bit 4 on: the unit system formulas see
  uint16_t zero;
  float scale;              // display scale
  int32_t runTop;
  int32_t runBottom;
  char presentation[14];    // base name of the presentation file, NUL-terminated
};
#pragma pack(pop)

static_assert(sizeof(RunDefaults) == 32);
static_assert(offsetof(RunDefaults, flags) == 2);
static_assert(offsetof(RunDefaults, scale) == 6);
static_assert(offsetof(RunDefaults, runTop) == 10);
static_assert(offsetof(RunDefaults, runBottom) == 14);
static_assert(offsetof(RunDefaults, presentation) == 18);

// The low four bits of RunDefaults::flags.
constexpr uint16_t kRunDepthFeet = 0;
constexpr uint16_t kRunDepthMetric = 1;
constexpr uint16_t kRunTime = 2;

}  // namespace dorvex
