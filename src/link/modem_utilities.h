#pragma once
// The two modem utilities as exchanges of the engine. Neither wakes a
// logger: each opens the port itself, sends one modem command and judges
// what comes back.
//
// RemoteModemSetup readies a modem that will stand at a logger site, cabled
// to the PC: "AT&F0E0" (factory settings, echo off), then, once the modem
// says OK and has settled, the remote modem set-up string.
//
// ComTest checks the PC's port and cable at 1200 baud: after a DTR pulse
// "AT" goes out; a cable looped back at its far end returns it, a modem
// answers OK, anything else is a mismatch, nothing at all a failure.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/cp1252.h"
#include "link/link_types.h"

namespace brevik::link {

class ExchangeEngine;

inline constexpr std::string_view kUtilityPortText = "Impossible d'ouvrir le Port désigné SVP vérifier"_cp;
inline constexpr std::string_view kModemConfiguredText = "Modem configured as remote";
inline constexpr std::string_view kBadModemResponseText = "Bad response from modem: ";
inline constexpr std::string_view kInvalidModemResponseText = "Invalid response from modem. ";
inline constexpr std::string_view kComTestOkText = "Com Test OK";
inline constexpr std::string_view kModemOnPortText = "A modem is connected to the selected Com Port.";
inline constexpr std::string_view kDataMismatchText = "Data sent does not match data received.";
inline constexpr std::string_view kNoReceptionText = "Test échec  - Pas de réception."_cp;
inline constexpr std::string_view kModemResetCommand = "AT&F0E0";
inline constexpr std::string_view kComTestCommand = "AT";
inline constexpr std::uint32_t kComTestBaud = 1200;

// One utility exchange, driven by the engine in its RemoteModemSetup or
// ComTest state.
class ModemUtility {
 public:
  virtual ~ModemUtility() = default;
  // Opens the port and sends the first command.
  virtual void begin() = 0;
  // A complete line (without its CR), and the time-out.
  virtual void onLine(const std::string& line) = 0;
  virtual void onTimeout() = 0;
};

bool isModemUtility(ExchangeKind kind);
std::unique_ptr<ModemUtility> makeModemUtility(ExchangeKind kind, ExchangeEngine& engine);

}  // namespace brevik::link
