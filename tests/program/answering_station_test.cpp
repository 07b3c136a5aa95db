// A PC left answering site modems, in virtual time: the station serves each
// kind of call the virtual modem rings in with, logs one outcome for it,
// writes a data file exactly when the site had data, and waits again.

#include "program/answering_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "link/virtual_ticks.h"
#include "settings/home.h"
#include "sim/far_end.h"
#include "sim/logger_profile.h"
#include "sim/virtual_modem.h"
#include "sim/virtual_serial_port.h"
#include "support/temp_dir.h"

namespace brevik::program {
namespace {

using brevik::testing::TempDir;

const FixedClock kClock(DateTime{2024, 3, 5, 14, 7, 9, 0, 2});

constexpr std::string_view kSite =
    "modem = hayes\nring_after = 10\nmodel = 5\nresolution = 12\nrevision = q\nprotocol = normal\n"
    "baud = 9600\ndescriptions = Air|Sol|Eau|Pression\n";

struct Station {
  explicit Station(const std::string& profileText) {
    std::filesystem::create_directories(home);
    EXPECT_TRUE(settings::seedHome(home, brevik::testing::dataDir()));
    settings::LoggerSettings s;
    s.PortNumber = 1;
    s.BaudRate = 9600;
    s.UseModem = 1;
    s.AutoAnswer = 1;
    s.FastProtocol = 0;
    EXPECT_TRUE(settings::saveSettings(home, s));
    auto profile = sim::parseLoggerProfile(profileText, "site", home);
    EXPECT_TRUE(profile) << profile.error().message;
    farEnd = sim::makeFarEnd(std::move(*profile), kClock.now());
    port.attach(*farEnd);
    program = std::make_unique<Program>(home, kClock);
    station = std::make_unique<AnsweringStation>(port, ticks, *program,
                                                 [this](std::string_view line) { printed.emplace_back(line); });
  }
  ~Station() {
    station.reset();
    port.close();
  }

  // Runs until `calls` calls were served, within a day of virtual time.
  bool serve(std::uint64_t calls) {
    station->answer().enter();
    for (link::Ticks i = 0; i < 18 * 86400 && station->answer().callsServed() < calls; ++i) ticks.advance(1);
    return station->answer().callsServed() == calls;
  }
  // QXLOG.TXT's lines, the date and time cut off.
  std::vector<std::string> logMessages() const {
    std::vector<std::string> out;
    std::istringstream in(read("QXLOG.TXT"));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out.push_back(line);
    }
    return out;
  }
  std::vector<std::string> filesEnding(std::string_view ending) const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(home)) {
      const std::string name = e.path().filename().string();
      if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
        out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  std::vector<std::string> partialFiles() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root.path()))
      if (e.path().filename().string().find(".tmp-") != std::string::npos) out.push_back(e.path().string());
    return out;
  }

  std::string read(std::string_view name) const {
    std::ifstream in(home / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void write(std::string_view name, std::string_view content) const {
    std::ofstream(home / name, std::ios::binary) << content;
  }

  // The home is two folders down, so that a name climbing out of it would
  // still land in the test's own folder.
  TempDir root;
  std::filesystem::path home = root.path() / "site" / "home";
  link::VirtualTicks ticks;
  std::unique_ptr<sim::LineDevice> farEnd;
  sim::VirtualSerialPort port{ticks};
  std::unique_ptr<Program> program;
  std::unique_ptr<AnsweringStation> station;
  std::vector<std::string> printed;
};

struct CallCase {
  const char* calls;
  std::vector<std::string> logStarts;  // each log line starts so, in order
  std::vector<std::string> dataFiles;
};

class AnsweredCall : public ::testing::TestWithParam<CallCase> {};

TEST_P(AnsweredCall, LogsOneOutcomeWritesAFileOnlyWithDataAndWaitsAgain) {
  const CallCase c = GetParam();
  Station s(std::string(kSite) + "session = Well4;siteB\ncalls = " + c.calls + "\n");
  ASSERT_TRUE(s.serve(1));
  const auto log = s.logMessages();
  ASSERT_EQ(log.size(), c.logStarts.size()) << ::testing::PrintToString(log);
  for (std::size_t i = 0; i < log.size(); ++i)
    EXPECT_EQ(log[i].rfind(c.logStarts[i], 0), 0u) << log[i] << " / " << c.logStarts[i];
  EXPECT_EQ(s.printed.size(), log.size());
  EXPECT_EQ(s.filesEnding(".qx1"), c.dataFiles);
  EXPECT_TRUE(s.partialFiles().empty());
  EXPECT_EQ(s.station->answer().state(), AutoAnswerState::Waiting);
  EXPECT_FALSE(static_cast<const sim::VirtualModem&>(*s.farEnd).callUp());
  EXPECT_FALSE(s.station->engine().context().linkUp);
  EXPECT_FALSE(s.station->engine().context().autoAnswerCall());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, AnsweredCall,
    ::testing::Values(
        CallCase{"ok", {"Rec. siteB000001.qx1", "Sent siteB000001.qx1 "}, {"siteB000001.qx1"}},
        CallCase{"empty", {"Pas de donn", "Sent siteB000001.qx1 "}, {}},
        CallCase{"silent", {"No response from logger"}, {}},
        CallCase{"garbled", {"Rec. aborted; excessive comm. errors: siteB000001.qx1,Well4;siteB"}, {}},
        // The carrier is lost half-way through the download.
        CallCase{"drop:12", {"Rec. aborted; excessive comm. errors: siteB000001.qx1,Well4;siteB"}, {}}),
    [](const auto& param) {
      std::string name = param.param.calls;
      std::replace(name.begin(), name.end(), ':', '_');
      return name;
    });

TEST(AnsweringStation, ACallFailingHalfWayKeepsTheEarlierFileAndTheNextCallTakesANewName) {
  Station s(std::string(kSite) + "session = Well4;siteB\ncalls = drop:12, ok\n");
  s.write("siteB000001.qx1", "an earlier call");
  ASSERT_TRUE(s.serve(2));
  const auto log = s.logMessages();
  ASSERT_EQ(log.size(), 3u) << ::testing::PrintToString(log);
  EXPECT_EQ(log[0].rfind("Rec. aborted; excessive comm. errors: siteB000002.qx1,", 0), 0u) << log[0];
  EXPECT_EQ(log[1].rfind("Rec. siteB000003.qx1 ", 0), 0u) << log[1];
  EXPECT_EQ(log[2].rfind("Sent siteB000003.qx1 ", 0), 0u) << log[2];
  EXPECT_EQ(s.read("siteB000001.qx1"), "an earlier call");
  EXPECT_EQ(s.filesEnding(".qx1"), (std::vector<std::string>{"siteB000001.qx1", "siteB000003.qx1"}));
  EXPECT_TRUE(s.partialFiles().empty());
  EXPECT_EQ(settings::loadSettings(s.home).AutoFileCounter, 3u);
}

TEST(AnsweringStation, LeavingTheModeBetweenDownloadAndConfigurationClosesThePortAndSendsNothing) {
  Station s(std::string(kSite) + "session = Well4;siteB\ncalls = ok\n");
  s.station->answer().enter();
  for (link::Ticks i = 0; i < 18 * 600 && s.logMessages().empty(); ++i) s.ticks.advance(1);
  ASSERT_EQ(s.logMessages().size(), 1u);
  ASSERT_TRUE(s.station->engine().timer2Running());
  ASSERT_TRUE(s.port.isOpen());
  s.station->answer().leave();
  EXPECT_FALSE(s.port.isOpen());
  EXPECT_FALSE(s.station->engine().timer2Running());
  EXPECT_FALSE(s.station->engine().context().linkUp);
  s.ticks.advance(18 * 120);
  EXPECT_EQ(s.logMessages().size(), 1u);
  EXPECT_FALSE(s.port.isOpen());
  EXPECT_EQ(s.station->answer().callsServed(), 0u);
}

TEST(AnsweringStation, ASessionDescriptionNeverPutsTheDataFileOutsideTheHome) {
  Station s(std::string(kSite) + "session = Well4;../../escape\ncalls = ok\n");
  ASSERT_TRUE(s.serve(1));
  const auto written = s.filesEnding(".qx1");
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].find('/'), std::string::npos);
  EXPECT_EQ(s.logMessages().at(0).rfind("Rec. " + written[0], 0), 0u);
  std::size_t everywhere = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(s.root.path()))
    if (e.path().extension() == ".qx1") ++everywhere;
  EXPECT_EQ(everywhere, 1u);
}

}  // namespace
}  // namespace brevik::program
