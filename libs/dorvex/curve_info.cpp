#include "libs/dorvex/curve_info.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace dorvex {

CurveInfo EmptyCurveInfo() {
  CurveInfo info;
  std::memset(&info, 0, sizeof info);
  return info;
}

CurveInfo SampleCurveInfo(const std::string& description, int32_t dataId, bool timeBased,
                          int32_t units, int32_t top, int32_t bottom, int32_t step) {
  CurveInfo info = EmptyCurveInfo();
  info.version[0] = '1';
  std::memcpy(info.description, description.data(),
              std::min(description.size(), kCurveDescriptionLimit));
  info.dataId = dataId;
  info.timeWord = timeBased ? 256 : 0;
  info.units = static_cast<uint16_t>(units & 0xFFFF);
  info.top = std::min(top, bottom);
  info.bottom = std::max(top, bottom);
  info.word200 = 1;
  info.scale208 = 1.0F;
  info.scale216 = 1.0F;
  info.scale220 = -1.0F;
  info.scale224 = 1.0F;
  info.elementSize = 4;
  info.step = static_cast<uint16_t>(std::abs(step));
  info.word232 = 1024;
  info.word234 = 1024;
  return info;
}

bool IsTimeBased(const CurveInfo& info) { return (info.timeWord >> 8) != 0; }

std::string DescriptionOf(const CurveInfo& info) {
  return std::string(info.description, strnlen(info.description, sizeof info.description));
}

}  // namespace dorvex
