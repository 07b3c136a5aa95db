#include "cli/stop_request.h"

#include <atomic>
#include <csignal>

namespace brevik::cli {

namespace {

std::atomic<bool> stopFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is raised from a signal handler");

void onInterrupt(int) {
  stopFlag.store(true);
  // The next Ctrl+C (or kill) is the usual one: a stop that hangs can still
  // be ended.
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

}  // namespace

void requestStop() noexcept { stopFlag.store(true); }
bool stopRequested() noexcept { return stopFlag.load(); }

StopOnInterrupt::StopOnInterrupt() {
  stopFlag.store(false);
  previous_ = std::signal(SIGINT, onInterrupt);
  if (previous_ == SIG_ERR) previous_ = SIG_DFL;
  // A service manager stops a command with SIGTERM: the same clean end.
  previousTerm_ = std::signal(SIGTERM, onInterrupt);
  if (previousTerm_ == SIG_ERR) previousTerm_ = SIG_DFL;
}

StopOnInterrupt::~StopOnInterrupt() {
  std::signal(SIGINT, previous_);
  std::signal(SIGTERM, previousTerm_);
  stopFlag.store(false);
}

}  // namespace brevik::cli
