#pragma once
// A TickScheduler in virtual time: nothing runs until the test moves time
// forward with advance(), and then every step that falls due runs in order,
// with now() showing the tick it was due at. A four-second wake-up costs
// nothing and every run repeats exactly.

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "link/tick_scheduler.h"

namespace brevik::testing {

class VirtualTickScheduler final : public link::TickScheduler {
 public:
  link::Ticks now() const override { return now_; }
  StepId after(link::Ticks ticks, Step step) override;
  void cancel(StepId id) override;
  void armTimer(link::Ticks ticks, Step onElapsed) override;
  void disarmTimer() override;
  bool timerArmed() const override { return timerId_ != 0; }

  // Moves time forward by `ticks`, running every step due up to the new time
  // (including steps scheduled while running, when they fall due in time).
  void advance(link::Ticks ticks);

  // Runs due steps without moving time (steps scheduled with 0 ticks).
  void runDue() { advance(0); }

  // Advances until nothing is pending, at most `limit` ticks. Returns true
  // when the queue ran empty.
  bool runUntilIdle(link::Ticks limit = 100000);

  // Pending steps, the armed timer included.
  std::size_t pending() const { return queue_.size(); }
  // The tick at which the next step falls due.
  std::optional<link::Ticks> nextDue() const;

 private:
  using Key = std::pair<link::Ticks, StepId>;  // due tick, then scheduling order
  std::map<Key, Step> queue_;
  std::unordered_map<StepId, Key> keys_;
  link::Ticks now_ = 0;
  StepId nextId_ = 1;
  StepId timerId_ = 0;
};

}  // namespace brevik::testing
