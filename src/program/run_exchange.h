#pragma once
// Running one exchange to its end on a link driver, as kaldo and the tests
// do: one request, one outcome, one time limit for every exchange.

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

}  // namespace brevik::program
