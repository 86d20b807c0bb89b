#include "plot/live_follower.h"

namespace tavlo {

LiveFollower::LiveFollower(LogData& data, QObject* parent) : QObject(parent), data_(data) {
  timer_.setInterval(kIntervalMilliseconds);
  // Coarse timers let the system bundle the wake-ups: a plot left open all
  // day should not keep a core awake.
  timer_.setTimerType(Qt::CoarseTimer);
  connect(&timer_, &QTimer::timeout, this, &LiveFollower::Look);
}

bool LiveFollower::Look() {
  if (!data_.Refresh()) return false;
  emit Grew();
  return true;
}

}  // namespace tavlo
