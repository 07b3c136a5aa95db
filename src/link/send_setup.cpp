#include "link/send_setup.h"

#include "setup/setup_file.h"

namespace brevik::link {

protocol::ValidationOutcome askSetupQuestions(const setup::LoggerConfiguration& configuration, Prompter& prompter,
                                              const protocol::ValidationContext& context) {
  return protocol::validateConfiguration(configuration, context, [&prompter](const protocol::ValidationQuestion& q) {
    const Buttons buttons = q.buttons == protocol::ValidationButtons::Ok ? Buttons::Ok : Buttons::OkCancel;
    const Answer answer = prompter.ask(Message{MessageKind::Warning, q.text, buttons, 0});
    return answer == Answer::Ok;
  });
}

bool validateAndSend(ExchangeEngine& engine, const setup::LoggerConfiguration& configuration, Prompter& prompter,
                     const Clock& clock, bool commandLineSend) {
  LinkContext& ctx = engine.context();
  const protocol::ValidationContext context{clock.now(), commandLineSend || ctx.autoAnswerCall(), ctx.labelsOnly};
  if (askSetupQuestions(configuration, prompter, context) == protocol::ValidationOutcome::Stop) {
    // Nothing was opened yet; the exchange kind set by the caller is dropped.
    ctx.kind = ExchangeKind::None;
    return false;
  }
  ctx.kind = ExchangeKind::SendSetup;
  engine.openLink();
  return true;
}

bool sendNamedSetupFile(ExchangeEngine& engine, ExchangeHost& host, setup::SetupDocument& document,
                        std::string_view nameWithoutExtension, const std::filesystem::path& home, const Clock& clock,
                        Prompter& prompter) {
  if (auto loaded = document.loadNamedForSend(nameWithoutExtension, home, clock); !loaded) {
    engine.endExchange();
    host.logEntry(loaded.error().message);
    host.autoAnswerHangUp();
    return false;
  }
  return validateAndSend(engine, document.current, prompter, clock, true);
}

bool sendCommandLineSetupFile(ExchangeEngine& engine, setup::SetupDocument& document, std::string_view setupFileName,
                              const std::filesystem::path& home, const Clock& clock, Prompter& prompter) {
  const std::filesystem::path path = setup::resolveSetupFileName(setupFileName, home);
  if (auto loaded = document.load(path, clock); !loaded) {
    engine.context().kind = ExchangeKind::None;
    engine.report(Report{Message{MessageKind::Error, setup::sendSetupNotFoundText(setupFileName), Buttons::Ok, 0},
                         CommandLineFlags::Setup, std::nullopt, std::nullopt});
    return false;
  }
  // What the setup window's SEND does first: the form goes into the record.
  document.form.collect(document.current);
  return validateAndSend(engine, document.current, prompter, clock, true);
}

}  // namespace brevik::link
