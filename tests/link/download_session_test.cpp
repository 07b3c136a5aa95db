// The memory download against the virtual logger: requests and retries,
// the endings of a transfer with their texts, and what is left on disk.

#include "link/download_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp1252.h"
#include "download_rig.h"
#include "datafile/data_file_reader.h"
#include "link/download_rules.h"

namespace brevik::testing {
namespace {

using sim::FaultKind;

const std::string kEarlier = "an earlier download\r\n";

sim::LoggerProfile smallLogger(int resolution = 12) {
  sim::LoggerProfile p = rigProfile(resolution);
  p.pointer = 0x0800;
  return p;
}

// The status text the interactive ending shows for a file and a time.
std::string doneText(const std::string& name, long seconds) {
  return std::string("Transfert terminé: "_cp) + name + ", Temps mis   : " + std::to_string(seconds) +
         " seconds\r\rTrace Data?";
}

TEST(Download, PointerAt0x0800IsReadWithSixteenRequests) {
  DownloadRig rig(smallLogger(8));
  rig.receive();
  const auto requests = rig.memoryRequests();
  ASSERT_EQ(requests.size(), 16u);
  EXPECT_EQ(requests.front(), ">" + link::frameCommand("DA0200", 'q', 0));
  EXPECT_EQ(requests.back(), ">" + link::frameCommand("DA07A0", 'q', 0));
  EXPECT_EQ(rig.observer.blocks, 16u);
  EXPECT_FALSE(rig.observer.abortVisible);
  EXPECT_EQ(rig.ctx().state, link::LinkState::Idle);
  // One outcome, with the file and the counts.
  ASSERT_EQ(rig.recorder.outcomes.size(), 1u);
  EXPECT_EQ(rig.outcome().kind, link::ExchangeKind::Receive);
  EXPECT_TRUE(rig.outcome().succeeded);
  EXPECT_EQ(rig.outcome().fileWritten, rig.dataFile().string());
  EXPECT_EQ(rig.outcome().blocks, 16u);
  EXPECT_EQ(rig.outcome().badLines, 0u);

  // Header, sixteen lines exactly as received, nothing else.
  const std::string content = rig.dir.read("site1a.qx1");
  const auto lines = datafile::splitLines(content);
  ASSERT_EQ(lines.size(), 17u + 16u);
  for (std::size_t i = 17; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].size(), 194u);
    EXPECT_TRUE(link::replyChecksumOK(lines[i]));
  }
  EXPECT_EQ(rig.filesInDir(), std::vector<std::string>{"site1a.qx1"});
}

TEST(Download, InteractiveEndingBeepsShowsTimeAndAsksToTrace) {
  DownloadRig rig(smallLogger());
  rig.clock.set(rigTime());
  rig.download.startTransferTimer();
  DateTime later = rigTime();
  later.minute = 1;
  later.second = 5;
  rig.clock.set(later);
  rig.settings.AutoExport = 1;
  rig.receive();

  ASSERT_EQ(rig.prompter.messages.size(), 1u);
  const Message& m = rig.prompter.messages[0];
  EXPECT_EQ(m.text, doneText("site1a.qx1", 65));
  EXPECT_EQ(m.kind, MessageKind::Information);
  EXPECT_EQ(m.buttons, Buttons::YesNo);
  EXPECT_EQ(rig.observer.beeps, 1);
  EXPECT_EQ(rig.followUps.exports, std::vector<std::string>{rig.dataFile().string()});
  EXPECT_EQ(rig.followUps.graphs, std::vector<std::string>{rig.dataFile().string()});
  EXPECT_TRUE(rig.host.logEntries.empty());
}

TEST(Download, NoTraceWhenTheUserSaysNoAndNoExportWithoutAutoExport) {
  DownloadRig rig(smallLogger());
  rig.prompter.answers.push_back(Answer::No);
  rig.receive();
  ASSERT_EQ(rig.prompter.messages.size(), 1u);
  EXPECT_EQ(rig.prompter.messages[0].text, doneText("site1a.qx1", 0));
  EXPECT_TRUE(rig.followUps.graphs.empty());
  EXPECT_TRUE(rig.followUps.exports.empty());
}

TEST(Download, A158CharacterTwelveBitLineIsRefusedAndRequestedAgain) {
  DownloadRig rig(smallLogger(12));
  rig.faultsDuringDownload = faultRates({{FaultKind::Short, 0.3}});
  rig.receive();

  // Every 158-character line is followed by the same request again.
  int shortLines = 0;
  std::string lastSent;
  bool expectRepeat = false;
  for (const auto& l : rig.trace.lines) {
    const auto sent = l.find("] > >D");
    const auto got = l.find("] < ");
    if (sent != std::string::npos) {
      const std::string frame = l.substr(sent + 4);
      if (expectRepeat) {
        EXPECT_EQ(frame, lastSent);
      }
      expectRepeat = false;
      lastSent = frame;
    } else if (got != std::string::npos && l.size() - (got + 4) == 158) {
      ++shortLines;
      expectRepeat = true;
    }
  }
  EXPECT_GT(shortLines, 0);
  EXPECT_EQ(rig.ctx().badLineTotal, static_cast<std::uint32_t>(shortLines));
  EXPECT_EQ(rig.observer.blocks, 16u);
}

TEST(Download, ADuplicatedTwelveBitLineIsRefusedAndTheSameAddressAskedAgain) {
  DownloadRig rig(smallLogger(12));
  rig.faultsDuringDownload = faultRates({{FaultKind::Duplicate, 0.25}});
  rig.receive();

  std::vector<std::string> received;
  for (const auto& l : rig.trace.lines)
    if (const auto at = l.find("] < "); at != std::string::npos) received.push_back(l.substr(at + 4));
  bool sawDuplicate = false;
  for (std::size_t i = 1; i < received.size(); ++i) sawDuplicate |= received[i] == received[i - 1];
  EXPECT_TRUE(sawDuplicate);
  // Requests repeat, the file holds each line once.
  const auto requests = rig.memoryRequests();
  EXPECT_GT(requests.size(), 16u);
  const std::string content = rig.dir.read("site1a.qx1");
  const auto lines = datafile::splitLines(content);  // views into content
  ASSERT_EQ(lines.size(), 17u + 16u);
  for (std::size_t i = 18; i < lines.size(); ++i) EXPECT_NE(lines[i], lines[i - 1]);
}

// A clean download and one through many faults write the same bytes.
TEST(Download, ManyFaultsGiveTheSameFileAsACleanDownload) {
  struct Case {
    int resolution;
    char model;
    std::array<double, sim::kFaultKindCount> faults;
  };
  const std::vector<Case> cases = {
      // A duplicate or a noise line costs a request that the logger answers
      // on top; silence takes one back. More silence than both keeps the
      // answers in flight few, as on a real line.
      {12, '6', faultRates({{FaultKind::BadChecksum, 0.15}, {FaultKind::Silence, 0.15},
                            {FaultKind::Duplicate, 0.05}, {FaultKind::Short, 0.1},
                            {FaultKind::Garbage, 0.05}})},
      {10, '5', faultRates({{FaultKind::BadChecksum, 0.2}, {FaultKind::Silence, 0.15}})},
      {8, '5', faultRates({{FaultKind::BadChecksum, 0.2}, {FaultKind::Silence, 0.15}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resolution);
    sim::LoggerProfile p = rigProfile(c.resolution, c.model);
    p.flags = 0x09;
    p.pointer = 0x1234;
    p.bank = 'B';

    DownloadRig clean(p);
    clean.receive();
    DownloadRig faulty(p);
    faulty.faultsDuringDownload = c.faults;
    faulty.receive();

    EXPECT_GT(faulty.ctx().badLineTotal + faulty.ctx().timeoutTotal, 40u);
    EXPECT_GT(faulty.memoryRequests().size(), clean.memoryRequests().size());
    const std::string expected = clean.dir.read("site1a.qx1");
    EXPECT_GT(expected.size(), 30000u);
    EXPECT_TRUE(faulty.dir.read("site1a.qx1") == expected);
    EXPECT_EQ(faulty.observer.blocks, clean.observer.blocks);
    ASSERT_FALSE(faulty.prompter.messages.empty());
    EXPECT_EQ(faulty.prompter.messages.back().buttons, Buttons::YesNo) << faulty.prompter.messages.back().text;

  }
}

// ---------------------------------------------------------------------------
// Failure and abort keep an earlier file and leave no partial file.

TEST(Download, FiftyBadLinesEndTheTransferAndKeepTheEarlierFile) {
  DownloadRig rig(smallLogger(8));
  rig.dir.write("site1a.qx1", kEarlier);
  rig.faultsDuringDownload = faultRates({{FaultKind::BadChecksum, 1.0}});
  rig.receive();

  ASSERT_EQ(rig.prompter.messages.size(), 1u);
  EXPECT_EQ(rig.prompter.messages[0].text,
            "Transfer aborted; Excessive checksum errors; No data file created");
  EXPECT_EQ(rig.prompter.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(rig.memoryRequests().size(), 50u);
  EXPECT_EQ(rig.ctx().badLineTotal, 50u);
  ASSERT_EQ(rig.recorder.outcomes.size(), 1u);
  EXPECT_FALSE(rig.outcome().succeeded);
  EXPECT_EQ(rig.outcome().fileWritten, "");
  EXPECT_EQ(rig.outcome().badLines, 50u);
  EXPECT_EQ(rig.dir.read("site1a.qx1"), kEarlier);
  EXPECT_EQ(rig.filesInDir(), std::vector<std::string>{"site1a.qx1"});
  EXPECT_EQ(rig.ctx().state, link::LinkState::Idle);
}

TEST(Download, FiftyTimeOutsEndTheTransferAndKeepTheEarlierFile) {
  DownloadRig rig(smallLogger(8));
  rig.dir.write("site1a.qx1", kEarlier);
  rig.faultsDuringDownload = faultRates({{FaultKind::Silence, 1.0}});
  rig.receive();

  ASSERT_EQ(rig.prompter.messages.size(), 1u);
  EXPECT_EQ(rig.prompter.messages[0].text,
            std::string("TransferT arrêté; Pas de réponse de KALDO; Pas de fichier créé "_cp));
  EXPECT_EQ(rig.prompter.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(rig.memoryRequests().size(), 50u);
  EXPECT_EQ(rig.ctx().timeoutTotal, 50u);
  EXPECT_EQ(rig.outcome().timeouts, 50u);
  EXPECT_FALSE(rig.outcome().succeeded);
  EXPECT_EQ(rig.dir.read("site1a.qx1"), kEarlier);
  EXPECT_EQ(rig.filesInDir(), std::vector<std::string>{"site1a.qx1"});
}

TEST(Download, IsolatedErrorsNeverAddUpToTheLimit) {
  // Each good line starts the count again: 49 bad lines in a row at most.
  DownloadRig rig(smallLogger(8));
  rig.faultsDuringDownload = faultRates({{FaultKind::BadChecksum, 0.6}});
  rig.receive();
  EXPECT_GT(rig.ctx().badLineTotal, 16u);
  EXPECT_EQ(rig.observer.blocks, 16u);
  EXPECT_EQ(rig.prompter.messages.back().buttons, Buttons::YesNo);
}

TEST(Download, AbortErasesThePartialFileAndKeepsTheEarlierOne) {
  sim::LoggerProfile p = smallLogger(8);
  p.pointer = 0x8000;
  DownloadRig rig(p);
  rig.dir.write("site1a.qx1", kEarlier);
  rig.startReceive();
  for (int i = 0; i < 20000 && rig.observer.blocks < 5; ++i) rig.ticks.advance(1);
  ASSERT_EQ(rig.ctx().state, link::LinkState::AwaitData);
  EXPECT_TRUE(rig.observer.abortVisible);
  EXPECT_EQ(rig.filesInDir().size(), 2u) << "the partial file stands beside the earlier one";
  rig.engine.abort();
  EXPECT_FALSE(rig.download.running());
  rig.ticks.runUntilIdle(20000);

  ASSERT_EQ(rig.prompter.messages.size(), 1u);
  EXPECT_EQ(rig.prompter.messages[0].text,
            std::string("Transfert arrêté; Pas de fichier créé "_cp));
  EXPECT_EQ(rig.prompter.messages[0].kind, MessageKind::Information);
  EXPECT_LT(rig.memoryRequests().size(), 10u);
  EXPECT_FALSE(rig.ctx().abortRequested);
  ASSERT_EQ(rig.recorder.outcomes.size(), 1u);
  EXPECT_FALSE(rig.outcome().succeeded);
  EXPECT_EQ(rig.outcome().lastText(), rig.prompter.messages[0].text);
  EXPECT_EQ(rig.dir.read("site1a.qx1"), kEarlier);
  EXPECT_EQ(rig.filesInDir(), std::vector<std::string>{"site1a.qx1"});
}

TEST(Download, AbortOfASilentLoggerEndsThroughTheTimeOutRule) {
  DownloadRig rig(smallLogger(8));
  rig.startReceive();
  for (int i = 0; i < 20000 && rig.observer.blocks < 3; ++i) rig.ticks.advance(1);
  rig.twin.setFaults(faultRates({{FaultKind::Silence, 1.0}}), 1);
  rig.engine.abort();
  rig.ticks.runUntilIdle(100000);
  ASSERT_EQ(rig.prompter.messages.size(), 1u);
  EXPECT_EQ(rig.prompter.messages[0].text,
            std::string("TransferT arrêté; Pas de réponse de KALDO; Pas de fichier créé "_cp));
  EXPECT_TRUE(rig.filesInDir().empty());
}

// A target that cannot take the file (a folder that is not there, a folder
// of that name) is found before the first memory request, and named.
TEST(Download, AFileThatCannotBeCreatedStartsNothing) {
  const struct {
    const char* target;
    const char* reason;
    bool folderMade;
  } cases[] = {
      {"missing/site1a.qx1", "No such file or directory", false},
      {"site1a.qx1", "it is a folder", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    DownloadRig rig(smallLogger(8));
    if (c.folderMade) std::filesystem::create_directories(rig.dir / c.target);
    const std::string target = (rig.dir / c.target).string();
    rig.next.dataFileName = target;
    rig.receive();
    ASSERT_EQ(rig.prompter.messages.size(), 1u);
    EXPECT_EQ(rig.prompter.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(rig.prompter.messages[0].text, "Cannot write " + target + ": " + c.reason);
    EXPECT_TRUE(rig.memoryRequests().empty());
    EXPECT_EQ(rig.filesInDir().size(), c.folderMade ? 1u : 0u);
    EXPECT_EQ(rig.ctx().state, link::LinkState::Idle);
  }
}

// ---------------------------------------------------------------------------
// Unattended endings

TEST(Download, AnsweredCallLogsTheFileAndStartsTimer2) {
  DownloadRig rig(smallLogger(12));
  rig.settings.AutoExport = 1;
  rig.next.run.answeredCall = true;
  rig.faultsDuringDownload = faultRates({{FaultKind::BadChecksum, 0.2}, {FaultKind::Silence, 0.1}});
  rig.startReceive();
  rig.ticks.runUntilIdle(60000);

  EXPECT_TRUE(rig.prompter.messages.empty());
  ASSERT_EQ(rig.host.logEntries.size(), 1u);
  // The totals of bad lines and time-outs follow four blanks.
  const std::string prefix = "Rec. " + rig.dataFile().string() + "    ";
  const std::string& entry = rig.host.logEntries[0];
  ASSERT_EQ(entry.rfind(prefix, 0), 0u) << entry;
  const std::string totals = entry.substr(prefix.size());
  EXPECT_NE(totals.find(','), std::string::npos);
  EXPECT_EQ(totals.find_first_not_of("0123456789,"), std::string::npos) << totals;
  EXPECT_NE(totals, "0,0");
  const auto& c = rig.ctx();
  EXPECT_EQ(rig.followUps.exports.size(), 1u);
  // Thirty-six seconds later the configuration goes again.
  EXPECT_EQ(c.timer2Count, 36);
  EXPECT_FALSE(rig.trace.lines.empty());
  bool resent = false;
  for (const auto& l : rig.trace.lines) resent |= l.find("open SendSetup") != std::string::npos;
  EXPECT_TRUE(resent);
}

TEST(Download, AnsweredCallWithAFailedExportLogsFileError) {
  DownloadRig rig(smallLogger(8));
  rig.settings.AutoExport = 1;
  rig.followUps.failExport = true;
  rig.next.run.answeredCall = true;
  rig.receive(2000);
  ASSERT_EQ(rig.host.logEntries.size(), 1u);
  EXPECT_EQ(rig.host.logEntries[0], "Rec. " + rig.dataFile().string() + " FileError ");
}

TEST(Download, AnsweredCallWithTooManyBadLinesLogsAndHangsUp) {
  DownloadRig rig(smallLogger(8));
  rig.next.run.answeredCall = true;
  rig.faultsDuringDownload = faultRates({{FaultKind::BadChecksum, 1.0}});
  rig.receive();
  ASSERT_EQ(rig.host.logEntries.size(), 1u);
  auto pad = [](std::string s, std::size_t width) { return s + std::string(width - s.size(), ' '); };
  EXPECT_EQ(rig.host.logEntries[0], "Rec. aborted; excessive comm. errors: " +
                                        rig.dataFile().string() + "," + pad("Rig;site1", 31) + "," +
                                        pad("Air", 24) + "," + pad("Sol", 24) + "," +
                                        pad("Eau", 24) + "," + pad("Vent", 24));
  EXPECT_EQ(rig.host.autoAnswerHangUps, 1);
  EXPECT_FALSE(rig.ctx().linkUp);
  EXPECT_TRUE(rig.filesInDir().empty());
}

TEST(Download, CommandLineEndsWithLogAndQuit) {
  {
    DownloadRig rig(smallLogger(8));
    rig.next.run.commandLineReceive = true;
    rig.settings.AutoExport = 1;
    rig.receive();
    EXPECT_EQ(rig.host.quits,
              std::vector<std::string>{std::string("Transfert terminé: "_cp) + rig.dataFile().string()});
    EXPECT_EQ(rig.followUps.exports.size(), 1u);
    EXPECT_TRUE(rig.prompter.messages.empty());
  }
  {
    DownloadRig rig(smallLogger(8));
    rig.next.run.commandLineReceive = true;
    rig.faultsDuringDownload = faultRates({{FaultKind::BadChecksum, 1.0}});
    rig.receive();
    EXPECT_EQ(rig.host.quits, std::vector<std::string>{
                                  "Transfer aborted; Excessive checksum errors; No data file created"});
  }
  {
    DownloadRig rig(smallLogger(8));
    rig.next.run.commandLineReceive = true;
    rig.faultsDuringDownload = faultRates({{FaultKind::Silence, 1.0}});
    rig.receive();
    ASSERT_EQ(rig.host.quits.size(), 1u);
    EXPECT_EQ(rig.host.quits[0].rfind(std::string("TransferT arrêté; Pas de réponse de KALDO; Pas de "
                                                  "fichier créé  Rig;site1 "_cp),
                                      0),
              0u);
  }
}

}  // namespace
}  // namespace brevik::testing
