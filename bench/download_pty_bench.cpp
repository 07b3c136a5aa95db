// A full bank downloaded in real time over a pseudo-terminal, against the
// line's own limit.
//
// The virtual logger runs on a pty host that paces every byte at the line
// rate (ten bits a byte, both ways); the program side is what `kaldo receive`
// runs: the link the kaldo commands assemble (QtSerialPort and
// QtTickScheduler on the device) and the same Receive exchange. One run is
// tens of seconds of wall time, which Google Benchmark's repetition model
// does not suit, so this is a program of its own:
//
//   brevik_download_bench [--baud 57600|9600|all] [--runs N] [--trace FILE]
//
// (--trace appends every run's exchange trace to FILE, each line after the
// milliseconds since the run's first.)
//
// For every run it prints the elapsed time from the first byte the program
// sends (the wake-up burst) to the data file written, the line's limit, and
// the difference spread over the reply lines. The limit is the character
// time of every byte that crossed the line, both ways, counted by the host,
// plus the part of the fast protocol's three-tick wait after the wake-up
// burst that the burst itself does not fill. The logger answers without the
// virtual logger's usual 20 ms of thought, so the limit is the wire alone.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "settings/home.h"
#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/link_assembly.h"
#include "cli/receive_exchange.h"
#include "common/clock.h"
#include "link/exchange_trace.h"
#include "sim/logger_profile.h"
#include "sim/pty_logger_host.h"
#include "sim/sim_time.h"

namespace {

using namespace brevik;
using SteadyClock = std::chrono::steady_clock;

// Three ticks of 1/18.2 s: the fast protocol's wait between the wake-up
// burst and the first command.
constexpr double kFastStartSeconds = 3 / 18.2;

// Every trace line with the moment it was written: the first byte sent and
// the end of the exchange are read from them. The trace is what a user's
// --trace would write; building it costs a microsecond or so a line.
class TimedTrace final : public link::TraceSink {
 public:
  struct Entry {
    SteadyClock::time_point at;
    std::string line;
  };
  void traceLine(std::string_view line) override { entries.push_back({SteadyClock::now(), std::string(line)}); }
  std::vector<Entry> entries;
};

// A KALDO with one bank of 8-bit memory, full: 336 lines of 96 bytes.
sim::LoggerProfile fullBankLogger(std::uint32_t baud) {
  sim::LoggerProfile p;
  p.model = '5';
  p.resolution = 8;
  p.revision = 'q';
  p.protocol = sim::WakeProtocol::Fast;
  p.baud = baud;
  p.types = "CCCC";
  p.pointer = 0x8000;
  p.bank = 'A';
  p.session = "Banc de mesure";
  p.replyDelayMs = 0;
  return p;
}

struct RunResult {
  bool ok = false;
  std::string failure;
  double elapsed = 0;       // seconds, first byte sent to file written
  double limit = 0;         // seconds
  std::uint64_t lines = 0;  // reply lines received
  std::uint64_t bytesOut = 0, bytesIn = 0;
  std::uint64_t fileLines = 0;
  double turnaround = 0;    // seconds, mean from a reply line taken to the next request sent
  std::vector<double> lineExcess;  // seconds beyond the wire, per request and reply, sorted
};

// Bytes a trace line's text stood for: \xNN is one.
std::size_t tracedBytes(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) i += (text[i] == '\\' && i + 4 <= text.size()) ? 4 : 1;
  return n;
}

// Per request and reply, from the trace: the time beyond the two lines' wire
// time, from the request handed to the port to the reply line taken; and the
// program's own turnaround, from a reply line taken (checked, before it is
// written) to the next request handed to the port.
void perLineFigures(const std::vector<TimedTrace::Entry>& entries, std::uint32_t baud, RunResult& r) {
  constexpr std::string_view kSent = "] > >", kReceived = "] < ";
  bool haveRequest = false, haveReply = false;
  SteadyClock::time_point requestAt{}, replyAt{};
  std::size_t requestBytes = 0;
  double turnaround = 0;
  int turns = 0;
  for (const auto& e : entries) {
    if (const auto s = e.line.find(kSent); s != std::string::npos) {
      if (haveReply) {
        turnaround += std::chrono::duration<double>(e.at - replyAt).count();
        ++turns;
      }
      haveRequest = true;
      haveReply = false;
      requestAt = e.at;
      requestBytes = tracedBytes(std::string_view(e.line).substr(s + kSent.size() - 1)) + 1;  // and CR
    } else if (const auto g = e.line.find(kReceived); g != std::string::npos && haveRequest) {
      const std::size_t replyBytes = tracedBytes(std::string_view(e.line).substr(g + kReceived.size())) + 1;
      const double wire = static_cast<double>(requestBytes + replyBytes) * 10.0 / baud;
      r.lineExcess.push_back(std::chrono::duration<double>(e.at - requestAt).count() - wire);
      haveRequest = false;
      haveReply = true;
      replyAt = e.at;
    }
  }
  std::sort(r.lineExcess.begin(), r.lineExcess.end());
  r.turnaround = turns ? turnaround / turns : 0;
}

// "wake 55 5x48 @57600" -> 240
std::optional<std::uint64_t> burstBytes(std::string_view traceLine) {
  const auto at = traceLine.find("> wake ");
  if (at == std::string_view::npos) return std::nullopt;
  unsigned byte = 0, run = 0, runs = 0, baud = 0;
  const std::string rest(traceLine.substr(at + 7));
  if (std::sscanf(rest.c_str(), "%x %ux%u @%u", &byte, &run, &runs, &baud) != 4) return std::nullopt;
  return std::uint64_t{run} * runs;
}

// Each trace line after the milliseconds since the first one.
void writeTimedTrace(const TimedTrace& trace, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (trace.entries.empty()) return;
  const auto t0 = trace.entries.front().at;
  for (const auto& e : trace.entries) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f ", std::chrono::duration<double, std::milli>(e.at - t0).count());
    out << stamp << e.line << "\n";
  }
  out << "\n";
}

RunResult runOnce(std::uint32_t baud, const std::filesystem::path& dir, const std::string& tracePath) {
  RunResult r;
  const auto home = dir / "home";
  std::filesystem::create_directories(home);
  if (!settings::seedHome(home, BREVIK_DATA_DIR)) {
    r.failure = "cannot seed the program home";
    return r;
  }
  settings::LoggerSettings settings;
  settings.FastProtocol = 1;  // the short wake-up: no four seconds of burst at either baud
  settings.BaudRate = baud;
  settings.AutoExport = 0;
  if (!settings::saveSettings(home, settings)) {
    r.failure = "cannot write the settings";
    return r;
  }

  auto host = sim::PtyLoggerHost::open(fullBankLogger(baud), SystemClock().now());
  if (!host.ok()) {
    r.failure = host.error().message;
    return r;
  }
  std::atomic<bool> stop{false};
  std::thread twin([&] { (void)(*host)->serve(stop); });

  std::ostringstream out, err;
  cli::Context ctx;
  ctx.home = home;
  ctx.out = &out;
  ctx.err = &err;
  cli::LinkOptions options;
  options.port = (*host)->devicePath();
  const SystemClock clock;
  TimedTrace trace;
  const auto dataFile = dir / "bank.qx1";
  int status = cli::kExitFailed;
  {
    cli::LinkAssembly link;
    if (const auto failed = cli::assembleLink(ctx, "receive", settings, options, clock, link)) {
      status = *failed;
    } else {
      status = cli::runReceiveExchange(ctx, settings, *link.driver, &trace, clock, dataFile.string());
    }
  }
  stop = true;
  twin.join();
  if (!tracePath.empty()) writeTimedTrace(trace, tracePath);

  if (status != cli::kExitOk) {
    r.failure = "the download failed: " + out.str() + err.str();
    return r;
  }
  // From the wake-up burst, the first byte on the line, to the last trace
  // line: the download's "Transfert terminé", once the file is closed.
  const auto first = std::find_if(trace.entries.begin(), trace.entries.end(),
                                  [](const TimedTrace::Entry& e) { return burstBytes(e.line).has_value(); });
  if (first == trace.entries.end()) {
    r.failure = "no wake-up burst in the trace";
    return r;
  }
  const auto end = std::find_if(trace.entries.rbegin(), trace.entries.rend(), [](const TimedTrace::Entry& e) {
    return e.line.find("Transfert termin") != std::string::npos;
  });
  if (end == trace.entries.rend()) {
    r.failure = "the trace does not report the file written";
    return r;
  }
  r.elapsed = std::chrono::duration<double>(end->at - first->at).count();
  perLineFigures(trace.entries, baud, r);

  const sim::LineTraffic& traffic = (*host)->traffic();
  const double burst = static_cast<double>(*burstBytes(first->line)) * 10.0 / baud;
  r.limit = traffic.wireSeconds + std::max(0.0, kFastStartSeconds - burst);
  r.lines = traffic.linesToProgram;
  r.bytesOut = traffic.bytesToTwin;
  r.bytesIn = traffic.bytesToProgram;

  std::ifstream file(dataFile, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) ++r.fileLines;
  r.ok = true;
  return r;
}

double quantile(const std::vector<double>& sorted, double q) {
  if (sorted.empty()) return 0;
  return sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5)];
}

void printRun(std::uint32_t baud, int run, const RunResult& r) {
  if (!r.ok) {
    std::printf("%6u  %3d  FAILED: %s\n", baud, run, r.failure.c_str());
    return;
  }
  const double lines = static_cast<double>(std::max<std::uint64_t>(r.lines, 1));
  const double over = r.elapsed - r.limit;
  std::printf("%6u  %3d  %5llu  %8.3f  %8.3f  %6.3f  %7.2f  %6.3f %5.1f%%  %6.3f  %6.3f  %6.3f\n", baud, run,
              static_cast<unsigned long long>(r.lines), r.limit, r.elapsed, over, 1000 * r.limit / lines,
              1000 * over / lines, 100 * over / r.limit, 1000 * quantile(r.lineExcess, 0.5),
              1000 * quantile(r.lineExcess, 0.9), 1000 * r.turnaround);
}

int usage() {
  std::fprintf(stderr, "usage: brevik_download_bench [--baud 57600|9600|all] [--runs N] [--trace FILE]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::uint32_t> bauds{57600, 9600};
  int runs = 1;
  std::string tracePath;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--baud" && i + 1 < argc) {
      const std::string v = argv[++i];
      if (v == "all") bauds = {57600, 9600};
      else if (v == "57600") bauds = {57600};
      else if (v == "9600") bauds = {9600};
      else return usage();
    } else if (a == "--runs" && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
      if (runs < 1 || runs > 100) return usage();
    } else if (a == "--trace" && i + 1 < argc) {
      tracePath = argv[++i];
    } else {
      return usage();
    }
  }

  const auto root = std::filesystem::temp_directory_path() /
                    ("brevik-download-bench-" + std::to_string(SteadyClock::now().time_since_epoch().count()));
  std::printf("One full bank (8-bit, 336 lines of 96 bytes) from the virtual logger on a pty,\n"
              "fast protocol, every byte paced at 10 bits. Times in seconds unless marked.\n\n");
  std::printf("                   whole download (s)          per line (ms)\n");
  std::printf("  baud  run  lines     limit   elapsed    over     wire    over (share)  median     p90    turn\n");
  int failures = 0;
  for (const std::uint32_t baud : bauds) {
    for (int run = 1; run <= runs; ++run) {
      const auto dir = root / (std::to_string(baud) + "-" + std::to_string(run));
      const RunResult r = runOnce(baud, dir, tracePath);
      printRun(baud, run, r);
      std::fflush(stdout);
      if (!r.ok) ++failures;
      else if (r.fileLines < 336) {
        std::printf("        the data file holds %llu lines, fewer than the bank's 336\n",
                    static_cast<unsigned long long>(r.fileLines));
        ++failures;
      }
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  std::printf(
      "\nlimit: the character time of every byte both ways (wake-up burst included) plus\n"
      "what the 3-tick wait after the burst adds; elapsed: from the burst to the file\n"
      "written; over = elapsed - limit. Per line: wire = limit / reply lines; over =\n"
      "the whole overhead shared out; median, p90: of each request's and reply's time\n"
      "beyond their wire time; turn: the program's own time from a reply line taken\n"
      "to the next request sent. The rest is the way through pty, kernel and event loop.\n");
  return failures == 0 ? 0 : 1;
}
