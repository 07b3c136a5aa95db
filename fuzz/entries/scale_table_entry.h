#pragma once
// Fuzz entry: a scaling table file (.Rvt, .mvt) read at each resolution's
// full scale, and the same bytes as the twelve-character scale text of a
// linear or contact channel.

#include <cmath>

#include "entry_support.h"
#include "protocol/scale_tables.h"

namespace brevik::fuzzing {

inline void readScaleTexts(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = bytesAsText(data, size);
  for (const int fullScale : {255, 1023, 4095}) {
    const auto table = protocol::parseTableText(text, "fuzz.Rvt", fullScale);
    if (table) require(table->points.size() <= protocol::kMaxTablePoints);
  }
  require(protocol::scaleTextLowPart(text).size() <= 6 && protocol::scaleTextHighPart(text).size() <= 6);
  if (const auto range = protocol::parseScaleText(text)) {
    require(!std::isnan(range->low) && !std::isnan(range->high));
    (void)protocol::linearCaption(text);
    (void)protocol::contactCaption(text);
  }
  (void)protocol::parseScaleNumber(text.substr(0, 6));
}

}  // namespace brevik::fuzzing
