#pragma once
// The run-time state the program derives at start-up and never persists: the
// current data file, the memory size of the last logger model, the titles,
// the command-line flags and the link counters.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/logger_settings.h"

namespace brevik::settings {

inline constexpr std::string_view kProductTitle = "KALDO  Logger";  // two blanks, 13 characters
inline constexpr std::string_view kApplicationTitle = "Brevik Logger";
inline constexpr std::string_view kHelpFileName = "Kvl.hlp";

// Memory capacity (readings) and full-scale count of a logger resolution
// code as the settings remember it (LastModelCode).
struct MemoryGeometry {
  std::uint32_t capacity = 0;
  std::uint16_t fullScale = 0;
  friend bool operator==(const MemoryGeometry&, const MemoryGeometry&) = default;
};

// 1 -> 8 bit, 2 -> 10 bit, 3 -> 12 bit; any other code is unknown until the
// first status reply, and gives 0 and 0.
MemoryGeometry memoryGeometryOf(std::uint8_t lastModelCode);

// What the command line asked for; set once at start-up.
struct CommandLineFlags {
  bool setupSend = false;
  bool receive = false;
  bool csv = false;
  bool openGraph = false;
  bool actionStarted = false;  // the command-line action has begun (first paint)
  friend bool operator==(const CommandLineFlags&, const CommandLineFlags&) = default;
};

struct RuntimeGlobals {
  std::string currentDataFileName;  // Windows-1252
  std::uint32_t memoryCapacity = 0;
  std::uint16_t fullScale = 0;
  std::string productTitle{kProductTitle};
  std::string applicationTitle{kApplicationTitle};
  char downloadBank = 'A';
  CommandLineFlags flags;
  bool linkUp = false;  // a modem call is up
  // The exchange kind and the exchange counters (retries, blocks, the
  // auto-answer counter) belong to the link context, which starts them at
  // none and 0; they are not repeated here.
};

// The globals as start-up sets them from freshly loaded settings.
RuntimeGlobals initialGlobals(const LoggerSettings& settings);

}  // namespace brevik::settings
