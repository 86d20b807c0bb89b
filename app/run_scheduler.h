// The event loop as the scheduler of a run.
//
// A run advances between events, in slices: a zero-interval timer fires
// whenever the loop is idle, and each firing makes steps with the block
// stepper (the same one the headless runner uses, so the window writes the
// same curves bit for bit) for about 10 ms, then hands the loop back. The
// steps are asked for in batches timed to about a millisecond each, so a
// slice never overruns by much whatever the formulas cost; input waits at
// most about one slice.
//
// No step is taken while a modal dialog is open, as a run has always paused
// under a question, the editor or the math-error dialog; the timers still
// fire inside the dialog's own loop, so this is checked on every firing,
// and a firing inside a step (the math-error dialog is modal inside one)
// does nothing. A slice that moves nothing on (an input not yet recorded)
// waits about 20 ms before the next try instead of spinning.
//
// The core starts and stops the one-second progress timer through the
// screen port; its start is also the sign that a run has begun.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "run/block_steps.h"

namespace quillex {

struct Context;

class RunScheduler : public QObject {
  Q_OBJECT

 public:
  explicit RunScheduler(Context& context, QObject* parent = nullptr);

  // The progress timer; starting it also starts the slices.
  void StartProgress(int32_t milliseconds);
  void StopProgress();

  bool slicing() const { return slices_.isActive(); }

 private:
  void Slice();
  void Steps();

  Context& context_;
  QTimer slices_;
  QTimer progress_;
  BlockStepper stepper_;
  int32_t batch_ = 256;  // steps asked for at a time, timed to about 1 ms
  size_t commitTurn_ = 0;  // the output that committed last
  bool stepping_ = false;
};

}  // namespace quillex
