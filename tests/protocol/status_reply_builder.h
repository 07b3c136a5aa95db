#pragma once
// Builds status replies field by field for the decoder tests.

#include <array>
#include <string>

#include "common/bytes.h"

namespace brevik::protocol::testing {

struct StatusReplyBuilder {
  std::string firstReading = "00050903063303";  // Tue  3-Jun-2003  9:05:00
  std::string stopTime = "00001017063303";      // Tue 17-Jun-2003 10:00:00
  std::string flags = "00";
  std::string rate = "47";  // 'G': 1 minute
  std::string channels = "0F";
  std::string inputs = "@@";
  std::string phase = "00";
  std::string pointer = "0800";
  std::array<std::string, 4> descriptions{"Air", "Water", "Soil", "Roof"};
  std::string session = "Well4;siteB";
  std::string readings = "000000000000";
  std::string clock = "00011024063303";  // Tue 24-Jun-2003 10:01:00
  std::string address = "05";
  std::array<std::string, 4> records{"  0.00100.00", "  0.00100.00", "  0.00100.00", "  0.00100.00"};
  std::string types = "3333";
  char revision = 'q';
  char model = '5';
  std::string tail;  // characters 252 on: the 12-bit battery byte and more

  std::string build() const {
    std::string s = firstReading + stopTime + flags + rate + channels + inputs + phase + pointer;
    for (const auto& d : descriptions) s += bytes::padded(d, 24);
    s += bytes::padded(session, 31) + readings + clock + address;
    for (const auto& r : records) s += bytes::padded(r, 12);
    s += types;
    s += revision;
    s += model;
    s += tail;
    return s;
  }
};

}  // namespace brevik::protocol::testing
