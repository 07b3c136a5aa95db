#include "program/send_setup.h"

#include "setup/setup_file.h"

namespace brevik::program {

setup::ValidationOutcome askSetupQuestions(const setup::LoggerConfiguration& configuration, Prompter& prompter,
                                              const setup::ValidationContext& context) {
  return setup::validateConfiguration(configuration, context, [&prompter](const setup::ValidationQuestion& q) {
    const Buttons buttons = q.buttons == setup::ValidationButtons::Ok ? Buttons::Ok : Buttons::OkCancel;
    const Answer answer = prompter.ask(Message{MessageKind::Warning, q.text, buttons, 0});
    return answer == Answer::Ok;
  });
}

bool validateAndSend(link::ExchangeEngine& engine, const setup::LoggerConfiguration& configuration, Prompter& prompter,
                     const Clock& clock, bool commandLineSend, link::ExchangeRequest request,
                     link::OutcomeCallback done) {
  const bool unasked = commandLineSend || request.run.answeredCall || engine.context().autoAnswerCall();
  const setup::ValidationContext context{clock.now(), unasked, request.labelsOnly};
  if (askSetupQuestions(configuration, prompter, context) == setup::ValidationOutcome::Stop) return false;
  request.kind = link::ExchangeKind::SendSetup;
  engine.start(std::move(request), std::move(done));
  return true;
}

bool sendNamedSetupFile(link::ExchangeEngine& engine, link::ExchangeHost& host, setup::SetupDocument& document,
                        std::string_view nameWithoutExtension, const std::filesystem::path& home, const Clock& clock,
                        Prompter& prompter, link::ExchangeRequest request, link::OutcomeCallback done) {
  if (auto loaded = document.loadNamedForSend(nameWithoutExtension, home, clock); !loaded) {
    engine.endExchange();
    host.logEntry(loaded.error().message);
    host.autoAnswerHangUp();
    return false;
  }
  return validateAndSend(engine, document.current, prompter, clock, true, std::move(request), std::move(done));
}

bool sendCommandLineSetupFile(link::ExchangeEngine& engine, setup::SetupDocument& document, std::string_view setupFileName,
                              const std::filesystem::path& home, const Clock& clock, Prompter& prompter,
                              link::ExchangeRequest request, link::OutcomeCallback done) {
  const std::filesystem::path path = setup::resolveSetupFileName(setupFileName, home);
  if (auto loaded = document.load(path, clock); !loaded) {
    engine.report(link::Report{Message{MessageKind::Error, setup::sendSetupNotFoundText(setupFileName), Buttons::Ok, 0},
                         link::CommandLineFlags::Setup, std::nullopt, std::nullopt},
                  request.run);
    return false;
  }
  // What the setup window's SEND does first: the form goes into the record.
  document.form.collect(document.current);
  return validateAndSend(engine, document.current, prompter, clock, true, std::move(request), std::move(done));
}

}  // namespace brevik::program
