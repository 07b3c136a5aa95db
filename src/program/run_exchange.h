#pragma once
// Running one exchange to its end on a link driver, as kaldo and the tests
// do: one request, one outcome, one time limit for every exchange.

#include <cstdint>
#include <functional>
#include <optional>

#include "link/exchange_engine.h"
#include "link/exchange_request.h"
#include "link/link_driver.h"

namespace brevik::program {

// Longer than any exchange of its kind can take at any baud: a download of
// four 10-bit banks at 1200 baud with retries takes well under an hour; a
// status, a set-up or a baud change well under three minutes.
link::Ticks exchangeTimeLimit(link::ExchangeKind kind);

// Starts `request` and delivers events until its outcome. An exchange that
// has not ended within its time limit is stopped, and nothing is returned.
std::optional<link::ExchangeOutcome> runExchange(link::ExchangeEngine& engine, link::LinkDriver& driver,
                                                 link::ExchangeRequest request);

// The same for an exchange that `start` opens itself with the callback it
// is given (validate-and-send asks its questions first); `start` returns
// false when it opened nothing, and nothing is returned then either.
using ExchangeStarter = std::function<bool(link::OutcomeCallback done)>;
std::optional<link::ExchangeOutcome> runExchange(link::ExchangeEngine& engine, link::LinkDriver& driver,
                                                 link::ExchangeKind kind, const ExchangeStarter& start);

// Live readings (RealTime) have no end of their own, so their run has a rule
// of its own: it goes on as long as readings come, however many are asked
// for, and only a link gone quiet - no reading, good or bad, for
// exchangeTimeLimit(RealTime) since the last one (or since the start) - is
// cut.
struct ReadingsWatch {
  // The caller has what it asked for (its count, a stop request).
  std::function<bool()> enough;
  // Readings arrived so far, good or not.
  std::function<std::uint64_t()> arrivals;
  // Asked once enough: the logger streams its readings unasked, and is
  // stopped by waking it.
  std::function<bool()> streamsUnasked;
};

enum class ReadingsEnd {
  Ended,    // the exchange ended by itself (a failure, a logger without real time)
  Stopped,  // enough: the readings were ended
  Stalled,  // no reading within the time limit: the exchange was stopped
};

struct ReadingsRun {
  ReadingsEnd end = ReadingsEnd::Ended;
  // The outcome of the exchange that ended last: the RealTime exchange's, or
  // that of the EndRealTime wake-up that stopped a stream. Nothing when the
  // run stalled, or when that wake-up did not end within its time limit.
  std::optional<link::ExchangeOutcome> outcome;
};

// Runs the RealTime `request` until `watch.enough()`, then ends the readings
// as the real-time display's OK button does: a logger that streams them is
// woken (an EndRealTime exchange, run to its end), one that is asked for
// each reading is let go.
ReadingsRun runReadings(link::ExchangeEngine& engine, link::LinkDriver& driver, link::ExchangeRequest request,
                        const ReadingsWatch& watch);

}  // namespace brevik::program
