// The command-line send of a setup file (mode s) through the real exchange
// engine to the virtual logger: which file is read, what is asked, and how
// the run ends.

#include <gtest/gtest.h>

#include "engine_harness.h"
#include "program/send_setup.h"
#include "program/setup_configuration_source.h"
#include "link/virtual_ticks.h"
#include "setup/setup_document.h"
#include "setup/setup_file.h"
#include "sim/logger_twin.h"
#include "sim/virtual_serial_port.h"
#include "support/outcome_recorder.h"
#include "support/scripted_observer.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace brevik::link {
namespace {

using testing::RecordingHost;
using testing::ScriptedObserver;
using testing::ScriptedPrompter;

const DateTime kNow{2024, 3, 5, 10, 20, 30, 0, 2};

struct CommandLineBench {
  CommandLineBench() : twin(sim::LoggerProfile{}, kNow) {
    port.attach(twin);
    settings.FastProtocol = 0;
    settings.BaudRate = 9600;
    settings.LastRevision = twin.profile().revision;
    engine.setConfigurationSource(&source);
  }

  void writeSetup(const std::filesystem::path& path, const std::function<void(setup::LoggerConfiguration&)>& change = {}) {
    setup::LoggerConfiguration c = setup::LoggerConfiguration::builtInDefault(clock);
    c.setSessionDescription("Serre nord");
    if (change) change(c);
    ASSERT_TRUE(setup::writeSetupFile(path, c).ok());
  }

  bool send(const std::string& setupFileName) {
    settings.SetupFileName = setupFileName;
    const bool started =
        program::sendCommandLineSetupFile(engine, document, setupFileName, home.path(), clock, prompter,
                                          commandLineRequest(), recorder.callback());
    ticks.runUntilIdle(20000);
    return started;
  }

  std::vector<std::string> questions() const {
    std::vector<std::string> out;
    for (const Message& m : prompter.messages) out.push_back(m.text);
    return out;
  }

  testing::TempDir home;
  FixedClock clock{kNow};
  VirtualTicks ticks;
  sim::LoggerTwin twin;
  sim::VirtualSerialPort port{ticks};
  ScriptedObserver observer;
  ScriptedPrompter prompter;
  RecordingHost host;
  settings::LoggerSettings settings;
  ExchangeEngine engine{{port, ticks, observer, prompter, host}, settings};
  setup::SetupDocument document;
  program::SetupConfigurationSource source{document.current, settings, engine.context(), clock};
  testing::OutcomeRecorder recorder;

  static ExchangeRequest commandLineRequest() {
    ExchangeRequest request;
    request.run.commandLineSetup = true;
    return request;
  }
};

TEST(CommandLineSend, SendsTheNamedFileAndEndsWithTheNewConfiguration) {
  // The mode letter accepts the extension in any case; an absolute name is
  // taken as it stands.
  testing::TempDir elsewhere;
  for (const bool absolute : {false, true}) {
    CommandLineBench b;
    const std::filesystem::path path = absolute ? elsewhere.path() / "Site.SET" : b.home.path() / "SITE.SET";
    b.writeSetup(path);
    const std::string name = absolute ? path.string() : "SITE.SET";
    EXPECT_TRUE(b.send(name)) << name;
    EXPECT_EQ(b.host.quits, std::vector<std::string>{"Running new configuration: " + name});
    EXPECT_TRUE(b.prompter.messages.empty()) << "nobody is there to answer";
    EXPECT_EQ(b.document.current.sessionDescription().rfind("Serre nord", 0), 0u);
    EXPECT_EQ(b.twin.state().session.rfind("Serre nord", 0), 0u);
    EXPECT_EQ(b.engine.context().kind, ExchangeKind::None);
  }
}

TEST(CommandLineSend, MissingFileIsReportedAndNothingIsSent) {
  CommandLineBench b;
  EXPECT_FALSE(b.send("gone.set"));
  EXPECT_EQ(b.host.quits, std::vector<std::string>{"Impossible d'envoi  ; gone.set not found"});
  EXPECT_FALSE(b.port.isOpen());
  EXPECT_EQ(b.engine.context().kind, ExchangeKind::None);
}

TEST(CommandLineSend, OnlyTheFastRateChecksAreAsked) {
  // One reading a second: the fast-rate warning is still asked; the erase
  // question that follows for an interactive send is not.
  for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
    CommandLineBench b;
    b.writeSetup(b.home.path() / "fast.set", [](setup::LoggerConfiguration& c) {
      c.setRateCode('9');
      c.setModes(0, 0);
    });
    b.prompter.answers = {answer};
    const bool sent = b.send("fast.set");
    ASSERT_EQ(b.questions().size(), 1u);
    EXPECT_EQ(b.questions()[0].rfind("Grande vitesse", 0), 0u) << b.questions()[0];
    EXPECT_EQ(sent, answer == Answer::Ok);
    EXPECT_EQ(b.host.quits.size(), answer == Answer::Ok ? 1u : 0u);
  }
}

}  // namespace
}  // namespace brevik::link
