#pragma once
// What the profile says about a Hayes modem before the logger, or a cable
// looped back in place of both (the com test).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brevik::sim {

// The reply to a set-up command line.
enum class ModemInitReply { Ok, Error, Silent };

// What dialling the number gives.
enum class ModemDialResult { Connect, Busy, NoCarrier, NoAnswer, Silent };

// One call that rings in for auto-answer.
struct IncomingCall {
  enum class Kind { Ok, Empty, Silent, Garbled, Drop, BusySite };
  Kind kind = Kind::Ok;
  int dropAfter = 0;  // replies before the carrier is lost (Drop)
};

struct ModemProfile {
  bool hayes = false;  // false: a direct cable
  std::optional<std::string> number;  // unset: any number answers
  std::string connectLine = "CONNECT 9600";
  ModemInitReply init = ModemInitReply::Ok;
  ModemDialResult dial = ModemDialResult::Connect;
  bool echo = true;
  int dropAfter = 0;  // 0: the carrier holds
  std::vector<IncomingCall> calls;
  std::uint32_t ringAfterSeconds = 10;
  bool loopback = false;
};

}  // namespace brevik::sim
