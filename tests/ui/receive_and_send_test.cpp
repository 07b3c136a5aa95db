// The memory download from the main window and the command line, its abort,
// and the command-line send of a setup file, against the virtual logger.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "desktop_fixture.h"
#include "ui/t_graph.h"
#include "protocol/download_precheck.h"
#include "setup/setup_file.h"
#include "ui/desktop_view.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

// The lines of a data file that hold 12-bit memory data as received.
int dataLines(const std::string& content) {
  std::istringstream in(content);
  std::string line;
  int n = 0;
  while (std::getline(in, line))
    if (line.size() >= 160) ++n;
  return n;
}

std::vector<std::string> filesIn(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs an unattended run to its end; false when a window was ever shown.
bool runUnattended(Desktop& d, int limit = 4000) {
  d.desktop->start();
  bool windowSeen = d.desktop->anyWindowVisible();
  for (int i = 0; i < limit && d.quits == 0; ++i) {
    d.run(1);
    windowSeen = windowSeen || d.desktop->anyWindowVisible();
  }
  return !windowSeen;
}

TEST(Receive, FromTheMenuWritesTheFileAndOffersTheGraph) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.AutoExport = 1; });
  d.saveAnswer = QString::fromStdString((d.home / "site.qx1").string());
  d.trigger("DataFile1");
  ASSERT_EQ(d.ctx().kind, ExchangeKind::Receive);
  ui::TCommStatus& comm = d.desktop->commStatus();
  EXPECT_TRUE(comm.isVisible());
  EXPECT_TRUE(comm.findChild<QLabel*>("udaFile")->text().endsWith("site.qx1"));
  ASSERT_TRUE(d.runUntilIdle(20000));
  EXPECT_FALSE(comm.isVisible());

  const auto content = files::readAll(d.home / "site.qx1");
  ASSERT_TRUE(content.ok());
  const std::uint32_t blocks = d.session().download().blockCount();
  EXPECT_EQ(blocks, 38u);  // 12-bit lines of 96 bytes from 0x0200 up to the pointer 0x1000
  EXPECT_EQ(dataLines(*content), static_cast<int>(blocks));
  EXPECT_EQ(d.text(&comm, "BlockCountField"), QString::number(blocks));
  EXPECT_EQ(d.session().download().outcome(), link::DownloadOutcome::Written);

  // AutoExport, then the finish of an interactive receive; Yes shows the graph.
  EXPECT_TRUE(std::filesystem::exists(d.home / "site.csv"));
  const std::vector<std::string> texts = d.messageTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[0].find("site.csv saved to disk"), std::string::npos) << texts[0];
  EXPECT_EQ(texts[1], "Transfert terminé: site.qx1, Temps mis   : 0 seconds\r\rTrace Data?"_cp);
  EXPECT_EQ(d.prompter.messages[1].buttons, Buttons::YesNo);
  // The graph shows the new file and holds the main window until it closes.
  ui::TGraph& graph = d.desktop->graphWindow();
  EXPECT_TRUE(graph.isVisible());
  EXPECT_EQ(std::filesystem::path(graph.model().file().fileName).filename(), "site.qx1");
  EXPECT_FALSE(d.main().isEnabled());
  graph.close();
  EXPECT_TRUE(d.main().isEnabled());
}

TEST(Receive, NoToTraceDataOpensNothing) {
  Desktop d;
  d.prompter.answers = {Answer::No};
  d.saveAnswer = QString::fromStdString((d.home / "site.qx1").string());
  d.trigger("DataFile1");
  ASSERT_TRUE(d.runUntilIdle(20000));
  EXPECT_EQ(d.messageTexts().size(), 1u);  // AutoExport is off
  EXPECT_TRUE(std::filesystem::exists(d.home / "site.qx1"));
  EXPECT_FALSE(std::filesystem::exists(d.home / "site.csv"));
  EXPECT_FALSE(d.desktop->graphWindow().isVisible());
}

TEST(Receive, EmptyMemoryIsSaidAndNoFileWritten) {
  TempDir profiles;
  auto text = files::readAll(dataDir() / "sim" / "kaldo5-12bit.logger");
  ASSERT_TRUE(text.ok());
  std::string profile = *text;
  profile.replace(profile.find("pointer = 0x1000"), 16, "pointer = 0x0200");
  const auto path = profiles.write("empty.logger", profile);
  for (const bool commandLine : {false, true}) {
    Desktop d(commandLine ? std::vector<std::string>{"site.qx1", "r", "0", "0"} : std::vector<std::string>{},
              path.string());
    const std::string expected = protocol::precheckMessage(protocol::PrecheckResult{
        protocol::PrecheckOutcome::MemoryEmpty, {}, {}});
    ASSERT_FALSE(expected.empty());
    if (commandLine) {
      EXPECT_TRUE(runUnattended(d));
      EXPECT_EQ(d.log().rfind(expected, 0), 0u) << d.log();
      EXPECT_TRUE(d.prompter.messages.empty());
    } else {
      d.saveAnswer = QString::fromStdString((d.home / "site.qx1").string());
      d.trigger("DataFile1");
      ASSERT_TRUE(d.runUntilIdle(20000));
      EXPECT_EQ(d.messageTexts(), std::vector<std::string>{expected});
    }
    EXPECT_FALSE(std::filesystem::exists(d.home / "site.qx1"));
    EXPECT_EQ(d.session().download().outcome(), link::DownloadOutcome::NotFinished);
  }
}

TEST(Receive, CancelledDialogStartsNothing) {
  Desktop d;
  d.trigger("DataFile1");
  EXPECT_EQ(d.ctx().kind, ExchangeKind::None);
  EXPECT_FALSE(d.desktop->commStatus().isVisible());
}

TEST(Receive, AbortDropsThePartialFileAndKeepsTheEarlierOne) {
  Desktop d;
  (void)d.home.write("site.qx1", "earlier download");
  const std::vector<std::string> before = filesIn(d.home.path());
  d.saveAnswer = QString::fromStdString((d.home / "site.qx1").string());
  d.trigger("DataFile1");
  ui::TCommStatus& comm = d.desktop->commStatus();
  auto* abort = comm.findChild<QPushButton*>("AbortBtn");
  ASSERT_NE(abort, nullptr);
  for (int i = 0; i < 20000 && d.session().download().blockCount() < 5; ++i) d.run(1);
  ASSERT_TRUE(d.session().download().running()) << "the download ended before it could be aborted";
  ASSERT_TRUE(abort->isVisible());
  ASSERT_TRUE(abort->isEnabled());
  EXPECT_TRUE(comm.findChild<QWidget*>("BlockCountField")->isVisible());
  EXPECT_EQ(d.text(&comm, "BlockCountField"), QString::number(d.session().download().blockCount()));
  abort->click();
  ASSERT_TRUE(d.runUntilIdle(20000));

  EXPECT_EQ(d.session().download().outcome(), link::DownloadOutcome::Aborted);
  EXPECT_LT(d.session().download().blockCount(), 38u);
  EXPECT_EQ(d.messageTexts(), std::vector<std::string>{std::string("Transfert arrêté; Pas de fichier créé "_cp)});
  EXPECT_EQ(d.home.read("site.qx1"), "earlier download");
  EXPECT_EQ(filesIn(d.home.path()), before);  // no partial file left beside it
  EXPECT_FALSE(comm.isVisible());
  EXPECT_FALSE(abort->isVisible());
}

TEST(Receive, CommandLineWritesTheFileAndItsLogLineWithoutAWindow) {
  Desktop d({"site.qx1", "r", "0", "0"});
  EXPECT_TRUE(runUnattended(d));
  EXPECT_EQ(d.quits, 1);
  EXPECT_TRUE(d.prompter.messages.empty());
  const std::string log = d.log();
  EXPECT_EQ(log.rfind("Transfert terminé: site.qx1 "_cp, 0), 0u) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  const auto content = files::readAll(d.home / "site.qx1");
  ASSERT_TRUE(content.ok());
  EXPECT_EQ(dataLines(*content), 38);
  ASSERT_TRUE(d.desktop->program().quitRequest().has_value());
  EXPECT_FALSE(d.desktop->program().quitRequest()->saveSettings);
}

TEST(Receive, CommandLineAutoExportWritesTheCsvBesideTheLog) {
  Desktop d({"site.qx1", "r", "0", "0"}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.AutoExport = 1; });
  EXPECT_TRUE(runUnattended(d));
  EXPECT_EQ(d.quits, 1);
  // The data file was found where it was written: the export has its rows.
  const auto csv = files::readAll(d.home / "site.csv");
  ASSERT_TRUE(csv.ok());
  EXPECT_GT(std::count(csv->begin(), csv->end(), '\n'), 38);
  // A successful export adds nothing to the run's one log line.
  const std::string log = d.log();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_EQ(log.rfind("Transfert terminé: site.qx1 "_cp, 0), 0u) << log;
}

// ---------------------------------------------------------------------------
// s: the command-line send

std::filesystem::path writeSetup(Desktop& d, const std::string& name, const std::function<void(setup::LoggerConfiguration&)>& change = {}) {
  auto record = setup::readSetupFile(dataDir() / "default.set");
  if (!record) throw std::runtime_error(record.error().message);
  if (change) change(*record);
  const auto path = d.home / name;
  if (auto written = setup::writeSetupFile(path, *record); !written) throw std::runtime_error(written.error().message);
  return path;
}

// Whether the trace shows the port opened or anything sent.
bool linkUsed(const std::vector<std::string>& trace) {
  return std::any_of(trace.begin(), trace.end(), [](const std::string& l) {
    return l.find("] > ") != std::string::npos || l.find("] * open") != std::string::npos;
  });
}

TEST(SendSetup, CommandLineSendsTheFileAndLogsTheNewConfiguration) {
  Desktop d({"site.set", "s", "0", "0"});
  writeSetup(d, "site.set", [](setup::LoggerConfiguration& c) { c.setSessionDescription("Sent from the command line"); });
  EXPECT_TRUE(runUnattended(d));
  EXPECT_EQ(d.quits, 1);
  EXPECT_TRUE(d.prompter.messages.empty());
  const std::string log = d.log();
  EXPECT_EQ(log.rfind("Running new configuration: site.set ", 0), 0u) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  // The program's one Logger Configuration is the file's, as the setup window holds it.
  const setup::SetupDocument& document = d.desktop->program().setup();
  EXPECT_EQ(document.form.fileNameLabel, "site.set");
  EXPECT_EQ(document.current.sessionDescription().rfind("Sent from the command line", 0), 0u);
  // Every message of the configuration command went out.
  EXPECT_TRUE(linkUsed(d.trace.lines));
  for (const char* part : {"> >2", "> >3", "> >4"})
    EXPECT_TRUE(std::any_of(d.trace.lines.begin(), d.trace.lines.end(),
                            [&](const std::string& l) { return l.find(part) != std::string::npos; }))
        << part;
}

TEST(SendSetup, CommandLineWithAMissingFileLogsAndSendsNothing) {
  Desktop d({"gone.set", "s", "0", "0"});
  EXPECT_TRUE(runUnattended(d));
  EXPECT_EQ(d.quits, 1);
  const std::string log = d.log();
  EXPECT_EQ(log.rfind("Impossible d'envoi  ; gone.set not found ", 0), 0u) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_FALSE(d.port.isOpen());
  EXPECT_FALSE(linkUsed(d.trace.lines));
}

TEST(SendSetup, CommandLineCheckThatStopsTheSendEndsTheRun) {
  Desktop d({"fast.set", "s", "0", "0"});
  // Ten readings a second on a ring memory: refused before the link opens.
  writeSetup(d, "fast.set", [](setup::LoggerConfiguration& c) {
    c.setRateCode('8');
    c.setModeByte(1);
  });
  EXPECT_TRUE(runUnattended(d));
  EXPECT_EQ(d.quits, 1);
  const std::string log = d.log();
  EXPECT_EQ(log.rfind("Mauvaise config", 0), 0u) << log;
  EXPECT_EQ(log.find("Running new configuration"), std::string::npos);
  EXPECT_FALSE(linkUsed(d.trace.lines));
}

}  // namespace
}  // namespace brevik::testing
