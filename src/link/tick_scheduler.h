#pragma once
// Time as the link counts it: ticks of 1/18.2 s (about 55 ms), the unit of
// every serial time-out and pause.
//
// Waits are never sleeps and never nested event loops: a step that must
// "wait 9 ticks, then ..." schedules its continuation and returns. The
// scheduler runs continuations on the program's one thread, one at a time,
// in the order they fall due (steps due at the same tick run in the order
// they were scheduled). A step never runs from inside the call that
// scheduled it, even with a delay of 0 ticks.
//
// Besides delayed steps there is the link's one timer trigger: the time-out
// of the exchange engine. Arming it again replaces the earlier arming, so an
// exchange always has at most one time-out pending.

#include <cstdint>
#include <functional>

namespace brevik::link {

using Ticks = std::uint32_t;

inline constexpr double kTicksPerSecond = 18.2;

// Milliseconds of a number of ticks, rounded to the nearest millisecond
// (for real-time implementations).
constexpr std::int64_t ticksToMilliseconds(Ticks ticks) {
  return (static_cast<std::int64_t>(ticks) * 10000 + 91) / 182;
}

class TickScheduler {
 public:
  using Step = std::function<void()>;
  // Identifies one delayed step; 0 is never used.
  using StepId = std::uint64_t;

  virtual ~TickScheduler() = default;

  // Ticks since the scheduler started; traces print it relative to the start
  // of an exchange.
  virtual Ticks now() const = 0;

  // Runs `step` once, `ticks` ticks from now.
  virtual StepId after(Ticks ticks, Step step) = 0;

  // Forgets a pending step; unknown or already run ids are ignored.
  virtual void cancel(StepId id) = 0;

  // Arms the timer trigger: `onElapsed` runs once, `ticks` ticks from now,
  // unless the timer is armed again or disarmed before.
  virtual void armTimer(Ticks ticks, Step onElapsed) = 0;
  virtual void disarmTimer() = 0;
  virtual bool timerArmed() const = 0;
};

}  // namespace brevik::link
