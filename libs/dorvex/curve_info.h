// CurveInfo: the 244-byte description of a curve item that the log database
// keeps verbatim.
//
// The record is exchanged with the database as raw bytes, so its layout is
// fixed to the byte: every field sits at its offset with natural alignment,
// checked below at compile time, and the host must be little-endian (as the
// stored bytes are). Bytes not named are zero in every record the program
// makes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "libs/dorvex/dorvex.h"

namespace dorvex {

struct CurveInfo {
  char version[11];       // "1" in every record the program makes
  char description[165];  // NUL-terminated, at most 164 characters
  int32_t dataId;
  uint8_t unused180[2];
  uint16_t timeWord;      // 0 depth-based, 256 time-based; a non-zero high byte means time
  uint16_t typeA;         // 0 for a plain sample curve (10 in the run settings item)
  uint16_t typeB;         // 0 for a plain sample curve (3 in the run settings item)
  uint16_t units;         // low 16 bits of the unit code
  uint8_t unused190[2];
  int32_t top;            // the smaller end, index units
  int32_t bottom;         // the larger end
  uint16_t word200;       // 1
  uint8_t unused202[6];
  float scale208;         // 1.0 in curves
  uint8_t unused212[4];
  float scale216;         // 1.0 in curves
  float scale220;         // -1.0 in curves
  float scale224;         // 1.0 in curves
  uint16_t elementSize;   // 4 for curves (one float a sample), 32 for the settings item
  uint16_t step;          // index units between samples (100 in the settings item)
  uint16_t word232;       // 1024 in curves, 1 in the settings item
  uint16_t word234;       // 1024 in curves, 2 in the settings item
  uint8_t unused236[8];
};

static_assert(std::endian::native == std::endian::little, "CurveInfo is stored little-endian");
static_assert(sizeof(CurveInfo) == kDorvexCurveInfoSize);
static_assert(offsetof(CurveInfo, description) == 11);
static_assert(offsetof(CurveInfo, dataId) == 176);
static_assert(offsetof(CurveInfo, timeWord) == 182);
static_assert(offsetof(CurveInfo, typeA) == 184);
static_assert(offsetof(CurveInfo, typeB) == 186);
static_assert(offsetof(CurveInfo, units) == 188);
static_assert(offsetof(CurveInfo, top) == 192);
static_assert(offsetof(CurveInfo, bottom) == 196);
static_assert(offsetof(CurveInfo, word200) == 200);
static_assert(offsetof(CurveInfo, scale208) == 208);
static_assert(offsetof(CurveInfo, scale216) == 216);
static_assert(offsetof(CurveInfo, scale220) == 220);
static_assert(offsetof(CurveInfo, scale224) == 224);
static_assert(offsetof(CurveInfo, elementSize) == 228);
static_assert(offsetof(CurveInfo, step) == 230);
static_assert(offsetof(CurveInfo, word232) == 232);
static_assert(offsetof(CurveInfo, word234) == 234);

// The longest description a CurveInfo holds.
constexpr size_t kCurveDescriptionLimit = 164;

// A zeroed record.
CurveInfo EmptyCurveInfo();

// The record of a plain sample curve: one float a sample from top to bottom
// (swapped when given the other way round) every |step| index units. A longer
// description is cut to kCurveDescriptionLimit characters.
CurveInfo SampleCurveInfo(const std::string& description, int32_t dataId, bool timeBased,
                          int32_t units, int32_t top, int32_t bottom, int32_t step);

bool IsTimeBased(const CurveInfo& info);
std::string DescriptionOf(const CurveInfo& info);

}  // namespace dorvex
