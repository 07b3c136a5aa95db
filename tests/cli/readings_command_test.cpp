// kaldo readings against the virtual logger in-process (virtual time), and
// the CSV line of one reading.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <regex>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_readings.h"
#include "cli/kaldo_run.h"
#include "cli/stop_request.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;
using kaldo_test::KaldoRun;
using kaldo_test::lines;

void normalLinkAt9600(const TempDir& home) {
  settings::LoggerSettings s;
  s.FastProtocol = 0;
  s.BaudRate = 9600;
  s.PortNumber = 1;
  ASSERT_TRUE(settings::saveSettings(home.path(), s));
}

// Channels 1, 2 and 4 on, channel 2 of type '0'; revision `revision`.
std::string threeChannelProfile(char revision) {
  return std::string("revision = ") + revision + "\nchannels = 0x0B\ntypes = C0C3\n";
}

std::size_t tracedCount(const std::string& trace, const std::string& part) {
  const auto t = lines(trace);
  return static_cast<std::size_t>(
      std::count_if(t.begin(), t.end(), [&](const std::string& l) { return l.find(part) != l.npos; }));
}

TEST(KaldoReadings, PrintsOneLinePerReadingAndEndsTheReadingsAsTheDesktopDoes) {
  const std::string stamp = R"(\d\d/\d\d/\d{4},\d\d:\d\d:\d\d)";
  const std::string value = R"(-?\d+\.\d\d\d? Deg [CF])";
  struct Case {
    std::string name;
    std::string port;  // "@": a profile of the home with the text `profile`
    std::string profile;
    std::vector<std::string> args;
    int status;
    std::size_t lines;
    std::string shape;   // every line of standard output
    bool endsByWakeUp;   // the trace shows the EndRealTime wake-up
    std::string said;    // the message on standard error
  };
  const Case cases[] = {
      // A fresh home reaches the shipped default logger.
      {"default logger", "sim", "", {"--count", "5"}, kExitOk, 5,
       stamp + "(," + value + "){3},-?\\d+\\.\\d{3}", false, ""},
      {"asked for each reading", "@", threeChannelProfile('q'), {"--count=3"}, kExitOk, 3,
       stamp + "," + value + ",OFF,-?\\d+\\.\\d{3}", false, ""},
      // Old firmware streams after "Z" and is stopped by a wake-up.
      {"streaming logger", "@", threeChannelProfile('o'), {"--count", "4"}, kExitOk, 4,
       stamp + "," + value + ",OFF,-?\\d+\\.\\d{3}", true, "! Real Time Link terminated"},
      {"no real time below O", "sim:mt610-old", "", {"--count", "2"}, kExitFailed, 0, "", false,
       "! Real Time mode not supported in this logger"},
      {"silent logger", "@", "faults = silence:1\n", {"--count", "2"}, kExitFailed, 0, "", false,
       "! Pas de réponse de KALDO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir home;
    if (c.port != "sim") normalLinkAt9600(home);
    std::vector<std::string> args = c.args;
    args.push_back("--trace");
    args.push_back("--port=" + (c.port == "@" ? "sim:" + home.write("logger.logger", c.profile).string() : c.port));

    const KaldoRun r = kaldo_test::runKaldoCommand(home, "readings", args);
    EXPECT_EQ(r.status, c.status) << r.err;
    const auto printed = lines(r.out);
    ASSERT_EQ(printed.size(), c.lines) << r.out;
    for (const std::string& l : printed) EXPECT_TRUE(std::regex_match(l, std::regex(c.shape))) << l;
    EXPECT_EQ(tracedCount(r.err, "* open EndRealTime"), c.endsByWakeUp ? 1u : 0u) << r.err;
    if (c.endsByWakeUp) {
      // The wake-up comes after the readings, and the link is closed then.
      EXPECT_LT(r.err.find("> >Z"), r.err.find("* open EndRealTime"));
      EXPECT_EQ(tracedCount(r.err.substr(r.err.find("* open EndRealTime")), "> wake 55"), 1u) << r.err;
    }
    if (!c.said.empty()) {
      const auto said = lines(r.err);
      EXPECT_EQ(std::count_if(said.begin(), said.end(), [&](auto& l) { return l.rfind(c.said, 0) == 0; }), 1)
          << r.err;
    }
    EXPECT_EQ(r.out.find("! "), std::string::npos) << "messages stay off standard output";
  }
}

// Standard output that presses Ctrl+C once it holds `stopAt` lines.
class InterruptingOutput final : public std::streambuf {
 public:
  explicit InterruptingOutput(int stopAt) : stopAt_(stopAt) {}
  std::string text;

 private:
  int overflow(int c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    text += static_cast<char>(c);
    if (c == '\n' && ++lines_ == stopAt_) requestStop();
    return c;
  }
  int stopAt_;
  int lines_ = 0;
};

TEST(KaldoReadings, CtrlCEndsTheReadingsCleanly) {
  struct Case {
    char revision;
    bool onStandardError;  // pressed at the first progress line, before any reading
    int status;
    std::size_t readings;
    bool endsByWakeUp;
    std::string said;
  };
  const Case cases[] = {
      {'q', false, kExitOk, 3, false, ""},
      {'o', false, kExitOk, 3, true, "! Real Time Link terminated"},
      // Nothing streams yet: the link is only closed.
      {'o', true, kExitFailed, 0, false, "kaldo readings: stopped before the readings began"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.revision) + (c.onStandardError ? " while opening" : ""));
    TempDir home;
    normalLinkAt9600(home);
    const auto profile = home.write("logger.logger", threeChannelProfile(c.revision));
    InterruptingOutput interrupting(c.onStandardError ? 1 : 3);
    std::ostringstream plain;
    std::ostream interrupted(&interrupting);
    std::ostream& out = c.onStandardError ? static_cast<std::ostream&>(plain) : interrupted;
    std::ostream& err = c.onStandardError ? interrupted : static_cast<std::ostream&>(plain);
    // A count far beyond the interruption only keeps a broken stop from
    // running for ever.
    const int status = runKaldo({"--home", home.path().string(), "readings", "--count", "1000", "--trace",
                                 "--port=sim:" + profile.string()},
                                home.path() / "bin", out, err);
    const std::string printed = c.onStandardError ? plain.str() : interrupting.text;
    const std::string said = c.onStandardError ? interrupting.text : plain.str();
    EXPECT_EQ(status, c.status) << said;
    EXPECT_EQ(lines(printed).size(), c.readings) << printed;
    EXPECT_EQ(tracedCount(said, "* open EndRealTime"), c.endsByWakeUp ? 1u : 0u) << said;
    const auto saidLines = lines(said);
    EXPECT_EQ(std::count(saidLines.begin(), saidLines.end(), c.said), c.said.empty() ? 0 : 1) << said;
    EXPECT_FALSE(stopRequested()) << "the request ends with the command";
  }
}

TEST(KaldoReadings, BadUsage) {
  TempDir home;
  const std::vector<std::vector<std::string>> bad = {
      {"--count", "0"}, {"--count", "x"}, {"--count"}, {"--count", "-1"}, {"--count=2x"},
      {"--count", "99999999999999999999999"}, {"extra"}, {"--port"}};
  for (const auto& args : bad) {
    SCOPED_TRACE(args.front() + (args.size() > 1 ? " " + args[1] : ""));
    const KaldoRun r = kaldo_test::runKaldoCommand(home, "readings", args);
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("usage: kaldo readings"), std::string::npos) << r.err;
  }
}

TEST(ReadingsCsvLine, StampThenTheValueTextOfEachChannelThatIsOn) {
  struct Case {
    bool dayFirst;
    std::uint8_t channelBits;
    std::array<std::string, 4> texts;
    std::string line;
  };
  const DateTime now{2024, 3, 7, 9, 5, 4, 250, 4};
  const Case cases[] = {
      {false, 0x0F, {"  21.50 Deg C", "OFF", " Open", "  1.250 V"},
       "03/07/2024,09:05:04,21.50 Deg C,OFF,Open,1.250 V"},
      {true, 0x0F, {"  21.50 Deg C", "OFF", " Open", "  1.250 V"},
       "07/03/2024,09:05:04,21.50 Deg C,OFF,Open,1.250 V"},
      {false, 0x0A, {"   1.00 %RH", "   2.00 %RH", "   3.00 %RH", "   4.00 %RH"},
       "03/07/2024,09:05:04,2.00 %RH,4.00 %RH"},
      {false, 0x00, {"1", "2", "3", "4"}, "03/07/2024,09:05:04"},
      // Unit texts come from descriptions: a comma or a quote is quoted.
      {false, 0x03, {"  5.000 m,s", "  6.000 \"x\""}, "03/07/2024,09:05:04,\"5.000 m,s\",\"6.000 \"\"x\"\"\""},
      {false, 0x01, {"     ", "", "", ""}, "03/07/2024,09:05:04,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    protocol::LoggerStatus status;
    status.channelBits = c.channelBits;
    protocol::ReadingUpdate reading;
    reading.texts = c.texts;
    EXPECT_EQ(readingsCsvLine(now, c.dayFirst, status, reading), c.line);
  }
}

}  // namespace
}  // namespace brevik::cli
