#include "support/virtual_tick_scheduler.h"

namespace brevik::testing {

link::TickScheduler::StepId VirtualTickScheduler::after(link::Ticks ticks, Step step) {
  const StepId id = nextId_++;
  const Key key{now_ + ticks, id};
  queue_.emplace(key, std::move(step));
  keys_.emplace(id, key);
  return id;
}

void VirtualTickScheduler::cancel(StepId id) {
  const auto it = keys_.find(id);
  if (it == keys_.end()) return;
  queue_.erase(it->second);
  keys_.erase(it);
  if (id == timerId_) timerId_ = 0;
}

void VirtualTickScheduler::armTimer(link::Ticks ticks, Step onElapsed) {
  disarmTimer();
  timerId_ = after(ticks, [this, onElapsed = std::move(onElapsed)] {
    timerId_ = 0;
    if (onElapsed) onElapsed();
  });
}

void VirtualTickScheduler::disarmTimer() {
  if (timerId_ != 0) cancel(timerId_);
  timerId_ = 0;
}

void VirtualTickScheduler::advance(link::Ticks ticks) {
  const link::Ticks target = now_ + ticks;
  while (!queue_.empty() && queue_.begin()->first.first <= target) {
    auto node = queue_.extract(queue_.begin());
    keys_.erase(node.key().second);
    now_ = node.key().first;
    if (node.mapped()) node.mapped()();
  }
  now_ = target;
}

bool VirtualTickScheduler::runUntilIdle(link::Ticks limit) {
  const link::Ticks end = now_ + limit;
  while (!queue_.empty()) {
    const link::Ticks due = queue_.begin()->first.first;
    if (due > end) {
      advance(end - now_);
      return false;
    }
    advance(due - now_);
  }
  return true;
}

std::optional<link::Ticks> VirtualTickScheduler::nextDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.begin()->first.first;
}

}  // namespace brevik::testing
