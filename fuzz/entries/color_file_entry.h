#pragma once
// Fuzz entry: a graph colour file (.gcf). A file that reads is written back
// as eight lines that read as the same slots.

#include "entry_support.h"
#include "graph/graph_colors.h"

namespace brevik::fuzzing {

inline void readColorFile(const std::uint8_t* data, std::size_t size) {
  const auto slots = graph::parseColorFile(bytesAsText(data, size));
  if (!slots) {
    require(!slots.error().message.empty());
    return;
  }
  const auto again = graph::parseColorFile(graph::formatColorFile(*slots));
  require(again.ok() && *again == *slots);
  for (int slot = 0; slot <= 9; ++slot) (void)graph::slotColor(*slots, slot);
}

}  // namespace brevik::fuzzing
