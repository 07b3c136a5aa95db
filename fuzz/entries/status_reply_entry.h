#pragma once
// Fuzz entry: a status reply, decoded with tables present (an in-memory
// table for every channel record that does not start with '!'), and every
// text of the status window built from it.

#include "entry_support.h"
#include "protocol/status_decode.h"

namespace brevik::fuzzing {

inline void decodeStatusReply(const std::uint8_t* data, std::size_t size) {
  protocol::decodeStatusBytesForFuzzing(data, size);
}

}  // namespace brevik::fuzzing
