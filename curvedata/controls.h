// Control ids of the windows that the core reads and writes through the
// screen port. The dialogs are built with these ids, so the desktop program
// and the core agree on them.
#pragma once

#include <cstdint>

namespace control {
// Main window.
constexpr int32_t kScale = 102;
constexpr int32_t kOutputList = 104;
constexpr int32_t kPresentation = 105;
constexpr int32_t kInputSource = 106;
constexpr int32_t kDestination = 108;
constexpr int32_t kIntervalFrom = 111;
constexpr int32_t kIntervalTo = 112;
constexpr int32_t kFromUnits = 113;
constexpr int32_t kToUnits = 114;
constexpr int32_t kProgress = 167;
// Formula editor.
constexpr int32_t kTestResult = 149;
}  // namespace control
