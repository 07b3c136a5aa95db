#pragma once
// The exchange kinds and link states, with the numbers the program has
// always used for them (they appear in the "QXcmd" text and in traces).

#include <cstdint>
#include <string_view>

namespace brevik::link {

enum class ExchangeKind : std::uint8_t {
  None = 0,
  Identify = 1,
  Status = 2,
  Receive = 3,
  SendSetup = 4,
  StationAddressKind = 5,
  RealTime = 7,
  EndRealTime = 8,
  ChangeBaud = 9,
  // The modem utilities: no logger is woken.
  RemoteModemSetup = 10,
  ComTest = 11,
};

enum class LinkState : std::uint32_t {
  Idle = 0,
  AwaitWakeReply = 1,
  AwaitIdentification = 2,
  AwaitReply = 3,
  AwaitData = 4,
  ModemSetup = 5,
  Dialling = 6,
  Connected = 7,
  RemoteModemSetup = 8,
  ComTest = 9,
  AwaitSchedule = 12,
  FastStart = 20,
};

// The two numbers a four-character identification line carries, shown in the
// status display beside the date code.
struct IdentificationDigits {
  int first = 0;   // code of character 3 minus 48
  int second = 0;  // code of character 4 plus 48
  friend bool operator==(const IdentificationDigits&, const IdentificationDigits&) = default;
};

std::string_view stateName(LinkState state);
std::string_view kindName(ExchangeKind kind);

constexpr int kindNumber(ExchangeKind kind) { return static_cast<int>(kind); }

}  // namespace brevik::link
