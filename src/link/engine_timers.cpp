// The exchange engine's two window timers: Timer1 moves the wake-up meter,
// Timer2 counts the seconds before an unattended call sends its set-up again.

#include <algorithm>
#include <cstdint>

#include "link/exchange_engine.h"

namespace brevik::link {

namespace {

// Tick at which the k-th period of `periodMs` falls due, rounded.
Ticks periodDue(Ticks start, int k, int periodMs) {
  return start + static_cast<Ticks>((static_cast<std::int64_t>(k) * periodMs * 182 + 5000) / 10000);
}

}  // namespace

void ExchangeEngine::startTimer1() {
  stopTimer1();
  timer1Tick(ticks_.now(), 0);
}

void ExchangeEngine::stopTimer1() {
  if (timer1_) ticks_.cancel(timer1_);
  timer1_ = 0;
}

void ExchangeEngine::timer1Tick(Ticks start, int k) {
  if (k > 0) {
    meter_ = std::min(meter_ + 4, 100);
    observer_.meter(meter_);
    if (meter_ >= 100) {  // held at 100: nothing more to show
      timer1_ = 0;
      return;
    }
  }
  const Ticks due = periodDue(start, k + 1, 165);
  timer1_ = after(due - ticks_.now(), [this, start, k] { timer1Tick(start, k + 1); });
}

void ExchangeEngine::startTimer2(Ticks delay) {
  stopTimer2();
  ctx_.timer2Count = 0;
  const Ticks start = ticks_.now() + delay;
  timer2_ = after(periodDue(start, 1, 1000) - ticks_.now(),
                         [this, start] { timer2Tick(start, 1); });
}

void ExchangeEngine::stopTimer2() {
  if (timer2_) ticks_.cancel(timer2_);
  timer2_ = 0;
}

void ExchangeEngine::timer2Tick(Ticks start, int k) {
  timer2_ = 0;
  ctx_.timer2Count = k;
  if (ctx_.timer2Count >= 36) {
    // Sending the configuration again ends the answered call.
    ctx_.kind = ExchangeKind::SendSetup;
    openLink();
    return;
  }
  timer2_ = after(periodDue(start, k + 1, 1000) - ticks_.now(),
                         [this, start, k] { timer2Tick(start, k + 1); });
}

}  // namespace brevik::link
