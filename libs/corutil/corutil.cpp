#include "libs/corutil/corutil.h"

namespace corutil {

using namespace dorvex;

void CorutilSplitPath(const std::string& path, int, int, std::string* baseName, int) {
  if (baseName == nullptr) return;
  size_t folderEnd = path.find_last_of("\\/");
  std::string name = folderEnd == std::string::npos ? path : path.substr(folderEnd + 1);
  size_t dot = name.rfind('.');
  *baseName = dot == std::string::npos ? name : name.substr(0, dot);
}

int CorutilLoadUnits(const UnitTable& units, std::vector<UnitEntry>* list, int32_t* count,
                     int32_t /*flag*/) {
  if (list == nullptr || count == nullptr) return 1;
  list->clear();
  for (const UnitRow& row : units.Entries()) list->push_back({row.name, row.mnemonic, row.code});
  *count = static_cast<int32_t>(list->size());
  return 0;
}

void CorutilFreeUnits(std::vector<UnitEntry>* list, int32_t* count) {
  if (list != nullptr) std::vector<UnitEntry>().swap(*list);
  if (count != nullptr) *count = 0;
}

}  // namespace corutil
