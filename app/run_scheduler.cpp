#include "app/run_scheduler.h"

#include <QApplication>
#include <chrono>

#include "curvedata/commit_pacing.h"
#include "curvedata/context.h"
#include "run/engine.h"

namespace quillex {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kSlice = std::chrono::milliseconds(10);
constexpr auto kBatch = std::chrono::microseconds(1000);
constexpr int kHeldWaitMs = 20;
constexpr int32_t kLargestBatch = 1 << 16;

}  // namespace

RunScheduler::RunScheduler(Context& context, QObject* parent) : QObject(parent), context_(context) {
  slices_.setInterval(0);
  connect(&slices_, &QTimer::timeout, this, &RunScheduler::Slice);
  connect(&progress_, &QTimer::timeout, this, [this] {
    if (context_.run.running) ShowProgress(context_);
  });
}

void RunScheduler::StartProgress(int32_t milliseconds) {
  progress_.start(milliseconds);
  slices_.start(0);
}

void RunScheduler::StopProgress() { progress_.stop(); }

void RunScheduler::Slice() {
  if (!context_.run.running) {
    slices_.stop();
    return;
  }
  if (stepping_ || QApplication::activeModalWidget() != nullptr) {
    // Paused: look again now and then rather than at every turn of the
    // dialog's loop.
    slices_.setInterval(kHeldWaitMs);
    return;
  }
  int32_t before = context_.run.samplesDone;
  stepping_ = true;
  Steps();
  if (context_.run.running) CommitNextOutput(context_, commitTurn_);
  stepping_ = false;
  if (!context_.run.running) {
    slices_.stop();
  } else {
    slices_.setInterval(context_.run.samplesDone == before ? kHeldWaitMs : 0);
  }
}

// Batches of steps until the slice is used up, the run ends, or a batch
// moves nothing on.
void RunScheduler::Steps() {
  Clock::time_point end = Clock::now() + kSlice;
  for (;;) {
    int32_t before = context_.run.samplesDone;
    Clock::time_point start = Clock::now();
    bool on = stepper_.StepMany(context_, batch_);
    Clock::duration took = Clock::now() - start;
    if (took < kBatch / 2 && batch_ < kLargestBatch) batch_ *= 2;
    if (took > kBatch * 2 && batch_ > 1) batch_ /= 2;
    if (!on || context_.run.samplesDone == before || Clock::now() >= end) return;
  }
}

}  // namespace quillex
