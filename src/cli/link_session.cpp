#include "cli/link_session.h"

namespace brevik::cli {

namespace {

// Longer than any set-up or status exchange at any baud.
constexpr link::Ticks kExchangeLimit = 182 * 180;

}  // namespace

std::optional<std::string> takeLinkOptions(std::vector<std::string>& args, LinkOptions& options) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    switch (takeLinkOption(args, i, options)) {
      case OptionTaken::Yes: break;
      case OptionTaken::Malformed: return "--port needs a device";
      case OptionTaken::No: rest.push_back(args[i]); break;
    }
  }
  args = std::move(rest);
  return std::nullopt;
}

LinkSession::LinkSession(Context& ctx, const char* commandName, settings::LoggerSettings& settings,
                         const LinkOptions& options, const Clock& clock)
    : ctx_(ctx),
      name_(commandName),
      settings_(settings),
      prompter_(*ctx.out),
      view_(*ctx.err),
      host_(*ctx.out, *ctx.err) {
  if (const auto failed = assembleLink(ctx, commandName, settings, options, clock, link_)) {
    exitCode_ = *failed;
    return;
  }
  engine_ = std::make_unique<link::ExchangeEngine>(
      link::LinkPorts{link_.driver->port(), link_.driver->ticks(), view_, prompter_, host_}, settings);
  if (link_.traceSink) engine_->setTraceSink(link_.traceSink.get());
  exitCode_ = kExitOk;
}

bool LinkSession::run(link::ExchangeKind kind) {
  engine_->context().kind = kind;
  engine_->openLink();
  return runStarted();
}

bool LinkSession::runStarted() {
  const bool ended = link_.driver->runUntil(
      [&] { return engine_->context().kind == link::ExchangeKind::None || host_.quitRequested(); },
      kExchangeLimit);
  if (!ended) {
    engine_->endExchange();
    *ctx_.err << "kaldo " << name_ << ": the exchange did not end; stopped\n";
  }
  return ended;
}

void LinkSession::explainFailure() const { explainFailedLink(ctx_, name_, settings_, link_); }

}  // namespace brevik::cli
