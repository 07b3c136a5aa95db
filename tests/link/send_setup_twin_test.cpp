// A set-up sent to the virtual logger through the real exchange engine, and
// read back by a status exchange.

#include <gtest/gtest.h>

#include "engine_harness.h"
#include "program/send_setup.h"
#include "program/setup_configuration_source.h"
#include "link/virtual_ticks.h"
#include "protocol/status_decode.h"
#include "setup/status_setup_view.h"
#include "protocol/vocabulary.h"
#include "setup/setup_model.h"
#include "sim/logger_twin.h"
#include "sim/virtual_serial_port.h"
#include "setup/setup_file.h"
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

struct TwinBench {
  explicit TwinBench(sim::LoggerProfile profile) : twin(std::move(profile), kNow) {
    port.attach(twin);
    settings.FastProtocol = 0;
    settings.BaudRate = 9600;
    settings.NetworkMode = 0;
    settings.UseModem = 0;
    settings.LastRevision = twin.profile().revision;
    engine.setConfigurationSource(&source);
    engine.setStatusReplyHandler(&replies);
    replies.then = [this](std::string_view) { engine.endExchange(); };
  }

  bool send() {
    const bool started =
        program::validateAndSend(engine, configuration, prompter, clock, false, next, recorder.callback());
    ticks.runUntilIdle(20000);
    return started;
  }

  protocol::LoggerStatus readStatus() {
    engine.start(ExchangeRequest{}, recorder.callback());
    ticks.runUntilIdle(20000);
    EXPECT_FALSE(replies.replies.empty());
    const auto decoded = protocol::decodeStatusReply(replies.replies.back(), {}, clock,
                                                     protocol::homeTableReader(brevik::testing::dataDir()));
    EXPECT_TRUE(decoded.accepted());
    return decoded.status;
  }

  FixedClock clock{kNow};
  VirtualTicks ticks;
  sim::LoggerTwin twin;
  sim::VirtualSerialPort port{ticks};
  ScriptedObserver observer;
  ScriptedPrompter prompter;
  RecordingHost host;
  settings::LoggerSettings settings;
  ExchangeEngine engine{{port, ticks, observer, prompter, host}, settings};
  setup::LoggerConfiguration configuration = setup::LoggerConfiguration::builtInDefault(clock);
  program::SetupConfigurationSource source{configuration, settings, engine.context(), clock};
  testing::LambdaReplies replies;
  ExchangeRequest next;
  testing::OutcomeRecorder recorder;
};

TEST(SendSetupToTwin, StatusShowsTheNewSetUp) {
  TwinBench bench{sim::LoggerProfile{}};
  setup::LoggerConfiguration& c = bench.configuration;
  c.setRateCode('G');
  c.setSessionDescription("Serre nord");
  c.setChannelDescription(2, "Sonde sol");
  c.setChannelOn(4, false);
  c.setScaleCode(2, '3');
  c.setScaleText(2, "-5.00010.000");
  c.setScaleCode(3, '1');
  c.setTableName(3, "MYTAB");
  c.setInputModes(static_cast<std::uint16_t>(2 << 3));
  c.setModes(0, 1);
  c.setResolution(setup::kResolution12Bit);
  ASSERT_TRUE(bench.send());

  // One memory question, then the success message.
  ASSERT_EQ(bench.prompter.messages.size(), 2u);
  EXPECT_EQ(bench.prompter.messages[0].text, setup::memoryErasedText());
  EXPECT_EQ(bench.prompter.messages[1].text.rfind("EnregisKaldo ", 0), 0u) << bench.prompter.messages[1].text;

  const protocol::LoggerStatus status = bench.readStatus();
  EXPECT_EQ(status.rateCode, 'G');
  EXPECT_EQ(status.session.substr(0, 10), "Serre nord");
  EXPECT_EQ(status.descriptions[1].substr(0, 9), "Sonde sol");
  EXPECT_EQ(status.channelBits & 0x0F, 0x07);
  EXPECT_EQ(status.typeCodes[1], '3');
  EXPECT_EQ(status.channelRecords[1], "-5.00010.000");
  EXPECT_EQ(status.typeCodes[2], '1');
  EXPECT_EQ(status.channelRecords[2].substr(0, 5), "MYTAB");
  EXPECT_EQ(protocol::inputModeOf(status.inputModes, 2), 2);
  EXPECT_TRUE(status.isRing());

  // The status fills the form back with the same set-up.
  setup::SetupModel form;
  form.populateFromStatus(setup::statusSetupView(status));
  setup::LoggerConfiguration back = c;
  form.collect(back);
  EXPECT_EQ(back.scaleText(2), c.scaleText(2));
  EXPECT_EQ(back.tableName(3), "MYTAB");
  EXPECT_EQ(back.rateCode(), 'G');
  EXPECT_EQ(back.stopMode(), 1);
}

TEST(SendSetupToTwin, CancelSendsNothing) {
  TwinBench bench{sim::LoggerProfile{}};
  bench.prompter.answers = {Answer::Cancel};
  EXPECT_FALSE(bench.send());
  EXPECT_EQ(bench.engine.context().kind, ExchangeKind::None);
  EXPECT_FALSE(bench.port.isOpen());
  EXPECT_EQ(bench.prompter.messages.size(), 1u);
}

TEST(SendSetupToTwin, RateNotSupportedByTheRevision) {
  sim::LoggerProfile old;
  old.revision = 'G';
  old.wakeAnswer = sim::WakeAnswer::ReplyByte;  // identified by its "KG" line
  TwinBench bench{old};
  bench.configuration.setRateCode('8');  // 10 per second needs 'H'
  bench.configuration.setModes(0, 0);
  bench.send();
  ASSERT_FALSE(bench.prompter.messages.empty());
  const Message& last = bench.prompter.messages.back();
  EXPECT_EQ(last.text, "Logger does not support selected sample rate");
  EXPECT_EQ(last.kind, MessageKind::Information);
  EXPECT_EQ(bench.twin.state().rate, 'J');  // the logger keeps its set-up
}

TEST(SendSetupToTwin, OldFirmwareRefusesLinearScalingWithAWarning) {
  sim::LoggerProfile old;
  old.revision = '9';
  old.wakeAnswer = sim::WakeAnswer::ReplyByte;
  TwinBench bench{old};
  bench.configuration.setScaleCode(1, '3');
  bench.send();
  ASSERT_FALSE(bench.prompter.messages.empty());
  const Message& last = bench.prompter.messages.back();
  EXPECT_EQ(last.kind, MessageKind::Warning);
  EXPECT_EQ(last.text.rfind("Scaling values are not supported in this Brevik Logger\r", 0), 0u);
}

TEST(SendSetupToTwin, OldFirmwareGetsThreeMessagesAndTheTableDigit) {
  sim::LoggerProfile old;
  old.revision = '9';
  old.wakeAnswer = sim::WakeAnswer::ReplyByte;
  TwinBench bench{old};
  bench.configuration.setScaleCode(3, '1');
  bench.configuration.setTableName(3, "7");
  bench.configuration.setSessionDescription("Ancien");
  ASSERT_TRUE(bench.send());
  EXPECT_EQ(bench.engine.context().partCount, 3);
  EXPECT_EQ(bench.engine.context().configurationParts[0].front(), '1');
  EXPECT_EQ(bench.twin.state().types, "CC7C");
  EXPECT_EQ(bench.twin.state().session.substr(0, 6), "Ancien");
  EXPECT_EQ(bench.prompter.messages.back().text.rfind("EnregisKaldo ", 0), 0u);
}

TEST(ConfigurationTarget, LastStatusOrLastRevision) {
  settings::LoggerSettings settings;
  settings.LastRevision = 'q';
  EXPECT_EQ(program::configurationTarget(nullptr, settings, false).revision, 'q');
  settings.LastRevision = '5';
  const auto old = program::configurationTarget(nullptr, settings, true);
  EXPECT_TRUE(old.oldFirmware);
  EXPECT_EQ(old.revision, 'A');
  EXPECT_TRUE(old.labelsOnly);
  settings.LastRevision = '\0';  // never written: not taken for old firmware
  EXPECT_FALSE(program::configurationTarget(nullptr, settings, false).oldFirmware);
  protocol::LoggerStatus status;
  status.revision = 'L';
  EXPECT_EQ(program::configurationTarget(&status, settings, false).revision, 'L');
}

}  // namespace
}  // namespace brevik::link

namespace brevik::link {
namespace {

TEST(SendNamedSetupFile, MissingFileIsLoggedAndTheCallHungUp) {
  brevik::testing::TempDir dir;
  TwinBench bench{sim::LoggerProfile{}};
  setup::SetupDocument document;
  EXPECT_FALSE(program::sendNamedSetupFile(bench.engine, bench.host, document, "site9", dir.path(), bench.clock,
                                  bench.prompter, {}, bench.recorder.callback()));
  EXPECT_EQ(bench.host.logEntries, std::vector<std::string>{"Impossible d'envoi  ; site9.set not found"});
  EXPECT_EQ(bench.host.autoAnswerHangUps, 1);
  EXPECT_TRUE(bench.prompter.messages.empty());
  EXPECT_FALSE(bench.port.isOpen());
}

TEST(SendNamedSetupFile, SendsWithoutQuestions) {
  brevik::testing::TempDir dir;
  TwinBench bench{sim::LoggerProfile{}};
  setup::LoggerConfiguration site = setup::LoggerConfiguration::builtInDefault(bench.clock);
  site.setRateCode('K');
  site.setSessionDescription("Site 9");
  ASSERT_TRUE(setup::writeSetupFile(dir / "site9.set", site).ok());
  setup::SetupDocument document;
  program::SetupConfigurationSource source{document.current, bench.settings, bench.engine.context(), bench.clock};
  bench.engine.setConfigurationSource(&source);
  ASSERT_TRUE(program::sendNamedSetupFile(bench.engine, bench.host, document, "site9", dir.path(), bench.clock,
                                 bench.prompter, {}, bench.recorder.callback()));
  bench.ticks.runUntilIdle(20000);
  EXPECT_EQ(document.form.fileNameLabel, "site9.set");
  EXPECT_EQ(bench.twin.state().rate, 'K');
  EXPECT_EQ(bench.twin.state().session.substr(0, 6), "Site 9");
  ASSERT_EQ(bench.prompter.messages.size(), 1u);  // only the outcome
  EXPECT_EQ(bench.prompter.messages[0].text.rfind("EnregisKaldo ", 0), 0u);
}

}  // namespace
}  // namespace brevik::link
