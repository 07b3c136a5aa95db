#include "link/status_reply_flow.h"

#include "common/cp1252.h"
#include "protocol/download_precheck.h"
#include "protocol/vocabulary.h"

namespace brevik::link {

namespace {

Report information(std::string text, CommandLineFlags flags = CommandLineFlags::None) {
  return Report{Message{MessageKind::Information, std::move(text), Buttons::Ok, 0}, flags,
                std::nullopt, std::nullopt};
}

}  // namespace

void StatusReplyFlow::processStatusReply(std::string_view reply) {
  LinkContext& ctx = engine_.linkContext();

  // A garbled reply is asked for again once; a second one ends the exchange.
  protocol::StatusDecodeResult decoded = steps_.decode(reply);
  if (decoded.outcome == protocol::StatusOutcome::Rejected) return onRejected(reply);
  rejections_ = 0;
  // A channel whose scaling table cannot be read makes the status useless.
  if (decoded.outcome == protocol::StatusOutcome::TableFailed) {
    ctx.scalingFailed = true;
    if (decoded.tableError) engine_.report(information(decoded.tableError->message, CommandLineFlags::Receive));
    return engine_.endExchange();
  }
  lastStatus_ = decoded.status;
  const protocol::LoggerStatus& status = *lastStatus_;

  // An answered call always downloads, in an exchange of its own.
  if (ctx.autoAnswerCall() && ctx.kind != ExchangeKind::Receive) {
    engine_.endExchange();
    ctx.dataFileName = steps_.autoAnswerFileName(status);
    steps_.fillStatusForm(status);
    ctx.kind = ExchangeKind::Receive;
    // The new exchange asks for the status again; its reply comes back here
    // as a Receive and goes on to the download.
    engine_.openLink();
    return;
  }

  // The status form shows every status read, whatever follows.
  steps_.fillStatusForm(status);

  // What the exchange goes on to depends on what it was asked for.
  switch (ctx.kind) {
    case ExchangeKind::RealTime:
      startRealTime(status);
      break;
    case ExchangeKind::Status:
      requestSchedule(status);
      break;
    case ExchangeKind::Receive:
      precheckAndDownload(status);
      break;
    default:
      engine_.endExchange();
      break;
  }

  // The real-time graph shows its readings in its own window.
  if (!ctx.realTimeGraph) steps_.showStatusForm();
}

void StatusReplyFlow::onRejected(std::string_view reply) {
  LinkContext& ctx = engine_.linkContext();
  ++rejections_;
  if (rejections_ == 1) {
    // One garbled reply is asked for again. The garbled line may have come
    // ahead of the real answer (noise on the line): that answer is let
    // through and dropped first, or it would pass for the answer to the
    // resend, and the resend's own answer for the next reply expected.
    engine_.sendAgainWhenQuiet(ctx.lastCommand);
    return;
  }
  rejections_ = 0;
  const std::string text = protocol::invalidResponseText(reply, ctx.lastCommand);
  engine_.endExchange();
  engine_.report(information(text, CommandLineFlags::Receive));
}

void StatusReplyFlow::startRealTime(const protocol::LoggerStatus& status) {
  LinkContext& ctx = engine_.linkContext();
  const char revision = status.revision;
  if (!protocol::revisionSupportsRealTime(revision, false)) {
    ctx.kind = ExchangeKind::None;
    engine_.endExchange();
    engine_.report(information(
        "Real Time mode not supported in this logger; a firmware upgrade is available; contact "
        "factory for details."));
    return;
  }
  if (engine_.settings().UseModem != 0 && !protocol::revisionSupportsRealTime(revision, true)) {
    engine_.endExchange();
    engine_.report(information("Real Time is not available on this logger when using modems"));
    return;
  }
  ctx.realTime = true;
  // The display runs until the user ends it; a lost link fails it.
  engine_.succeed();
  engine_.setState(LinkState::AwaitData);
  engine_.sendCommand(protocol::revisionSendsReadingsOnRequest(revision) ? "Y" : "Z");
}

void StatusReplyFlow::requestSchedule(const protocol::LoggerStatus& status) {
  if (auto csv = steps_.csvFileName()) {
    if (Status written = steps_.appendReadingsLine(*csv, status); !written) {
      engine_.endExchange();
      engine_.report(information(written.error().message, CommandLineFlags::Receive));
      return;
    }
    engine_.logEntry("Data written to " + *csv);
  }
  // The status is read: what follows (the schedule) only adds to it.
  engine_.succeed();
  engine_.setState(LinkState::AwaitSchedule);
  engine_.sendCommand("DA01D0");
}

void StatusReplyFlow::precheckAndDownload(const protocol::LoggerStatus& status) {
  LinkContext& ctx = engine_.linkContext();
  const protocol::PrecheckResult check = protocol::downloadPrecheck(status);
  if (check.proceeds()) {
    if (Status started = steps_.startDownload(status); !started) {
      engine_.endExchange();
      engine_.report(Report{Message{MessageKind::Error, started.error().message, Buttons::Ok, 0},
                            CommandLineFlags::Receive, std::nullopt, std::nullopt});
    }
    return;
  }
  if (ctx.autoAnswerCall()) {
    // Nothing to fetch: the configuration goes again later, which ends the call.
    engine_.logEntry(protocol::precheckLogLine(check, status));
    engine_.endExchange();
    engine_.startTimer2(kEmptyCallPause);
    return;
  }
  engine_.endExchange();
  engine_.report(information(protocol::precheckMessage(check), CommandLineFlags::Receive));
}

}  // namespace brevik::link
