#include "platform/qt_tick_scheduler.h"

#include <algorithm>

namespace brevik::platform {

QtTickScheduler::QtTickScheduler() {
  clock_.start();
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { runDue(); });
}

QtTickScheduler::~QtTickScheduler() {
  timer_.stop();
  timer_.disconnect();
}

link::Ticks QtTickScheduler::now() const {
  return static_cast<link::Ticks>(elapsedMs() * 182 / 10000);
}

link::TickScheduler::StepId QtTickScheduler::after(link::Ticks ticks, Step step) {
  // Due at the tick boundary `ticks` ticks after the current one began, as
  // a timer that counts ticks would fire.
  const link::Ticks dueTick = now() + ticks;
  const Due due{link::ticksToMilliseconds(dueTick), nextId_++};
  steps_.emplace(due, std::move(step));
  dueOf_.emplace(due.id, due);
  rearm();
  return due.id;
}

void QtTickScheduler::cancel(StepId id) {
  const auto it = dueOf_.find(id);
  if (it == dueOf_.end()) return;
  steps_.erase(it->second);
  dueOf_.erase(it);
  if (timerStep_ == id) timerStep_ = 0;
  rearm();
}

void QtTickScheduler::armTimer(link::Ticks ticks, Step onElapsed) {
  disarmTimer();
  timerStep_ = after(ticks, [this, onElapsed = std::move(onElapsed)] {
    timerStep_ = 0;
    onElapsed();
  });
}

void QtTickScheduler::disarmTimer() {
  if (timerStep_ != 0) cancel(timerStep_);
  timerStep_ = 0;
}

void QtTickScheduler::rearm() {
  if (steps_.empty()) {
    timer_.stop();
    return;
  }
  const std::int64_t wait = std::max<std::int64_t>(0, steps_.begin()->first.atMs - elapsedMs());
  timer_.start(static_cast<int>(std::min<std::int64_t>(wait, 24 * 3600 * 1000)));
}

void QtTickScheduler::runDue() {
  // One step at a time: a step may schedule or cancel others.
  while (!steps_.empty() && steps_.begin()->first.atMs <= elapsedMs()) {
    auto node = steps_.extract(steps_.begin());
    dueOf_.erase(node.key().id);
    node.mapped()();
  }
  rearm();
}

}  // namespace brevik::platform
