#include "program/hang_up.h"

#include <array>
#include <string_view>

#include "settings/command_line.h"

namespace brevik::program {

namespace {

struct ScriptItem {
  enum class Op { Wait, Dtr, Send };
  Op op;
  link::Ticks ticks = 0;
  bool dtr = false;
  std::string_view bytes{};
};

using Op = ScriptItem::Op;

// DTR pulse first: most modems drop the call on it. The escape sequence and
// ATH follow for modems set to ignore DTR; the 28-tick guard times around
// "+++" are what the escape needs to be recognised.
constexpr std::array<ScriptItem, 14> kScript = {{
    {Op::Dtr, 0, true},
    {Op::Wait, 4},
    {Op::Dtr, 0, false},
    {Op::Wait, 9},
    {Op::Dtr, 0, true},
    {Op::Wait, 9},
    {Op::Wait, 28},
    {Op::Send, 0, false, "+++"},
    {Op::Wait, 28},
    {Op::Send, 0, false, "ATH\r"},
    {Op::Wait, 28},
    {Op::Send, 0, false, "+++"},
    {Op::Wait, 28},
    {Op::Send, 0, false, "ATH\r"},
}};

}  // namespace

ModemHangUp::ModemHangUp(link::SerialPort& port, link::TickScheduler& scheduler)
    : port_(&port), scheduler_(&scheduler) {}

ModemHangUp::~ModemHangUp() {
  if (pending_ != 0) scheduler_->cancel(pending_);
  if (running_) port_->close();
}

void ModemHangUp::start(const settings::LoggerSettings& settings, Done done) {
  if (running_) return;
  running_ = true;
  done_ = std::move(done);
  firstFailure_ = Status();
  const auto portNumber = static_cast<link::PortNumber>(settings.PortNumber & 0xFFFF);
  if (Status opened = port_->open(portNumber, settings.BaudRate); !opened) {
    pending_ = scheduler_->after(0, [this, opened] {
      pending_ = 0;
      finish(opened);
    });
    return;
  }
  runFrom(0);
}

void ModemHangUp::runFrom(std::size_t index) {
  for (; index < kScript.size(); ++index) {
    const ScriptItem& item = kScript[index];
    Status step;
    switch (item.op) {
      case Op::Wait:
        pending_ = scheduler_->after(item.ticks, [this, index] {
          pending_ = 0;
          runFrom(index + 1);
        });
        return;
      case Op::Dtr:
        step = port_->setDtr(item.dtr);
        break;
      case Op::Send:
        step = port_->write(item.bytes);
        break;
    }
    if (!step && firstFailure_) firstFailure_ = step;
  }
  port_->close();
  finish(firstFailure_);
}

void ModemHangUp::finish(Status status) {
  running_ = false;
  Done done = std::move(done_);
  done_ = nullptr;
  if (done) done(status);
}

std::string hangUpLogText(const Status& outcome) {
  if (outcome) return std::string(settings::kHangUpDoneText);
  return "Modem not hung up: " + outcome.error().message;
}

void hangUpAndLog(ModemHangUp& hangUp, const settings::LoggerSettings& settings, const settings::UnattendedLog& log,
                  HangUpEnded ended) {
  hangUp.start(settings, [&log, ended = std::move(ended)](Status outcome) {
    settings::QuitRequest request = log.logAndQuit(hangUpLogText(outcome));
    request.hangUpModem = false;  // just done
    if (ended) ended(outcome, request);
  });
}

void hangUpAndQuit(ModemHangUp& hangUp, const settings::LoggerSettings& settings, const settings::UnattendedLog& log,
                   std::function<void(settings::QuitRequest)> quit) {
  hangUpAndLog(hangUp, settings, log, [quit = std::move(quit)](const Status&, settings::QuitRequest request) {
    if (quit) quit(request);
  });
}

void hangUpCall(link::ExchangeEngine& engine, link::SerialPort& port, link::TickScheduler& ticks,
                std::function<void()> done) {
  link::ExchangeTrace& trace = engine.trace();
  const auto finish = [&engine, &port, &trace, done = std::move(done)] {
    if (port.isOpen()) trace.event("close");
    port.close();
    engine.setCallUp(false);
    if (done) done();
  };
  if (!engine.context().linkUp || !port.isOpen()) {
    ticks.after(0, finish);
    return;
  }
  trace.beginExchange();
  trace.event("hang up");
  const auto dtr = [&port, &trace](bool raised) {
    trace.event(raised ? "dtr 1" : "dtr 0");
    (void)port.setDtr(raised);
  };
  dtr(true);
  ticks.after(4, [&ticks, dtr, finish] {
    dtr(false);
    ticks.after(9, [&ticks, dtr, finish] {
      dtr(true);
      ticks.after(9, finish);
    });
  });
}

}  // namespace brevik::program
