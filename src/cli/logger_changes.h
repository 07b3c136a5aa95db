#pragma once
// What kaldo station-address and change-baud share with their tests: the
// arguments they take, and the exchange each runs on a LinkSession (a test
// reads the status afterwards on the same virtual logger).

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/link_session.h"
#include "link/exchange_request.h"

namespace brevik::cli {

// The command line of either command: the link options and exactly one
// value. Nothing, after the problem and `usage` went to `err`, when it is
// not that.
std::optional<std::string> takeOneValue(std::vector<std::string> args, LinkOptions& options, std::ostream& err,
                                        const char* commandName, const char* usage);

// A station address: decimal digits only, 0 to 255.
std::optional<std::uint8_t> parseStationAddress(std::string_view text);
// A baud rate the logger can be told to run at: one of the program's rates.
std::optional<std::uint32_t> parseLoggerBaud(std::string_view text);
// "1200, 2400, ..., 57600", for the usage message.
std::string loggerBaudList();

// The logger gets `address`; the settings keep their own.
std::optional<link::ExchangeOutcome> programStationAddress(LinkSession& session, std::uint8_t address);
// The logger is told to run at `baud`; the settings' BaudRate follows, even
// when it never answered (the engine's rule).
std::optional<link::ExchangeOutcome> changeLoggerBaud(LinkSession& session, std::uint32_t baud);

}  // namespace brevik::cli
