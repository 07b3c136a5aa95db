#include "sim/logger_profile.h"

#include <gtest/gtest.h>

#include "settings/logger_settings.h"
#include "support/temp_dir.h"

namespace brevik::sim {
namespace {

using brevik::testing::TempDir;

Result<LoggerProfile> parse(std::string_view text, const std::filesystem::path& dir = ".") {
  return parseLoggerProfile(text, "test.logger", dir);
}

TEST(LoggerProfile, EmptyProfileGivesTheDefaults) {
  const auto p = parse("");
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p->model, '5');
  EXPECT_EQ(p->resolution, 12);
  EXPECT_EQ(p->revision, 'q');
  EXPECT_EQ(p->protocol, WakeProtocol::Normal);
  EXPECT_EQ(p->effectiveWakeAnswer(), WakeAnswer::ReplyByte);
  EXPECT_EQ(p->effectiveIdent(), "Kq");
  EXPECT_EQ(p->baud, 9600u);
  EXPECT_EQ(p->address, 0);
  EXPECT_EQ(p->types, "CCCC");
  EXPECT_EQ(p->pointer, 0x0800);
  EXPECT_FALSE(p->rawStatus.has_value());
  EXPECT_EQ(p->faultRate(FaultKind::BadChecksum), 0.0);
  EXPECT_EQ(p->replyDelayMs, 20u);
}

TEST(LoggerProfile, ReadsEveryKey) {
  TempDir dir;
  dir.write("mem.bin", std::string(100, '\x5A'));
  dir.write("raw.txt", "RAWSTATUS\r\n");
  const auto p = parse(
      "# a comment line\n"
      "model = 6\n"
      "resolution = 10   # trailing comment\n"
      "revision = N\n"
      "protocol = fast\n"
      "wakeup = letter\n"
      "baud = 19200\n"
      "ident = \" Kq \"\n"
      "address = 0x0C\n"
      "rate = G\n"
      "flags = 0x11\n"
      "channels = 47\n"
      "inputs = 0x249\n"
      "types = AB3X\n"
      "records = A|B|   0.0 100.0|c\n"
      "descriptions = Un|Deux|Trois|Quatre\n"
      "session = Site nord\n"
      "pointer = 0x1234\n"
      "bank = C\n"
      "phase = 7\n"
      "memory = mem.bin\n"
      "signal = constant 300\n"
      "readings = 0102030405FF\n"
      "battery = 200\n"
      "clock = 0015100306A303\n"
      "first = 0000100206A203\n"
      "stop = 0000100306A303\n"
      "schedule = 9830073300\n"
      "status = raw.txt\n"
      "faults = badsum:0.5, silence:0.25,garbage:1,dup:0,short:0.1,longident:1,reject:0.75\n"
      "seed = 42\n"
      "reply_delay = 0\n",
      dir.path());
  ASSERT_TRUE(p.ok()) << p.error().message;
  EXPECT_EQ(p->model, '6');
  EXPECT_EQ(p->resolution, 10);
  EXPECT_EQ(p->revision, 'N');
  EXPECT_EQ(p->protocol, WakeProtocol::Fast);
  EXPECT_EQ(p->effectiveWakeAnswer(), WakeAnswer::LetterHandshake);
  EXPECT_EQ(p->baud, 19200u);
  EXPECT_EQ(p->effectiveIdent(), " Kq ");
  EXPECT_EQ(p->address, 12);
  EXPECT_EQ(p->rate, 'G');
  EXPECT_EQ(p->flags, 0x11);
  EXPECT_EQ(p->channels, 47);
  EXPECT_EQ(p->inputs, 0x249);
  EXPECT_EQ(p->types, "AB3X");
  EXPECT_EQ(p->records[2], "   0.0 100.0");
  EXPECT_EQ(p->descriptions[3], "Quatre");
  EXPECT_EQ(p->session, "Site nord");
  EXPECT_EQ(p->pointer, 0x1234);
  EXPECT_EQ(p->bank, 'C');
  EXPECT_EQ(p->phase, 7);
  EXPECT_EQ(p->memoryImage, std::string(100, '\x5A'));
  EXPECT_EQ(p->signal.kind, SignalShape::Kind::Constant);
  EXPECT_EQ(p->signal.value, 300);
  EXPECT_EQ(p->readings, "0102030405FF");
  EXPECT_EQ(p->battery, 200);
  EXPECT_EQ(p->clock, "0015100306A303");
  EXPECT_EQ(p->schedule, "9830073300");
  EXPECT_EQ(p->rawStatus, "RAWSTATUS");
  EXPECT_EQ(p->faultRate(FaultKind::BadChecksum), 0.5);
  EXPECT_EQ(p->faultRate(FaultKind::Silence), 0.25);
  EXPECT_EQ(p->faultRate(FaultKind::Garbage), 1.0);
  EXPECT_EQ(p->faultRate(FaultKind::Short), 0.1);
  EXPECT_EQ(p->faultRate(FaultKind::LongIdent), 1.0);
  EXPECT_EQ(p->faultRate(FaultKind::RejectStatus), 0.75);
  EXPECT_EQ(p->seed, 42u);
  EXPECT_EQ(p->replyDelayMs, 0u);
}

TEST(LoggerProfile, OldRevisionsAnswerWithTheLetterHandshake) {
  const auto p = parse("revision = H\n");
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p->effectiveWakeAnswer(), WakeAnswer::LetterHandshake);
  EXPECT_EQ(parse("revision = I\n")->effectiveWakeAnswer(), WakeAnswer::ReplyByte);
  EXPECT_EQ(parse("ident =\n")->effectiveIdent(), "");
}

TEST(LoggerProfile, ErrorsNameTheLineAndTheProblem) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"model = 5\nflavour = mint\n", "test.logger:2: unknown key 'flavour'"},
      {"\n\nresolution = 11\n", "test.logger:3: resolution: expected 8, 10 or 12"},
      {"just words\n", "test.logger:1: expected key = value"},
      {"protocol = slow\n", "test.logger:1: protocol: expected normal or fast"},
      {"address = 256\n", "test.logger:1: address: expected a number from 0 to 255"},
      {"flags = 0xZZ\n", "test.logger:1: flags:"},
      {"types = CCC\n", "test.logger:1: types: expected four type code characters"},
      {"records = A|B|C\n", "test.logger:1: records: expected four channel records"},
      {"records = A|B|C|D|E\n", "test.logger:1: records: expected four channel records"},
      {"descriptions = a|b|c|1234567890123456789012345\n", "test.logger:1: descriptions: a channel description holds at most 24"},
      {"pointer = 0x0100\n", "test.logger:1: pointer:"},
      {"bank = E\n", "test.logger:1: bank:"},
      {"readings = 12345\n", "test.logger:1: readings:"},
      {"readings = 0102030405fg\n", "test.logger:1: readings:"},
      {"battery = 13\n", "test.logger:1: battery: a battery reading of 13 would end"},
      {"reply_delay = 1001\n", "test.logger:1: reply_delay: expected milliseconds from 0 to 1000"},
      {"clock = 123\n", "test.logger:1: clock:"},
      {"faults = badsum\n", "test.logger:1: faults: fault 'badsum' needs a rate"},
      {"faults = lightning:0.1\n", "test.logger:1: faults: unknown fault 'lightning'"},
      {"faults = dup:2\n", "test.logger:1: faults: fault rate of 'dup' must be a number from 0 to 1"},
      {"baud = 1000\n", "test.logger:1: baud:"},
      {"signal = square\n", "test.logger:1: signal:"},
      {"memory = missing.bin\n", "test.logger:1: memory: cannot read memory file 'missing.bin'"},
      {"status = missing.txt\n", "test.logger:1: status: cannot read status file"},
      {"ident = \"open\n", "test.logger:1: unterminated quote"},
  };
  for (const auto& c : cases) {
    const auto p = parse(c.text);
    ASSERT_FALSE(p.ok()) << c.text;
    EXPECT_EQ(p.error().kind, ErrorKind::InvalidData);
    EXPECT_EQ(p.error().message.rfind(c.expected, 0), 0u) << p.error().message;
  }
}

TEST(LoggerProfile, MemoryLargerThanFourBanksIsRefused) {
  TempDir dir;
  dir.write("big.bin", std::string(4 * kBankBytes + 1, '\0'));
  const auto p = parse("memory = big.bin\n", dir.path());
  ASSERT_FALSE(p.ok());
  EXPECT_NE(p.error().message.find("larger than four banks"), std::string::npos);
}

TEST(LoggerProfile, EveryShippedProfileLoads) {
  const auto dir = brevik::testing::dataDir() / "sim";
  for (const char* name : {"default", "normal-9600", "kaldo5-12bit", "kaldo6-8bit", "mt610-old", "mt53-rev-n",
                           "network-station12", "hayes-modem", "site-calls", "loopback"}) {
    const auto path = findLoggerProfile(name, dir);
    ASSERT_TRUE(path.ok()) << name;
    const auto p = loadLoggerProfile(*path);
    EXPECT_TRUE(p.ok()) << name << ": " << (p.ok() ? "" : p.error().message);
  }
  EXPECT_EQ(loadLoggerProfile(*findLoggerProfile("network-station12", dir))->address, 12);
  EXPECT_EQ(loadLoggerProfile(*findLoggerProfile("kaldo5-12bit", dir))->protocol, WakeProtocol::Fast);
  const auto normal = loadLoggerProfile(*findLoggerProfile("normal-9600", dir));
  EXPECT_EQ(normal->protocol, WakeProtocol::Normal);
  EXPECT_EQ(normal->baud, 9600u);
  EXPECT_TRUE(loadLoggerProfile(*findLoggerProfile("hayes-modem", dir))->modem.hayes);
  EXPECT_EQ(loadLoggerProfile(*findLoggerProfile("site-calls", dir))->modem.calls.size(), 6u);
  EXPECT_TRUE(loadLoggerProfile(*findLoggerProfile("loopback", dir))->modem.loopback);
}

// The bare `sim` is a newcomer's first port: it answers a fresh home's link settings.
TEST(LoggerProfile, TheDefaultProfileAnswersAFreshHome) {
  const settings::LoggerSettings fresh;
  const auto p = loadLoggerProfile(*findLoggerProfile("", brevik::testing::dataDir() / "sim"));
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p->protocol, fresh.FastProtocol != 0 ? WakeProtocol::Fast : WakeProtocol::Normal);
  EXPECT_EQ(p->baud, fresh.BaudRate);
}

TEST(LoggerProfile, FindsProfilesByPathOrShippedName) {
  TempDir dir;
  const auto own = dir.write("mine.logger", "model = 1\n");
  const auto shipped = brevik::testing::dataDir() / "sim";
  EXPECT_EQ(*findLoggerProfile(own.string(), shipped), own);
  EXPECT_EQ(findLoggerProfile("", shipped)->filename(), "default.logger");
  EXPECT_EQ(findLoggerProfile("mt610-old.logger", shipped)->filename(), "mt610-old.logger");
  const auto missing = findLoggerProfile("no-such-logger", shipped);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().kind, ErrorKind::NotFound);
  // A name with a directory part is never looked up among the shipped ones.
  EXPECT_FALSE(findLoggerProfile("../sim/default", shipped).ok());

  EXPECT_EQ(loadSimProfile("mt610-old", shipped)->revision, 'G');
  EXPECT_EQ(loadSimProfile("no-such-logger", shipped).error().kind, ErrorKind::NotFound);

  EXPECT_EQ(simProfileOfDevice("sim"), "");
  EXPECT_EQ(simProfileOfDevice("sim:mt610-old"), "mt610-old");
  EXPECT_FALSE(simProfileOfDevice("/dev/ttyS0").has_value());
}

TEST(LoggerProfile, LoadingAMissingFileIsAnError) {
  TempDir dir;
  const auto p = loadLoggerProfile(dir / "absent.logger");
  ASSERT_FALSE(p.ok());
  EXPECT_EQ(p.error().kind, ErrorKind::NotFound);
}

}  // namespace
}  // namespace brevik::sim
