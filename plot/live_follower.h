// LiveFollower: keeps a plot's curves up to date while a run writes them,
// without busy polling.
//
// A light timer (every 250 ms) asks the database one cheap question, its
// data version; only when another process committed since the last tick
// are the curves refreshed, reading the new samples only (LogData::Refresh).
// Runs commit at least every half second, so a plot trails a run by well
// under a second, and an idle plot costs one query a tick.
#pragma once

#include <QObject>
#include <QTimer>

#include "plot/log_data.h"

namespace tavlo {

class LiveFollower : public QObject {
  Q_OBJECT

 public:
  static constexpr int kIntervalMilliseconds = 250;

  LiveFollower(LogData& data, QObject* parent = nullptr);

  void Start() { timer_.start(); }
  void Stop() { timer_.stop(); }
  bool IsActive() const { return timer_.isActive(); }
  // One look now, as a tick of the timer does; true when a curve grew.
  bool Look();

 signals:
  // Curves grew: the plot should be drawn again.
  void Grew();

 private:
  LogData& data_;
  QTimer timer_;
};

}  // namespace tavlo
