// Finding database files whatever the case of their names, and settings a
// program sets for itself.
#include <strings.h>

#include <filesystem>

#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/library_state.h"

namespace dorvex {

std::string internal::FindDatabaseFile(const std::string& folder, const std::string& name) {
  std::string exact = folder + name;
  std::error_code error;
  if (std::filesystem::exists(exact, error)) return exact;
  std::string found;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string each = entry.path().filename().string();
    if (each.size() != name.size() || strcasecmp(each.c_str(), name.c_str()) != 0) continue;
    // Two files that differ only in case: neither is the one meant.
    if (!found.empty()) return exact;
    found = folder + each;
  }
  return found.empty() ? exact : found;
}

int DorvexSetSetting(DorvexLibrary& library, int32_t index, int32_t number) {
  switch (index) {
    case setting::kMetricDepth:
      library.state->metricDepth = number != 0 ? 1 : 0;
      return 0;
    case setting::kUnitSystem:
      if (number < 0 || number > 2) return kDorvexFailed;
      library.state->unitSystem = number;
      return 0;
  }
  return kDorvexFailed;
}

}  // namespace dorvex
