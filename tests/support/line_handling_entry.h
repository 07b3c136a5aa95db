#pragma once
// The fuzz entry of the exchange engine's receive path, shared by the
// libFuzzer target (fuzz/line_handling_fuzz.cpp) and its smoke test.
//
// The first input byte chooses where the bytes arrive: while the engine
// waits for the identification line, for the status reply, or for reading
// lines of the real-time display. The rest arrive in chunks whose sizes the
// input also chooses, one tick apart; then time runs on until the exchange
// ends.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brevik::testing {

enum class LineHandlingState : std::uint8_t { Identification = 0, StatusReply = 1, ReadingLines = 2 };

struct LineHandlingOutcome {
  bool ended = false;       // the exchange came to its end
  bool portClosed = false;  // and let the port go
  std::size_t messages = 0;
};

LineHandlingOutcome runLineHandling(const std::uint8_t* data, std::size_t size);

// The same with the state and bytes given apart (for tests).
LineHandlingOutcome runLineHandling(LineHandlingState state, std::string_view bytes,
                                    std::size_t chunkSize = 16);

}  // namespace brevik::testing
