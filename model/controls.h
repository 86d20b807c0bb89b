// Control ids of the windows that the core reads and writes through the
// screen port. The dialogs are built with these ids, so the desktop program
// and the core agree on them.
#pragma once

#include <cstdint>

namespace quillex {

namespace control {
// Main window.
constexpr int32_t kExitButton = 2;  // reads "Cancel" while a run can be cancelled
constexpr int32_t kScale = 102;
constexpr int32_t kJobTitle = 103;  // the group box above the output list
constexpr int32_t kOutputList = 104;
constexpr int32_t kPresentation = 105;
constexpr int32_t kInputSource = 106;
constexpr int32_t kDestination = 108;
constexpr int32_t kIntervalFrom = 111;
constexpr int32_t kIntervalTo = 112;
constexpr int32_t kFromUnits = 113;
constexpr int32_t kToUnits = 114;
constexpr int32_t kPresentationBrowse = 109;
constexpr int32_t kPresentationLabel = 119;
constexpr int32_t kScaleLabel = 120;
constexpr int32_t kProgress = 167;
// The one-second timer that refreshes the progress text during a run.
constexpr int32_t kProgressTimer = 1;
// Menu items with check marks: the run option.
constexpr int32_t kMenuGenerateCurves = 134;
constexpr int32_t kMenuGenerateReport = 135;
// Formula editor.
constexpr int32_t kTestResult = 149;
}  // namespace control

}  // namespace quillex
