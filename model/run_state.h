// The state of a processing run, one per process.
//
// The formula evaluator reads `running` to decide whether a node is refreshed
// from its input before it is read, and sets `evaluationStatus` when an input
// sample is not yet recorded; the processing engine owns the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillex {

struct OutputDef;

// Set by a variable read that meets input data not yet available.
constexpr int32_t kStatusNotYetAvailable = 32;

enum class StepOperation { kCurve, kReport };

struct RunState {
  // Counts the runs started, so that what is kept for one run is never taken
  // for the next.
  uint32_t serial = 0;
  bool running = false;
  bool abortRequested = false;
  bool finished = false;
  bool failed = false;
  bool firstStep = false;
  OutputDef* currentOutput = nullptr;  // null = begin a new cycle at the head
  size_t currentPlace = 0;             // the place of currentOutput in the list
  int32_t runTop = 0;     // the smallest top of the outputs
  int32_t runBottom = 0;  // the largest bottom of the outputs
  int32_t samplesDone = 0;
  int32_t samplesTotal = 0;
  int32_t evaluationStatus = 0;
  StepOperation stepOperation = StepOperation::kCurve;
  bool mathWarningsSuppressed = false;
  int32_t mathErrors = 0;  // math errors met since the run started, told or not
  // While a block of samples is evaluated ahead, a math error is only noted
  // here: the block is given up and its samples evaluated one by one, where
  // the error is told and counted.
  bool evaluatingAhead = false;
  bool aheadSpoiled = false;
  std::string statusText;  // "Done.", "Cancelled.", "Aborted." or empty
};

}  // namespace quillex
