#pragma once
// The auto-answer soak: `kaldo answer` in-process on a virtual modem whose
// sites call in one after the other with every kind of call, counted
// afterwards from what the run left in its home. The suite runs a short one;
// tools/answer-soak.sh runs a thousand calls and prints the figures.
// Header-only, so that the tool and the command-line tests share it without
// the test support library depending on kaldo's commands.

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#if defined(__linux__)
#include <unistd.h>
#endif

#include "cli/command.h"

namespace brevik::soak {

// Every kind of call the virtual modem rings in with, and what serving it
// leaves: log lines, and whether a data file is written.
struct CallKind {
  std::string_view call;
  int logLines;
  bool data;
};
inline constexpr std::array<CallKind, 6> kCallKinds = {{
    {"ok", 2, true},          // "Rec. ..." and, 36 s later, "Sent ..."
    {"empty", 2, false},      // "Pas de données ..." and "Sent ..."
    {"silent", 1, false},     // no answer to the wake-up
    {"garbled", 1, false},    // every reply has a bad checksum
    {"drop:12", 1, false},    // the carrier is lost half-way through the download
    {"busy-site", 0, false},  // rings and never connects: no call is served
}};

struct SoakPlan {
  std::string profile;  // the virtual modem and its sites
  std::uint64_t served = 0;
  std::uint64_t logLines = 0;
  std::uint64_t callsWithData = 0;
};

// The kinds in turn until `served` calls will have been served.
inline SoakPlan soakPlan(std::uint64_t served) {
  SoakPlan plan;
  plan.profile =
      "modem = hayes\nring_after = 10\nmodel = 5\nresolution = 12\nrevision = q\nprotocol = normal\n"
      "baud = 9600\nsession = Soak;site\ndescriptions = Air|Sol|Eau|Pression\ncalls = ";
  for (std::size_t i = 0; plan.served < served; ++i) {
    const CallKind& kind = kCallKinds[i % kCallKinds.size()];
    if (i > 0) plan.profile += ", ";
    plan.profile += kind.call;
    if (kind.call == "busy-site") continue;
    ++plan.served;
    plan.logLines += static_cast<std::uint64_t>(kind.logLines);
    if (kind.data) ++plan.callsWithData;
  }
  plan.profile += "\n";
  return plan;
}

struct ProcessFigures {
  long openFds = -1;  // -1 where the system does not say
  long residentKb = -1;
};

inline ProcessFigures processFigures() {
  ProcessFigures f;
#if defined(__linux__)
  std::error_code ec;
  long fds = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
    ++fds;
  if (!ec) f.openFds = fds - 1;  // the iterator's own descriptor
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  if (statm >> pages >> resident) f.residentKb = resident * (sysconf(_SC_PAGESIZE) / 1024);
#endif
  return f;
}

// Counts the lines written to it and keeps none.
class LineCounter final : public std::streambuf {
 public:
  std::uint64_t lines = 0;

 protected:
  int_type overflow(int_type c) override {
    if (c == '\n') ++lines;
    return traits_type::not_eof(c);
  }
};

struct SoakResult {
  SoakPlan plan;
  int status = -1;
  std::uint64_t logLines = 0;      // in QXLOG.TXT
  std::uint64_t printedLines = 0;  // on standard output
  std::uint64_t dataFiles = 0;     // .qx1 files in the home
  std::uint64_t partialFiles = 0;  // files a download left half-written
  ProcessFigures start, end;
  double seconds = 0;
  std::string errors;  // what kaldo said on standard error

  bool goalsMet() const {
    return status == cli::kExitOk && logLines == plan.logLines && printedLines == plan.logLines &&
           dataFiles == plan.callsWithData && partialFiles == 0 && end.openFds == start.openFds;
  }
};

// Runs `kaldo answer --calls N` in `home` (created; it should be empty)
// against the plan's modem and counts what it left.
inline SoakResult runAnswerSoak(const std::filesystem::path& home, std::uint64_t calls,
                                const std::filesystem::path& executableDir) {
  SoakResult r;
  r.plan = soakPlan(calls);
  std::filesystem::create_directories(home);
  std::ofstream(home / "soak.logger", std::ios::binary) << r.plan.profile;
  std::ostringstream quiet, errors;
  const auto kaldo = [&](std::vector<std::string> args, std::ostream& out) {
    args.insert(args.begin(), {"--home", home.string()});
    return cli::runKaldo(args, executableDir, out, errors);
  };
  if (kaldo({"settings", "UseModem=1", "AutoAnswer=1", "FastProtocol=0", "BaudRate=9600"}, quiet) != cli::kExitOk) {
    r.errors = errors.str();
    return r;
  }
  LineCounter counter;
  std::ostream printed(&counter);
  r.start = processFigures();
  const auto began = std::chrono::steady_clock::now();
  r.status = kaldo({"answer", "--port", "sim:" + (home / "soak.logger").string(), "--calls", std::to_string(calls)},
                   printed);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  r.end = processFigures();
  r.errors = errors.str();
  r.printedLines = counter.lines;
  std::ifstream log(home / "QXLOG.TXT", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++r.logLines;
  for (const auto& e : std::filesystem::directory_iterator(home)) {
    const std::string name = e.path().filename().string();
    if (e.path().extension() == ".qx1") ++r.dataFiles;
    if (name.find(".tmp-") != std::string::npos) ++r.partialFiles;
  }
  return r;
}

}  // namespace brevik::soak
