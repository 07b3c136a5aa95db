#pragma once
// Ctrl+C for a command that runs until it is interrupted: SIGINT only raises
// a flag, which the command's loop looks at between events and then ends its
// work cleanly. A second Ctrl+C ends kaldo at once, as usual.

namespace brevik::cli {

// What SIGINT does (async-signal-safe); tests call it to interrupt a run.
void requestStop() noexcept;
bool stopRequested() noexcept;

// While it lives, SIGINT and SIGTERM raise the stop request instead of ending kaldo;
// the request is cleared at both ends.
class StopOnInterrupt {
 public:
  StopOnInterrupt();
  ~StopOnInterrupt();
  StopOnInterrupt(const StopOnInterrupt&) = delete;
  StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

 private:
  void (*previous_)(int) = nullptr;
  void (*previousTerm_)(int) = nullptr;
};

}  // namespace brevik::cli
