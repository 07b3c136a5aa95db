#pragma once
// A Receive exchange end to end in virtual time: the real exchange engine,
// the real status reply flow and decode, the memory download, and the
// virtual logger on a virtual serial line.

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "engine_harness.h"
#include "link/download_session.h"
#include "link/exchange_engine.h"
#include "link/status_reply_flow.h"
#include "link/virtual_ticks.h"
#include "protocol/channel_tables.h"
#include "protocol/status_decode.h"
#include "sim/logger_twin.h"
#include "sim/memory_image.h"
#include "sim/virtual_serial_port.h"
#include "support/scripted_observer.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace brevik::testing {

inline DateTime rigTime() {
  DateTime t;
  t.year = 2003;
  t.month = 6;
  t.day = 3;
  t.hour = 10;
  t.weekday = 2;
  return t;
}

class RecordingFollowUps final : public link::DownloadFollowUps {
 public:
  Status exportDataFile(const std::string& name) override {
    exports.push_back(name);
    if (failExport) return makeError(ErrorKind::Io, "export failed");
    return {};
  }
  void showGraph(const std::string& name) override { graphs.push_back(name); }

  bool failExport = false;
  std::vector<std::string> exports;
  std::vector<std::string> graphs;
};

// A logger whose channels are linear (no table files needed).
inline sim::LoggerProfile rigProfile(int resolution, char model = '5') {
  sim::LoggerProfile p;
  p.resolution = resolution;
  p.model = model;
  p.revision = 'q';
  p.baud = 9600;
  p.types = "3333";
  p.records = {"   0.0 100.0", "   0.0 100.0", "   0.0 100.0", "   0.0 100.0"};
  p.descriptions = {"Air", "Sol", "Eau", "Vent"};
  p.session = "Rig;site1";
  return p;
}

struct DownloadRig : link::StatusReplySteps {
  explicit DownloadRig(sim::LoggerProfile profile) : twin(std::move(profile), rigTime()) {
    settings.BaudRate = 9600;
    settings.FastProtocol = 0;
    settings.AutoExport = 0;
    port.attach(twin);
    engine.setTraceSink(&trace);
    engine.setStatusReplyHandler(&flow);
    engine.setDownloadSession(&download);
    download.setFollowUps(&followUps);
    next.dataFileName = dataFile().string();
  }

  // ---- StatusReplySteps ----
  protocol::StatusDecodeResult decode(std::string_view reply) override {
    protocol::StatusSettings s;
    s.fahrenheit = false;
    s.twelveHourClock = settings.TwelveHourClock != 0;
    s.lastRevision = settings.LastRevision;
    return protocol::decodeStatusReply(reply, s, clock, protocol::homeTableReader(dataDir()));
  }
  void fillStatusForm(const protocol::LoggerStatus&) override {}
  void showStatusForm() override {}
  std::optional<std::string> csvFileName() const override { return std::nullopt; }
  Status appendReadingsLine(const std::string&, const protocol::LoggerStatus&) override { return {}; }
  std::string autoAnswerFileName(const protocol::LoggerStatus&) override { return dataFile().string(); }
  Status startDownload(const protocol::LoggerStatus& status) override {
    if (faultsDuringDownload) twin.setFaults(*faultsDuringDownload, faultSeed);
    return download.start(status);
  }

  const link::LinkContext& ctx() const { return engine.context(); }
  const link::ExchangeOutcome& outcome() const { return recorder.last(); }
  std::filesystem::path dataFile() const { return dir / "site1a.qx1"; }

  // Starts a Receive exchange with what the test put in `next`.
  void startReceive() {
    next.kind = link::ExchangeKind::Receive;
    link::ExchangeRequest request = next;
    engine.start(std::move(request), recorder.callback());
  }
  // Runs a whole Receive exchange.
  void receive(link::Ticks limit = 200000) {
    startReceive();
    ticks.runUntilIdle(limit);
  }

  // Framed commands as they went out (">" + text, without CR).
  std::vector<std::string> frames() const {
    std::vector<std::string> out;
    for (const auto& l : trace.lines) {
      const auto at = l.find("] > >");
      if (at != std::string::npos) out.push_back(l.substr(at + 4));
    }
    return out;
  }
  std::vector<std::string> memoryRequests() const {
    std::vector<std::string> out;
    for (const auto& f : frames())
      if (f.rfind(">D", 0) == 0 && f.substr(3, 4) != "01D0") out.push_back(f);
    return out;
  }

  // Names in the directory, sorted.
  std::vector<std::string> filesInDir() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  link::VirtualTicks ticks;
  FixedClock clock{rigTime()};
  sim::LoggerTwin twin;
  sim::VirtualSerialPort port{ticks};
  ScriptedObserver observer;
  ScriptedPrompter prompter;
  RecordingHost host;
  settings::LoggerSettings settings;
  link::ExchangeEngine engine{{port, ticks, observer, prompter, host}, settings};
  link::StatusReplyFlow flow{engine, *this};
  link::MemoryDownload download{engine, observer, clock};
  RecordingFollowUps followUps;
  TraceLines trace;
  link::ExchangeRequest next;
  OutcomeRecorder recorder;
  std::optional<std::array<double, sim::kFaultKindCount>> faultsDuringDownload;
  std::uint64_t faultSeed = 7;
};

inline std::array<double, sim::kFaultKindCount> faultRates(
    std::initializer_list<std::pair<sim::FaultKind, double>> list) {
  std::array<double, sim::kFaultKindCount> rates{};
  for (const auto& [kind, rate] : list) rates[static_cast<std::size_t>(kind)] = rate;
  return rates;
}

}  // namespace brevik::testing
