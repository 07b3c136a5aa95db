#include "link/virtual_ticks.h"

namespace brevik::link {

TickScheduler::StepId VirtualTicks::after(Ticks ticks, Step step) {
  const StepId id = nextId_++;
  steps_.emplace(Due{now_ + ticks, id}, std::move(step));
  dueOf_[id] = now_ + ticks;
  return id;
}

void VirtualTicks::cancel(StepId id) {
  auto it = dueOf_.find(id);
  if (it == dueOf_.end()) return;
  steps_.erase(Due{it->second, id});
  dueOf_.erase(it);
  if (id == timerId_) timerId_ = 0;
}

void VirtualTicks::armTimer(Ticks ticks, Step onElapsed) {
  disarmTimer();
  // The timer forgets itself before its step runs (see runNext), so the step
  // may arm it again.
  timerId_ = after(ticks, std::move(onElapsed));
}

void VirtualTicks::disarmTimer() {
  if (timerId_ != 0) cancel(timerId_);
  timerId_ = 0;
}

bool VirtualTicks::runNext(Ticks until) {
  if (steps_.empty()) return false;
  auto it = steps_.begin();
  if (it->first.at > until) return false;
  const Due due = it->first;
  Step step = std::move(it->second);
  steps_.erase(it);
  dueOf_.erase(due.id);
  if (due.id == timerId_) timerId_ = 0;
  if (due.at > now_) now_ = due.at;
  step();
  return true;
}

void VirtualTicks::advance(Ticks ticks) {
  const Ticks until = now_ + ticks;
  while (runNext(until)) {
  }
  now_ = until;
}

bool VirtualTicks::runUntilIdle(Ticks limit) {
  const Ticks until = now_ + limit;
  while (runNext(until)) {
  }
  if (steps_.empty()) return true;
  now_ = until;
  return false;
}

}  // namespace brevik::link
