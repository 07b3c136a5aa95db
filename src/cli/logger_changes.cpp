#include "cli/logger_changes.h"

#include <algorithm>
#include <ostream>

#include "settings/logger_settings.h"

namespace brevik::cli {

std::optional<std::string> takeOneValue(std::vector<std::string> args, LinkOptions& options, std::ostream& err,
                                        const char* commandName, const char* usage) {
  if (auto problem = takeLinkOptions(args, options)) {
    err << "kaldo " << commandName << ": " << *problem << "\n" << usage;
    return std::nullopt;
  }
  if (args.size() != 1) {
    err << usage;
    return std::nullopt;
  }
  return args[0];
}

namespace {

std::optional<std::uint32_t> parseDecimal(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

}  // namespace

std::optional<std::uint8_t> parseStationAddress(std::string_view text) {
  const auto value = parseDecimal(text, 3);
  if (!value || *value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

std::optional<std::uint32_t> parseLoggerBaud(std::string_view text) {
  const auto value = parseDecimal(text, 5);
  if (!value) return std::nullopt;
  const auto& rates = settings::kBaudRates;
  if (std::find(rates.begin(), rates.end(), *value) == rates.end()) return std::nullopt;
  return value;
}

std::string loggerBaudList() {
  std::string list;
  for (const std::uint32_t rate : settings::kBaudRates) list += (list.empty() ? "" : ", ") + std::to_string(rate);
  return list;
}

std::optional<link::ExchangeOutcome> programStationAddress(LinkSession& session, std::uint8_t address) {
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::StationAddressKind;
  request.newStationAddress = address;
  return session.run(std::move(request));
}

std::optional<link::ExchangeOutcome> changeLoggerBaud(LinkSession& session, std::uint32_t baud) {
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::ChangeBaud;
  request.targetBaud = baud;
  return session.run(std::move(request));
}

}  // namespace brevik::cli
