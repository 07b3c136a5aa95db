#pragma once
// A TickScheduler that runs in virtual time: nothing happens until the owner
// advances the clock, and then every step falls due in order. The simulated
// logger (kaldo --port sim) and the tests run whole exchanges this way, so a
// four-second wake-up costs nothing.

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "link/tick_scheduler.h"

namespace brevik::link {

class VirtualTicks final : public TickScheduler {
 public:
  Ticks now() const override { return now_; }
  StepId after(Ticks ticks, Step step) override;
  void cancel(StepId id) override;
  void armTimer(Ticks ticks, Step onElapsed) override;
  void disarmTimer() override;
  bool timerArmed() const override { return timerId_ != 0; }

  // Moves the clock on by `ticks`, running every step that falls due on the
  // way (including steps those steps schedule within the span).
  void advance(Ticks ticks);

  // Runs steps until none is pending or the clock has moved `limit` ticks;
  // true when it stopped because nothing was pending.
  bool runUntilIdle(Ticks limit = 100000);

  // Runs the steps due now without moving the clock (steps of 0 ticks).
  void runDue() { advance(0); }

  bool idle() const { return steps_.empty(); }
  // Pending steps, the armed timer included.
  std::size_t pending() const { return steps_.size(); }
  std::size_t pendingSteps() const { return steps_.size(); }
  // The tick at which the next step falls due.
  std::optional<Ticks> nextDue() const {
    if (steps_.empty()) return std::nullopt;
    return steps_.begin()->first.at;
  }

 private:
  struct Due {
    Ticks at;
    StepId id;  // ids grow, so equal ticks run in scheduling order
    bool operator<(const Due& o) const { return at != o.at ? at < o.at : id < o.id; }
  };

  // Runs the earliest step if it falls due at or before `until`.
  bool runNext(Ticks until);

  Ticks now_ = 0;
  StepId nextId_ = 1;
  std::map<Due, Step> steps_;
  std::map<StepId, Ticks> dueOf_;
  StepId timerId_ = 0;
};

}  // namespace brevik::link
