#pragma once
// The link's ticks in real time: steps fall due at multiples of 1000/18.2 ms
// from the scheduler's start, and one single-shot QTimer is kept armed for
// the earliest of them. Steps run from the event loop, never from the call
// that scheduled them.

#include <cstdint>
#include <map>

#include <QElapsedTimer>
#include <QTimer>

#include "link/tick_scheduler.h"

namespace brevik::platform {

class QtTickScheduler final : public link::TickScheduler {
 public:
  QtTickScheduler();
  ~QtTickScheduler() override;
  QtTickScheduler(const QtTickScheduler&) = delete;
  QtTickScheduler& operator=(const QtTickScheduler&) = delete;

  link::Ticks now() const override;
  StepId after(link::Ticks ticks, Step step) override;
  void cancel(StepId id) override;
  void armTimer(link::Ticks ticks, Step onElapsed) override;
  void disarmTimer() override;
  bool timerArmed() const override { return timerStep_ != 0; }

 private:
  struct Due {
    std::int64_t atMs;
    StepId id;  // ids grow, so steps due together run in scheduling order
    bool operator<(const Due& o) const { return atMs != o.atMs ? atMs < o.atMs : id < o.id; }
  };

  std::int64_t elapsedMs() const { return clock_.elapsed(); }
  void rearm();
  void runDue();

  QElapsedTimer clock_;
  QTimer timer_;
  std::map<Due, Step> steps_;
  std::map<StepId, Due> dueOf_;
  StepId nextId_ = 1;
  StepId timerStep_ = 0;
};

}  // namespace brevik::platform
