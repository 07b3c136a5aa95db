#pragma once
// How often the virtual logger records, by rate code. The twin keeps its own
// small table: it stands for the logger, which knows its rates without the
// PC's vocabulary, and the simulator stays apart from the protocol layer.

#include <cstdint>

namespace brevik::sim {

// The interval between two readings of rate code `code`, in milliseconds, at
// its nominal value (an approximate rate such as "~2 seconds" counts as 2 s).
// A code that is no rate records once an hour, as the PC takes it to.
std::int64_t rateIntervalMillis(char code);

}  // namespace brevik::sim
